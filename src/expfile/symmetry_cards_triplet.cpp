#include "expfile/symmetry_cards_triplet.hpp"

namespace vorlane::expfile {

void parse_triplet(std::string_view text, symmetry::Mat3& rot, symmetry::Vec3& trn) {
  rot = symmetry::Mat3{};
  trn = symmetry::Vec3{};
  std::size_t pos = 0;
  for (int row = 1; row <= 3; ++row) {
    float sign = 1.0f;
    int numerator = 0;
    int digit = 0;
    for (int n = 0; n < 20; ++n, ++pos) {
      const char ch = pos < text.size() ? text[pos] : ' ';
      if (ch == ',') {
        ++pos;
        break;
      }
      if (ch >= '1' && ch <= '6') {
        digit = ch - '0';
      } else if (ch == '/') {
        numerator = digit * static_cast<int>(sign);
      } else if (ch == 'X' || ch == 'Y' || ch == 'Z') {
        symmetry::elem(rot, row, ch - 'X' + 1) = sign;
      } else if (ch == '+') {
        sign = 1.0f;
      } else if (ch == '-') {
        sign = -1.0f;
      }
    }
    if (digit != 0) {
      trn[static_cast<std::size_t>(row - 1)] =
          static_cast<float>(numerator) / static_cast<float>(digit);
    }
  }
}

}  // namespace vorlane::expfile
