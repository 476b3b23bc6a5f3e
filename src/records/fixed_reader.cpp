// Fixed-column fields: blanks inside a number are ignored, an all-blank field is zero, a real
// without a decimal point gets the implied decimals of its descriptor, a short record reads
// as if padded with blanks.
#include "records/fixed_reader.hpp"

#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

#include "records/number_parse.hpp"

namespace vorlane::records {

namespace {

FieldResult bad_field(std::string_view field, int column) {
  return FieldResult{ReadStatus::bad, column, std::string(field)};
}

std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// The field without its blanks (a TAB is not a blank: it stays and makes the field bad).
std::string without_blanks(std::string_view field) {
  std::string s;
  s.reserve(field.size());
  for (char c : field) {
    if (c != ' ') s += c;
  }
  return s;
}

template <class T>
FieldResult real_field(std::string_view field, int decimals, T& value, int column) {
  const std::string_view trimmed = trim_blanks(field);
  if (detail::parse_non_finite(trimmed, value)) return {};
  std::string compact = without_blanks(field);
  // A number ending in an exponent sign that blanks follow ("  1.5-  ") reads with exponent 0,
  // as the reference compiler reads such a field from a file; at the very end of the field
  // the sign is an error.
  if (compact.size() >= 2 && (compact.back() == '+' || compact.back() == '-') && !field.empty() &&
      field.back() == ' ') {
    const char before = compact[compact.size() - 2];
    if ((before >= '0' && before <= '9') || before == '.') compact.pop_back();
  }
  T v{};
  if (!detail::parse_real(compact, decimals, detail::RealSyntax::fixed_field, v)) {
    return bad_field(field, column);
  }
  value = v;
  return {};
}

FieldResult int_field(std::string_view field, int& value, int column) {
  const std::string compact = without_blanks(field);
  if (compact.empty()) {
    value = 0;
    return {};
  }
  int v = 0;
  if (!detail::parse_integer(compact, v)) return bad_field(field, column);
  value = v;
  return {};
}

[[noreturn]] void layout_error(const EditList& layout, const char* what) {
  throw std::invalid_argument("read layout \"" + std::string(layout.source()) + "\": " + what);
}

}  // namespace

FieldResult read_I(std::string_view field, int& value) { return int_field(field, value, 1); }

FieldResult read_F(std::string_view field, int decimals, float& value) {
  return real_field(field, decimals, value, 1);
}

FieldResult read_F(std::string_view field, int decimals, double& value) {
  return real_field(field, decimals, value, 1);
}

FieldResult read_fixed(const EditList& layout, std::string_view record,
                       std::span<const Target> targets) {
  // A CR left by a CRLF line end is not part of the record.
  if (!record.empty() && record.back() == '\r') record.remove_suffix(1);
  if (targets.size() > layout.field_count()) layout_error(layout, "more targets than fields");
  std::size_t pos = 0;  // 0-based column of the next field
  std::size_t ti = 0;
  for (const Descriptor& d : layout.items()) {
    if (d.kind == Kind::X) {
      pos += static_cast<std::size_t>(d.width);
      continue;
    }
    if (d.kind == Kind::literal || d.kind == Kind::slash) {
      layout_error(layout, "literals and slashes cannot be read");
    }
    if (ti == targets.size()) break;
    const Target& t = targets[ti++];
    // The columns of the field; a record that ends early gives what is left of it.
    std::size_t width = 0;
    if (d.kind == Kind::A && d.width < 0) {
      width = pos < record.size() ? record.size() - pos : 0;
    } else {
      width = static_cast<std::size_t>(d.width);
    }
    const std::string_view field =
        pos < record.size() ? record.substr(pos, width) : std::string_view();
    const int column = static_cast<int>(pos) + 1;
    pos += width;
    FieldResult r;
    switch (d.kind) {
      case Kind::I:
        if (int* const* p = std::get_if<int*>(&t)) {
          r = int_field(field, **p, column);
          break;
        }
        layout_error(layout, "I field needs an int target");
      case Kind::F:
      case Kind::E:
        if (float* const* p = std::get_if<float*>(&t)) {
          r = real_field(field, d.decimals, **p, column);
          break;
        }
        if (double* const* p = std::get_if<double*>(&t)) {
          r = real_field(field, d.decimals, **p, column);
          break;
        }
        layout_error(layout, "real field needs a float or double target");
      case Kind::A:
        if (std::string* const* p = std::get_if<std::string*>(&t)) {
          (*p)->assign(field);
          if (d.width > 0) (*p)->resize(width, ' ');
          break;
        }
        layout_error(layout, "A field needs a string target");
      default:
        break;
    }
    if (r.status != ReadStatus::ok) return r;
  }
  return {};
}

}  // namespace vorlane::records
