#include "symmetry/opsym.hpp"

#include <cmath>
#include <string>

#include "symmetry/numden.hpp"

namespace vorlane::symmetry {
namespace {

constexpr std::string_view DIGITS = "123456";

// One centring vector as printed in the position listing.
void centring_line(const Vec3& v, std::string_view mark, records::PrintFile& prt) {
  std::string parts[3];
  bool fractions = true;
  for (int i = 0; i < 3; ++i) {
    int num = 0;
    int den = 0;
    int code = 1;
    NUMDEN(v[static_cast<std::size_t>(i)], num, den, code);
    if (code == 0) {
      parts[i] = " 0 ";
    } else if (code == 1 && num >= 1 && num <= 6 && den >= 1 && den <= 6) {
      parts[i] = std::string(1, DIGITS[static_cast<std::size_t>(num - 1)]) + "/" +
                 std::string(1, DIGITS[static_cast<std::size_t>(den - 1)]);
    } else {
      fractions = false;
    }
  }
  if (!fractions) {
    static const records::EditList layout("2X,F10.4,10X,F10.4,10X,F10.4,4X,A3");
    prt.put(layout, v[0], v[1], v[2], mark);
    return;
  }
  const std::string record = "  " + std::string(4, ' ') + parts[0] + std::string(13, ' ') +
                             std::string(4, ' ') + parts[1] + std::string(13, ' ') +
                             std::string(4, ' ') + parts[2] + std::string(4, ' ') +
                             std::string(mark);
  prt.write_record(record);
}

// A translation brought fully into [0, 1) for spelling it: any whole number of cells is
// removed, whatever the value (the operator itself keeps the translation as stored). A value
// that is not finite has no fraction to spell and is listed as none.
float unit_translation(float s) {
  if (!std::isfinite(s)) return 0.0f;
  float r = s - std::floor(s);
  if (!(r >= 0.0f && r < 1.0f)) r = 0.0f;  // rounding of a tiny negative value gives 1
  return r;
}

}  // namespace

void OPSYM(const SpaceGroup& sg, records::PrintFile& prt) {
  const bool reflections = sg.IMATMODE == 2;
  const std::string_view mark = sg.ICENTRIC == 2 ? " +-" : "  +";
  prt.write_record(" ");
  if (!reflections) {
    prt.write_record(" general equivalent positions are:");
    for (int c = 1; c <= sg.NCENVEC; ++c) centring_line(sg.CENVEC[static_cast<std::size_t>(c - 1)], mark, prt);
    prt.write_record(" ");
  } else {
    prt.write_record(std::string(" equivalent reflections are:") + std::string(mark) +
                     std::string(30, ' ') + "with relative phass 2pi times:");
  }
  const std::string_view letters = reflections ? "hkl" : "xyz";
  const int step = sg.ICENTRIC == 2 ? 2 : 1;
  for (int n = 1; n <= sg.NSYMOP; n += step) {
    const Mat3& r = sg.SYMROT[static_cast<std::size_t>(n - 1)];
    const Vec3& t = sg.SYMTRN[static_cast<std::size_t>(n - 1)];
    // Translation part: the operator's translation for positions; for reflections the phase
    // coefficients V with V·h = h'·t, where h' is the image listed on the line, i.e. the
    // row vector t times the stored reflection-form matrix.
    Vec3 v{};
    for (int i = 1; i <= 3; ++i) {
      float s = 0.0f;
      if (reflections) {
        for (int j = 1; j <= 3; ++j) s = s + t[static_cast<std::size_t>(j - 1)] * elem(r, j, i);
      } else {
        s = t[static_cast<std::size_t>(i - 1)];
      }
      v[static_cast<std::size_t>(i - 1)] = unit_translation(s);
    }
    std::string line = " ";
    std::string phase;
    for (int i = 1; i <= 3; ++i) {
      std::string field;
      const float vi = v[static_cast<std::size_t>(i - 1)];
      bool fraction = false;
      if (vi >= 0.00001f) {
        for (int d = 2; d <= 6; ++d) {
          const float a = static_cast<float>(d) * vi + 0.00005f;
          if (a - std::trunc(a) <= 0.0001f) {
            const int num = static_cast<int>(std::trunc(a));
            // A translation too small to be a fraction (numerator 0) is printed as none.
            if (num >= 1 && num <= d) {
              field = std::string(1, DIGITS[static_cast<std::size_t>(num - 1)]) + "/" +
                      std::string(1, DIGITS[static_cast<std::size_t>(d - 1)]);
              fraction = true;
            }
            break;
          }
        }
      }
      for (int j = 1; j <= 3; ++j) {
        const float e = elem(r, i, j);
        if (e == 0.0f) continue;
        char sign = e < 0.0f ? '-' : '+';
        if (sign == '+' && (field.empty() || (reflections && fraction && field.size() == 3))) {
          sign = ' ';
        }
        field += sign;
        field += letters[static_cast<std::size_t>(j - 1)];
      }
      field.resize(9, ' ');
      if (!reflections) {
        line += std::string(5, ' ') + field + std::string(6, ' ');
      } else {
        if (fraction) {
          phase += field.substr(0, 3);
          phase += letters[static_cast<std::size_t>(i - 1)];
          phase += '+';
          field = field.substr(3) + "   ";
        }
        line += std::string(5, ' ') + field.substr(0, 6) + std::string(6, ' ');
      }
    }
    if (reflections) {
      if (phase.empty()) {
        phase = "0";
      } else {
        phase.back() = ' ';
      }
      phase.resize(14, ' ');
      line += std::string(10, ' ') + phase.substr(0, 14);
    }
    prt.write_record(line);
  }
}

}  // namespace vorlane::symmetry
