#pragma once
// Free-format (list-directed) reading of numbers from a text: values separated by blanks or
// commas, a slash ends the list, "r*v" repeats a value, "r*" and an empty field between
// two commas are null values that leave the variable unchanged. Reading stops as soon as the
// values asked for are taken: text after them is never looked at.
#include <string_view>

#include "records/fixed_reader.hpp"

namespace vorlane::records {

class FreeReader {
 public:
  explicit FreeReader(std::string_view text) : text_(text) {}

  // ok: a value was stored, or a null value left `value` unchanged;
  // end: the text ran out or a slash ended the list (nothing stored, and every later read
  //      also returns end);
  // bad: the next item is not a number of the type (nothing stored). NaN and infinities are
  //      numbers here; callers that cannot use them must check.
  ReadStatus read(int& value);
  ReadStatus read(float& value);
  ReadStatus read(double& value);

  // The item that made the last read bad.
  std::string_view bad_item() const { return bad_; }
  // Position (0-based) of the next unread character.
  std::size_t position() const { return pos_; }

 private:
  template <class T> ReadStatus read_value(T& value);
  std::string_view text_;
  std::size_t pos_ = 0;
  bool ended_ = false;
  int repeat_left_ = 0;           // pending repeats of the last "r*v" or "r*"
  std::string_view repeat_item_;  // empty for a null repeat
  bool first_item_ = true;
  std::string_view bad_;
};

}  // namespace vorlane::records
