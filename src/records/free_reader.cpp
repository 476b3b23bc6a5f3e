// Free-format (list-directed) reading.
//
// Items are separated by blanks (TAB and CR count as blanks), or by one comma or semicolon
// with optional blanks around it. A comma where an item should start is a null value. The
// separator after an item is only consumed when the next item is asked for, so the text
// after the last value taken is never looked at.
#include "records/free_reader.hpp"

#include <string_view>
#include <type_traits>

#include "records/number_parse.hpp"

namespace vorlane::records {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool is_comma(char c) { return c == ',' || c == ';'; }

template <class T>
bool convert(std::string_view item, T& value) {
  if constexpr (std::is_same_v<T, int>) {
    return detail::parse_integer(item, value);
  } else {
    return detail::parse_real(item, 0, detail::RealSyntax::list_item, value);
  }
}

// "r*" or "r*v" with r an unsigned nonzero count: the count (0 when `item` is no repeat,
// -1 when it is a malformed one) and the repeated value in `rest`.
int repeat_count(std::string_view item, std::string_view& rest) {
  const std::size_t star = item.find('*');
  if (star == std::string_view::npos) return 0;
  if (star == 0) return -1;
  long r = 0;
  for (std::size_t i = 0; i < star; ++i) {
    const char c = item[i];
    if (c < '0' || c > '9') return -1;
    r = r * 10 + (c - '0');
    if (r > 1000000000L) return -1;
  }
  if (r == 0) return -1;
  rest = item.substr(star + 1);
  return static_cast<int>(r);
}

}  // namespace

template <class T>
ReadStatus FreeReader::read_value(T& value) {
  if (ended_) return ReadStatus::end;
  bad_ = {};
  if (repeat_left_ > 0) {
    --repeat_left_;
    if (repeat_item_.empty()) return ReadStatus::ok;  // a null value
    if (!convert(repeat_item_, value)) {
      bad_ = repeat_item_;
      return ReadStatus::bad;
    }
    return ReadStatus::ok;
  }
  const std::size_t n = text_.size();
  while (pos_ < n && is_blank(text_[pos_])) ++pos_;
  if (!first_item_ && pos_ < n && is_comma(text_[pos_])) {
    // The comma that ends the previous item.
    ++pos_;
    while (pos_ < n && is_blank(text_[pos_])) ++pos_;
  }
  // first_item_ true: no separator is pending, so a comma here stands for a null value
  // (at the start of the text, or right after a comma).
  first_item_ = true;
  if (pos_ >= n || text_[pos_] == '/') {
    ended_ = true;
    return ReadStatus::end;
  }
  if (is_comma(text_[pos_])) {
    ++pos_;  // a null value; the comma also separates it from the next item
    return ReadStatus::ok;
  }
  const std::size_t start = pos_;
  while (pos_ < n && !is_blank(text_[pos_]) && !is_comma(text_[pos_]) && text_[pos_] != '/') {
    ++pos_;
  }
  const std::string_view item = text_.substr(start, pos_ - start);
  first_item_ = false;
  std::string_view repeated;
  const int r = repeat_count(item, repeated);
  if (r < 0) {
    bad_ = item;
    return ReadStatus::bad;
  }
  if (r > 0) {
    repeat_item_ = repeated;
    repeat_left_ = r - 1;
    if (repeated.empty()) return ReadStatus::ok;  // r null values
    if (!convert(repeated, value)) {
      bad_ = item;
      repeat_left_ = 0;
      return ReadStatus::bad;
    }
    return ReadStatus::ok;
  }
  if (!convert(item, value)) {
    bad_ = item;
    return ReadStatus::bad;
  }
  return ReadStatus::ok;
}

ReadStatus FreeReader::read(int& value) { return read_value(value); }
ReadStatus FreeReader::read(float& value) { return read_value(value); }
ReadStatus FreeReader::read(double& value) { return read_value(value); }

}  // namespace vorlane::records
