#include "symmetry/asind.hpp"

#include <cmath>

#include "symmetry/reflection_image.hpp"

namespace vorlane::symmetry {
namespace {

using Index = std::array<int, 3>;

// Image of x under operator n, times f, each component truncated toward zero.
Index truncated_image(const SpaceGroup& sg, int n, const Vec3& x, int f) {
  const Vec3 y = reflection_image(sg, n, x);
  return {static_cast<int>(std::trunc(static_cast<float>(f) * y[0])),
          static_cast<int>(std::trunc(static_cast<float>(f) * y[1])),
          static_cast<int>(std::trunc(static_cast<float>(f) * y[2]))};
}

struct Choice {
  Index k{};
  int isym = 0;
  bool boundary = false;
};

// The representative by the scan over the operators: the first strictly-inside image wins;
// when the first image met in the unit lies on its boundary, every boundary image of the
// reflection and (for a non-centrosymmetric group) of its Friedel mate, under all operators,
// is weighed against it.
Choice scan(const SpaceGroup& sg, const Vec3& h) {
  const int passes = 3 - sg.ICENTRIC;
  Vec3 x = h;
  int s = 1;
  Choice c;
  for (int pass = 1; pass <= passes; ++pass) {
    for (int n = 1; n <= sg.NSYMOP; ++n) {
      const Index k = truncated_image(sg, n, x, 1);
      const int in = INBOX(sg, k);
      if (in < 0) continue;
      c.k = k;
      c.isym = n * s;
      if (in == 1) return c;
      c.boundary = true;
      for (int m = 1; m <= sg.NSYMOP; ++m) {
        for (int fi = 0; fi < passes; ++fi) {
          const int f = fi == 0 ? 1 : -1;
          const Index l = truncated_image(sg, m, x, f);
          if (INBOX(sg, l) != 0 || l == c.k) continue;
          if (asind_prefers(l, c.k)) {
            c.k = l;
            c.isym = m * f * s;
          }
        }
      }
      return c;
    }
    x = Vec3{-x[0], -x[1], -x[2]};
    s = -1;
  }
  c.isym = 0;
  return c;
}

}  // namespace

void ASIND(const SpaceGroup& sg, const std::array<int, 3>& h, std::array<int, 3>& k, int& isym) {
  const Vec3 x{static_cast<float>(h[0]), static_cast<float>(h[1]), static_cast<float>(h[2])};
  Choice c = scan(sg, x);
  k = c.k;
  isym = c.isym;
  if (!c.boundary) return;

  // The boundary preference is not a total order, so the scan's answer can depend on which
  // member of an equivalence class it starts from. To give every member the same
  // representative, the scan is run from one member fixed by the class alone (its
  // lexicographically largest index triple); where the scan is already consistent this
  // changes nothing.
  const int passes = 3 - sg.ICENTRIC;
  Index start = truncated_image(sg, 1, x, 1);
  for (int m = 1; m <= sg.NSYMOP; ++m) {
    for (int fi = 0; fi < passes; ++fi) {
      const Index l = truncated_image(sg, m, x, fi == 0 ? 1 : -1);
      if (l > start) start = l;
    }
  }
  c = scan(sg, Vec3{static_cast<float>(start[0]), static_cast<float>(start[1]),
                    static_cast<float>(start[2])});
  k = c.k;
  // The operator code refers to the reflection as given: the first operator that takes it
  // to k, negative only when k can be reached from the Friedel mate alone.
  isym = 0;
  for (int fi = 0; fi < passes && isym == 0; ++fi) {
    const int f = fi == 0 ? 1 : -1;
    for (int m = 1; m <= sg.NSYMOP; ++m) {
      if (truncated_image(sg, m, x, f) == k) {
        isym = m * f;
        break;
      }
    }
  }
}

}  // namespace vorlane::symmetry
