#pragma once
// ASIND for the many reflections of one run. When every operator's rotation is a matrix of
// small whole numbers (as symmetry cards give), the images of an index triple are formed in
// integers: the single-precision products and sums ASIND forms are then exact, and so is its
// truncation, so every image, and with it every step of ASIND, is the same. Large indices
// and fractional rotations are left to ASIND itself.
#include <array>
#include <cstdint>
#include <vector>

#include "symmetry/space_group.hpp"

namespace vorlane::symmetry {

class RepresentativeSearch {
 public:
  explicit RepresentativeSearch(const SpaceGroup& sg);

  // The same k and isym as ASIND(sg, h, k, isym).
  void find(const std::array<int, 3>& h, std::array<int, 3>& k, int& isym) const;

 private:
  struct Choice {
    std::array<int, 3> k{};
    int isym = 0;
    bool boundary = false;
  };
  // The image of h under operator n, times f.
  std::array<int, 3> image(int n, const std::array<int, 3>& h, int f) const;
  Choice scan(const std::array<int, 3>& h) const;
  int inbox(const std::array<int, 3>& h) const;

  const SpaceGroup& sg_;
  bool integral_ = false;
  std::vector<std::array<int, 9>> rows_;  // operator n's rotation acting on h, row by row
  std::vector<std::array<std::int64_t, 4>> planes_;  // the asymmetric unit's planes
};

}  // namespace vorlane::symmetry
