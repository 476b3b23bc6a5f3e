// Parsing a layout string into a flat list of descriptors.
//
// Grammar (blanks outside literals are ignored, commas between items are optional, letters
// may be upper or lower case):
//   list  := item { [,] item }
//   item  := [r] "(" list ")" | [r] Iw[.m] | [r] Fw.d | [r] Ew.d[Ee] | [r] A[w]
//          | [n] X | [r] / | [r] "text" | [r] 'text'   (a doubled quote inside = one quote)
// Repeat groups are expanded once here, so writing never re-walks the nesting. A layout
// written with one pair of parentheses around everything, as Fortran formats are, is the
// same layout without them.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "records/edit_list.hpp"

namespace vorlane::records {

namespace {

constexpr int kMaxCount = 100000;      // bound on repeat counts and widths: catches typos early
constexpr double kMaxItems = 1000000;  // bound on the expanded list

class LayoutParser {
 public:
  explicit LayoutParser(std::string_view text) : s_(text) {}

  // Parses the whole layout into `out`; returns the reversion start.
  std::size_t parse_top(std::vector<Descriptor>& out) {
    std::size_t begin = 0;
    std::size_t end = s_.size();
    trim_outer_parentheses(begin, end);
    pos_ = begin;
    std::size_t reversion = 0;
    parse_list(out, end, /*top=*/true, reversion);
    if (pos_ != end) fail("unexpected character");
    return reversion;
  }

 private:
  [[noreturn]] void fail(const char* what) const {
    throw std::invalid_argument("edit list \"" + std::string(s_) + "\": " + what + " at position " +
                                std::to_string(pos_ + 1));
  }

  void skip_blanks(std::size_t end) {
    while (pos_ < end && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
  }

  // Index of the ')' that closes the '(' at `open`, or npos. Literals are skipped.
  std::size_t matching_paren(std::size_t open) const {
    int depth = 0;
    for (std::size_t i = open; i < s_.size(); ++i) {
      const char c = s_[i];
      if (c == '"' || c == '\'') {
        ++i;
        while (i < s_.size()) {
          if (s_[i] == c) {
            if (i + 1 < s_.size() && s_[i + 1] == c) {
              i += 2;
              continue;
            }
            break;
          }
          ++i;
        }
      } else if (c == '(') {
        ++depth;
      } else if (c == ')') {
        if (--depth == 0) return i;
      }
    }
    return std::string_view::npos;
  }

  void trim_outer_parentheses(std::size_t& begin, std::size_t& end) const {
    while (begin < end && (s_[begin] == ' ' || s_[begin] == '\t')) ++begin;
    while (end > begin && (s_[end - 1] == ' ' || s_[end - 1] == '\t')) --end;
    if (begin < end && s_[begin] == '(' && matching_paren(begin) == end - 1) {
      ++begin;
      --end;
    }
  }

  // An unsigned count or width; -1 when there are no digits here.
  int number(std::size_t end) {
    skip_blanks(end);
    if (pos_ >= end || s_[pos_] < '0' || s_[pos_] > '9') return -1;
    long v = 0;
    while (pos_ < end && s_[pos_] >= '0' && s_[pos_] <= '9') {
      v = v * 10 + (s_[pos_] - '0');
      if (v > kMaxCount) fail("number too large");
      ++pos_;
    }
    return static_cast<int>(v);
  }

  int required_number(std::size_t end, const char* what) {
    const int v = number(end);
    if (v < 0) fail(what);
    return v;
  }

  void append_repeated(std::vector<Descriptor>& out, const std::vector<Descriptor>& part,
                       int count) {
    if (static_cast<double>(part.size()) * count + static_cast<double>(out.size()) > kMaxItems) {
      fail("repeat groups expand to too many items");
    }
    for (int k = 0; k < count; ++k) out.insert(out.end(), part.begin(), part.end());
  }

  void parse_list(std::vector<Descriptor>& out, std::size_t end, bool top, std::size_t& reversion) {
    for (;;) {
      skip_blanks(end);
      while (pos_ < end && s_[pos_] == ',') {
        ++pos_;
        skip_blanks(end);
      }
      if (pos_ >= end || s_[pos_] == ')') return;
      parse_item(out, end, top, reversion);
    }
  }

  void parse_item(std::vector<Descriptor>& out, std::size_t end, bool top, std::size_t& reversion) {
    const std::size_t item_pos = pos_;
    const int count = number(end);
    if (count == 0) fail("zero repeat count");
    const int repeat = count < 0 ? 1 : count;
    skip_blanks(end);
    if (pos_ >= end) fail("count without a descriptor");
    const char c = s_[pos_];
    Descriptor d;
    switch (c) {
      case '(': {
        const std::size_t close = matching_paren(pos_);
        if (close == std::string_view::npos || close >= end) fail("unbalanced parenthesis");
        ++pos_;
        std::vector<Descriptor> group;
        std::size_t unused = 0;
        parse_list(group, close, false, unused);
        if (pos_ != close) fail("unexpected character in group");
        ++pos_;
        if (top) reversion = out.size();
        append_repeated(out, group, repeat);
        return;
      }
      case '"':
      case '\'': {
        d.kind = Kind::literal;
        ++pos_;
        for (;;) {
          if (pos_ >= end) {
            pos_ = item_pos;
            fail("unterminated literal");
          }
          if (s_[pos_] == c) {
            if (pos_ + 1 < end && s_[pos_ + 1] == c) {
              d.text += c;
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          d.text += s_[pos_++];
        }
        break;
      }
      case '/':
        ++pos_;
        d.kind = Kind::slash;
        d.width = repeat;
        out.push_back(std::move(d));
        return;
      case 'X':
      case 'x':
        ++pos_;
        d.kind = Kind::X;
        d.width = repeat;
        out.push_back(std::move(d));
        return;
      case 'I':
      case 'i':
        ++pos_;
        d.kind = Kind::I;
        d.width = required_number(end, "I without a width");
        skip_blanks(end);
        if (pos_ < end && s_[pos_] == '.') {
          ++pos_;
          d.digits = required_number(end, "I. without digits");
        }
        break;
      case 'F':
      case 'f':
      case 'E':
      case 'e':
        ++pos_;
        d.kind = (c == 'F' || c == 'f') ? Kind::F : Kind::E;
        d.width = required_number(end, "real descriptor without a width");
        skip_blanks(end);
        if (pos_ >= end || s_[pos_] != '.') fail("real descriptor without .d");
        ++pos_;
        d.decimals = required_number(end, "real descriptor without decimals");
        if (d.kind == Kind::E) {
          if (d.decimals == 0) fail("E with zero decimals");
          if (d.width == 0) fail("E with zero width");
          skip_blanks(end);
          if (pos_ < end && (s_[pos_] == 'E' || s_[pos_] == 'e')) {
            ++pos_;
            d.digits = required_number(end, "exponent digits missing");
            if (d.digits == 0) fail("zero exponent digits");
          }
        }
        if (d.decimals > 300 || d.width > 400) fail("real field too wide");
        break;
      case 'A':
      case 'a': {
        ++pos_;
        d.kind = Kind::A;
        const int w = number(end);
        if (w == 0) fail("A with zero width");
        d.width = w;  // -1 when absent: the text at its own length
        break;
      }
      default:
        fail("unknown descriptor");
    }
    if (static_cast<double>(out.size()) + repeat > kMaxItems) fail("too many items");
    for (int k = 0; k < repeat; ++k) out.push_back(d);
  }

  std::string_view s_;
  std::size_t pos_ = 0;
};

// Adjacent literals are written together in every case (output only stops at a field), so
// they are joined; the reversion start keeps its own item.
std::size_t join_literals(std::vector<Descriptor>& items, std::size_t reversion) {
  std::vector<Descriptor> joined;
  joined.reserve(items.size());
  std::size_t new_reversion = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i == reversion) new_reversion = joined.size();
    Descriptor& d = items[i];
    if (d.kind == Kind::literal && i != reversion && !joined.empty() &&
        joined.back().kind == Kind::literal) {
      joined.back().text += d.text;
    } else {
      joined.push_back(std::move(d));
    }
  }
  items = std::move(joined);
  return new_reversion;
}

}  // namespace

EditList::EditList(std::string_view layout) : source_(layout) {
  LayoutParser parser(source_);
  reversion_ = join_literals(items_, parser.parse_top(items_));
  std::size_t fields_after_reversion = 0;
  bool fixed = true;
  std::size_t columns = 0;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const Kind k = items_[i].kind;
    const int w = items_[i].width;
    fixed = fixed && k != Kind::slash && (k == Kind::A ? w >= 0 : k == Kind::literal || w > 0);
    columns += k == Kind::literal ? items_[i].text.size() : static_cast<std::size_t>(std::max(w, 0));
    width_hint_ += k == Kind::literal    ? items_[i].text.size()
                   : k == Kind::slash    ? 0
                   : items_[i].width > 0 ? static_cast<std::size_t>(items_[i].width)
                                         : 16;
    if (k == Kind::I || k == Kind::F || k == Kind::E || k == Kind::A) {
      ++fields_;
      if (i >= reversion_) ++fields_after_reversion;
    }
  }
  // A last group without fields could never take the remaining values: start over instead.
  if (fields_after_reversion == 0) reversion_ = 0;
  if (width_hint_ > 4096) width_hint_ = 4096;
  if (fixed) fixed_columns_ = columns;
}

}  // namespace vorlane::records
