#pragma once
// The text of the cell routines' fatal messages: a heading followed by the nine elements of a
// matrix in storage order, as three groups of 10 blanks, three F10.6 values and a separator.
#include <string>
#include <string_view>

#include "geometry/cell_state.hpp"

namespace vorlane::geometry {

std::string tensor_message(std::string_view heading, const Mat3& m, char separator);

}  // namespace vorlane::geometry
