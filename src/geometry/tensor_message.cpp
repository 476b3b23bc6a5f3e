#include "geometry/tensor_message.hpp"

#include "records/edit_list.hpp"

namespace vorlane::geometry {

std::string tensor_message(std::string_view heading, const Mat3& m, char separator) {
  // Layout: A, 3(10X, 3F10.6, separator)
  std::string text(heading);
  for (int group = 0; group < 3; ++group) {
    text += std::string(10, ' ');
    for (int k = 0; k < 3; ++k) text += records::format_F(m[group * 3 + k], 10, 6);
    text += separator;
  }
  return text;
}

}  // namespace vorlane::geometry
