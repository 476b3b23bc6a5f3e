// Synthetic single-crystal data sets for the benchmarks: a cell and a space group, unique
// reflections out to the resolution that gives the requested count at a redundancy of 4 to 20,
// Wilson-distributed intensities falling off with resolution over several decades, sigmas from
// counting statistics plus an instability term, a few outliers (too strong) and DAC-like dips
// (too weak), measured in random order as random symmetry equivalents.
//
// usage: gen_synthetic PREFIX NREFL [p21c|p212121|p-1] [SEED] [NUNIQUE]
// NUNIQUE sets the number of unique reflections (default NREFL / 12): measurements go round
// the unique reflections until NREFL are made.
// writes PREFIX.hkl (SHELX hkl with batch numbers), PREFIX.abs (Zezor abs), PREFIX.exp (a
// matching experiment file) and PREFIX_XDS_ASCII.HKL (the same measurements for other
// programs, e.g. gemmi merge).
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "records/edit_list.hpp"

namespace {

using Hkl = std::array<int, 3>;
using vorlane::records::format_F;
using vorlane::records::format_I;

struct Group {
  std::string name;
  int number;
  std::array<double, 6> cell;
  std::vector<std::string> symops;          // acting on positions, for the experiment file
  std::vector<std::array<int, 4>> unitin;   // asymmetric unit planes
  std::vector<std::array<int, 3>> signs;    // equivalents of (h, k, l): sign patterns
  bool (*absent)(const Hkl&);
};

bool p21c_absent(const Hkl& h) {
  return (h[1] == 0 && h[2] % 2 != 0) || (h[0] == 0 && h[2] == 0 && h[1] % 2 != 0);
}
bool p212121_absent(const Hkl& h) {
  const int zeros = (h[0] == 0) + (h[1] == 0) + (h[2] == 0);
  if (zeros != 2) return false;
  return (h[0] + h[1] + h[2]) % 2 != 0;
}
bool never_absent(const Hkl&) { return false; }

Group make_group(const std::string& name) {
  if (name == "p212121") {
    return {name, 19, {8.1, 11.3, 17.9, 90, 90, 90},
            {"X,Y,Z", "-X+1/2,-Y,Z+1/2", "-X,Y+1/2,-Z+1/2", "X+1/2,-Y+1/2,-Z"},
            {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}},
            {{1, 1, 1}, {-1, -1, 1}, {-1, 1, -1}, {1, -1, -1},
             {-1, -1, -1}, {1, 1, -1}, {1, -1, 1}, {-1, 1, 1}},
            p212121_absent};
  }
  if (name == "p-1") {
    return {name, 2, {7.1, 8.3, 9.6, 81.0, 77.0, 68.0}, {"X,Y,Z", "-X,-Y,-Z"},
            {{0, 0, 1, 0}}, {{1, 1, 1}, {-1, -1, -1}}, never_absent};
  }
  return {"p21c", 14, {10.2, 12.7, 15.3, 90, 101.5, 90},
          {"X,Y,Z", "-X,Y+1/2,-Z+1/2", "-X,-Y,-Z", "X,-Y+1/2,Z+1/2"},
          {{1, 0, 0, 0}, {0, 1, 0, 0}},
          {{1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}, {1, -1, 1}}, p21c_absent};
}

// Reciprocal metric of the cell (double precision).
std::array<double, 6> reciprocal_metric(const std::array<double, 6>& c) {
  const double d2r = M_PI / 180.0;
  const double ca = std::cos(c[3] * d2r), cb = std::cos(c[4] * d2r), cg = std::cos(c[5] * d2r);
  const double sa = std::sin(c[3] * d2r), sb = std::sin(c[4] * d2r), sg = std::sin(c[5] * d2r);
  const double v = c[0] * c[1] * c[2] * std::sqrt(1 - ca * ca - cb * cb - cg * cg + 2 * ca * cb * cg);
  const double as = c[1] * c[2] * sa / v, bs = c[0] * c[2] * sb / v, cs = c[0] * c[1] * sg / v;
  const double cas = (cb * cg - ca) / (sb * sg), cbs = (ca * cg - cb) / (sa * sg),
               cgs = (ca * cb - cg) / (sa * sb);
  return {as * as, bs * bs, cs * cs, 2 * bs * cs * cas, 2 * as * cs * cbs, 2 * as * bs * cgs};
}

double inv_d2(const std::array<double, 6>& g, const Hkl& h) {
  return g[0] * h[0] * h[0] + g[1] * h[1] * h[1] + g[2] * h[2] * h[2] + g[3] * h[1] * h[2] +
         g[4] * h[0] * h[2] + g[5] * h[0] * h[1];
}

Hkl apply(const std::array<int, 3>& s, const Hkl& h) { return {s[0] * h[0], s[1] * h[1], s[2] * h[2]}; }

// One representative per class: the largest equivalent (Friedel mates included).
Hkl canonical(const Group& g, const Hkl& h) {
  Hkl best = h;
  for (const auto& s : g.signs) {
    const Hkl m = apply(s, h);
    best = std::max({best, m, Hkl{-m[0], -m[1], -m[2]}});
  }
  return best;
}

struct Unique {
  Hkl h;
  double d;
};

std::vector<Unique> unique_reflections(const Group& g, std::size_t wanted) {
  const auto gs = reciprocal_metric(g.cell);
  // Reflections in a sphere of radius smax: its volume over the reciprocal cell's (taken from
  // the metric's diagonal, an upper bound), divided by the size of one class of equivalents.
  const double vstar = std::sqrt(gs[0] * gs[1] * gs[2]);
  const double per_class = static_cast<double>(g.signs.size());
  double smax = std::cbrt(3.0 * static_cast<double>(wanted) * per_class * vstar / (4.0 * M_PI)) * 1.15;
  std::vector<Unique> out;
  for (;;) {
    out.clear();
    const double dmin = 1.0 / smax;
    const int hmax = static_cast<int>(g.cell[0] / dmin) + 1;
    const int kmax = static_cast<int>(g.cell[1] / dmin) + 1;
    const int lmax = static_cast<int>(g.cell[2] / dmin) + 1;
    for (int h = -hmax; h <= hmax; ++h)
      for (int k = -kmax; k <= kmax; ++k)
        for (int l = -lmax; l <= lmax; ++l) {
          const Hkl x{h, k, l};
          if (x == Hkl{0, 0, 0}) continue;
          const double q = inv_d2(gs, x);
          if (q > smax * smax || canonical(g, x) != x) continue;
          out.push_back({x, 1.0 / std::sqrt(q)});
        }
    if (out.size() >= wanted) break;
    smax *= 1.1;
  }
  std::sort(out.begin(), out.end(), [](const Unique& a, const Unique& b) { return a.d > b.d; });
  out.resize(wanted);
  return out;
}

struct Measurement {
  Hkl h;
  float i;
  float sigma;
  float tth;
  int batch;
};

void write_line(std::ofstream& f, const std::string& s) {
  f.write(s.data(), static_cast<std::streamsize>(s.size()));
  f.put('\n');
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: gen_synthetic PREFIX NREFL [p21c|p212121|p-1] [SEED] [NUNIQUE]\n", stderr);
    return 2;
  }
  const std::string prefix = argv[1];
  const std::size_t n = static_cast<std::size_t>(std::stoull(argv[2]));
  const Group g = make_group(argc > 3 ? argv[3] : "p21c");
  std::mt19937_64 rng(argc > 4 ? std::stoull(argv[4]) : 20240601ull);
  const double wave = 0.71073;

  // Redundancy 4 to 20 (mean 12) sets the number of unique reflections unless it is given.
  const std::size_t nuniq =
      argc > 5 ? static_cast<std::size_t>(std::stoull(argv[5])) : n / 12;
  const std::vector<Unique> uniq = unique_reflections(g, std::max<std::size_t>(1, nuniq));
  // A given number of unique reflections keeps the spread of 16 around its own mean redundancy.
  const int mean_r = static_cast<int>(std::max<std::size_t>(1, n / std::max<std::size_t>(1, nuniq)));
  std::uniform_int_distribution<int> redundancy(argc > 5 ? std::max(1, mean_r - 8) : 4,
                                                argc > 5 ? mean_r + 8 : 20);
  std::exponential_distribution<double> wilson(1.0);
  std::normal_distribution<double> noise(0.0, 1.0);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::uniform_int_distribution<std::size_t> pick_op(0, g.signs.size() - 1);

  std::vector<Measurement> meas;
  meas.reserve(n);
  for (std::size_t u = 0; meas.size() < n; u = (u + 1) % uniq.size()) {
    const Unique& q = uniq[u];
    const double s = 0.5 / q.d;  // sin(theta)/lambda
    // Wilson statistics with an overall B of 2.5: intensities fall by decades with resolution.
    double itrue = g.absent(q.h) ? 0.0 : 4.0e4 * std::exp(-2.0 * 2.5 * s * s) * wilson(rng);
    itrue = std::min(itrue, 60000.0);
    const float tth = static_cast<float>(2.0 * std::asin(std::min(1.0, wave / (2.0 * q.d))) * 180.0 / M_PI);
    const int r = redundancy(rng);
    for (int j = 0; j < r && meas.size() < n; ++j) {
      const double sigma = std::sqrt(0.8 * itrue + 30.0) + 0.02 * itrue;
      double i = itrue + sigma * noise(rng);
      const double p = unit(rng);
      if (p < 0.003) i = itrue * (3.0 + 7.0 * unit(rng)) + 10.0 * sigma;  // outlier
      else if (p < 0.013) i = itrue * (0.05 + 0.45 * unit(rng));         // dip
      const Hkl h = apply(g.signs[pick_op(rng)], q.h);
      meas.push_back({h, static_cast<float>(std::min(i, 99999.0)),
                      static_cast<float>(sigma), tth, 0});
    }
  }
  std::shuffle(meas.begin(), meas.end(), rng);
  for (std::size_t i = 0; i < meas.size(); ++i) meas[i].batch = static_cast<int>(1 + i * 30 / meas.size());

  std::ofstream hkl(prefix + ".hkl", std::ios::binary);
  std::ofstream abs(prefix + ".abs", std::ios::binary);
  std::ofstream xds(prefix + "_XDS_ASCII.HKL", std::ios::binary);
  write_line(xds, "!FORMAT=XDS_ASCII    MERGE=FALSE    FRIEDEL'S_LAW=TRUE");
  write_line(xds, "!Generated by gen_synthetic");
  write_line(xds, "!SPACE_GROUP_NUMBER=" + format_I(g.number, 5));
  std::string cell = "!UNIT_CELL_CONSTANTS=";
  for (double c : g.cell) cell += format_F(c, 10, 3);
  write_line(xds, cell);
  write_line(xds, "!X-RAY_WAVELENGTH=" + format_F(wave, 10, 5));
  write_line(xds, "!NUMBER_OF_ITEMS_IN_EACH_DATA_RECORD=11");
  for (const char* item : {"H=1", "K=2", "L=3", "IOBS=4", "SIGMA(IOBS)=5", "XD=6", "YD=7",
                           "ZD=8", "RLP=9", "PEAK=10", "CORR=11"}) {
    write_line(xds, std::string("!ITEM_") + item);
  }
  write_line(xds, "!END_OF_HEADER");
  for (const Measurement& m : meas) {
    write_line(hkl, format_I(m.h[0], 4) + format_I(m.h[1], 4) + format_I(m.h[2], 4) +
                        format_F(m.i, 8, 2) + format_F(m.sigma, 8, 2) + format_I(m.batch, 4));
    // Zezor holds amplitudes: F = sqrt(I), sigma(F) = sigma(I) / 2F.
    const float f = m.i > 0.0f ? std::sqrt(m.i) : 0.0f;
    const float sf = f > 0.01f ? std::min(99.0f, m.sigma / 2.0f / f) : 1.0f;
    write_line(abs, format_I(m.h[0], 3) + format_I(m.h[1], 3) + format_I(m.h[2], 3) +
                        format_F(f, 10, 3) + format_F(sf, 6, 3) + format_F(0.0f, 10, 5) +
                        "    1     " + format_F(m.tth, 7, 2) + format_F(0.0f, 7, 2) +
                        format_F(0.0f, 7, 2) + format_F(0.0f, 7, 2));
    write_line(xds, format_I(m.h[0], 6) + format_I(m.h[1], 6) + format_I(m.h[2], 6) +
                        format_F(m.i, 12, 3) + format_F(m.sigma, 12, 3) +
                        "   100.0   100.0" + format_F(static_cast<float>(m.batch), 8, 1) +
                        "  1.0000  100  0");
  }
  write_line(hkl, format_I(0, 4) + format_I(0, 4) + format_I(0, 4) + format_F(0.0f, 8, 2) +
                      format_F(0.0f, 8, 2) + format_I(0, 4));
  write_line(xds, "!END_OF_DATA");

  std::ofstream exp(prefix + ".exp", std::ios::binary);
  write_line(exp, "TITLE  synthetic " + g.name + " " + std::to_string(n) + " reflections");
  std::string cellcard = "CELL  ";
  for (double c : g.cell) cellcard += format_F(c, 9, 4);
  write_line(exp, cellcard);
  write_line(exp, "WAVEL 1 " + format_F(wave, 8, 5));
  for (const std::string& op : g.symops) write_line(exp, "VORLAN SYMOP " + op);
  for (const auto& p : g.unitin) {
    write_line(exp, "VORLAN UNITIN " + format_I(p[0], 4) + format_I(p[1], 4) + format_I(p[2], 4) +
                        format_I(p[3], 4));
  }
  write_line(exp, "VORLAN OUTLIER SYMMETRY DAC");
  const bool ok = hkl.good() && abs.good() && xds.good() && exp.good();
  std::fprintf(stdout, "%s: %zu measurements of %zu unique reflections (%s)\n", prefix.c_str(),
               meas.size(), uniq.size(), g.name.c_str());
  return ok ? 0 : 1;
}
