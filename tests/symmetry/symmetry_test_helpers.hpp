#pragma once
// Helpers for the symmetry-library tests: a print file in memory and groups built by hand.
#include <sstream>
#include <string>
#include <vector>

#include "records/print_file.hpp"
#include "symmetry/space_group.hpp"

namespace vorlane::symmetry::test {

// A print file writing into a string; lines() gives the plain-text lines.
struct MemoryPrint {
  std::ostringstream out;
  records::PrintFile prt{out};
  std::vector<std::string> lines() const {
    std::vector<std::string> v;
    std::string s = out.str();
    std::size_t start = 0;
    while (start < s.size()) {
      const std::size_t end = s.find('\n', start);
      v.push_back(s.substr(start, end - start));
      if (end == std::string::npos) break;
      start = end + 1;
    }
    return v;
  }
};

// Row-major literal to the column-major storage.
inline Mat3 rows(float a11, float a12, float a13, float a21, float a22, float a23, float a31,
                 float a32, float a33) {
  return Mat3{a11, a21, a31, a12, a22, a32, a13, a23, a33};
}

// A group from explicit operators (slot 1 must be the identity), no closure.
inline SpaceGroup group_of(const std::vector<std::pair<Mat3, Vec3>>& ops, int icentric = 1) {
  SpaceGroup sg;
  for (std::size_t i = 0; i < ops.size(); ++i) {
    sg.SYMROT[i] = ops[i].first;
    sg.SYMTRN[i] = ops[i].second;
  }
  sg.NSYMOP = static_cast<int>(ops.size());
  sg.ICENTRIC = icentric;
  return sg;
}

inline std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

}  // namespace vorlane::symmetry::test
