#include "output/write_one_reflection_layouts.hpp"

#include <stdexcept>

namespace vorlane::output {

namespace {

constexpr int ZEZOR_D1 = ReflectionRecordLayouts::ZEZOR_F_WIDTH - 1;    // decimals 0..7
constexpr int ZEZOR_D2 = ReflectionRecordLayouts::ZEZOR_SIG_WIDTH - 1;  // decimals 0..3
constexpr int SHELX_D = ReflectionRecordLayouts::SHELX_WIDTH - 1;       // decimals 0..5

std::string zezor_layout(int d1, int d2) {
  return "(3I3,1X,F9." + std::to_string(d1) + ",1X,F5." + std::to_string(d2) +
         ",F10.5,I5,5X,4F7.2,I5)";
}

std::string shelx_layout(int d1, int d2) {
  return "(3I4,1X,F7." + std::to_string(d1) + ",1X,F7." + std::to_string(d2) + ")";
}

}  // namespace

ReflectionRecordLayouts::ReflectionRecordLayouts() {
  zezor_.reserve(ZEZOR_D1 * ZEZOR_D2);
  for (int d1 = 0; d1 < ZEZOR_D1; ++d1)
    for (int d2 = 0; d2 < ZEZOR_D2; ++d2) zezor_.emplace_back(zezor_layout(d1, d2));
  shelx_.reserve(SHELX_D * SHELX_D);
  for (int d1 = 0; d1 < SHELX_D; ++d1)
    for (int d2 = 0; d2 < SHELX_D; ++d2) shelx_.emplace_back(shelx_layout(d1, d2));
}

const records::EditList& ReflectionRecordLayouts::zezor(int d1, int d2) const {
  if (d1 < 0 || d1 >= ZEZOR_D1 || d2 < 0 || d2 >= ZEZOR_D2)
    throw std::out_of_range("decimals outside the Zezor output fields");
  return zezor_[static_cast<std::size_t>(d1 * ZEZOR_D2 + d2)];
}

const records::EditList& ReflectionRecordLayouts::shelx(int d1, int d2) const {
  if (d1 < 0 || d1 >= SHELX_D || d2 < 0 || d2 >= SHELX_D)
    throw std::out_of_range("decimals outside the SHELX output fields");
  return shelx_[static_cast<std::size_t>(d1 * SHELX_D + d2)];
}

}  // namespace vorlane::output
