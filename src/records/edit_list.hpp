#pragma once
// Record layouts as edit lists: the one place where numbers become columns of text.
//
// Notation (Fortran edit descriptors, as the layouts are written):
//   nX       n blanks                     Iw      integer right-justified in w columns
//   Fw.d     real rounded to d decimals   Ew.d    real in exponent form
//   Aw       text in w columns            A       the text at its own length
//   "text"   a literal                    r(...)  a group repeated r times
//   /        end of the record            rX/r/rI... repeat counts on single descriptors
// Slashes at the start give empty records first, at the end empty records after. A number too
// wide for its field prints as w asterisks. A record ends at the first field left without a
// value (literals and blanks before that field are still written).
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vorlane::records {

// One item written by (or read into from) an edit list. Texts are views: keep them alive
// for the duration of the call.
using Value = std::variant<int, float, double, std::string_view>;

enum class Kind { I, F, E, A, X, literal, slash };

struct Descriptor {
  Kind kind = Kind::X;
  int width = 0;     // w (for A without width: -1; for X: n; for slash: count of records ended)
  int decimals = 0;  // d of Fw.d / Ew.d
  std::string text;  // literal text
  int digits = -1;   // m of Iw.m (minimum digits), e of Ew.dEe (exponent digits); -1: none
};

// A parsed edit list. Parsing throws std::invalid_argument naming the offending position.
class EditList {
 public:
  explicit EditList(std::string_view layout);
  // The descriptors with repeat groups expanded.
  const std::vector<Descriptor>& items() const { return items_; }
  std::string_view source() const { return source_; }
  // Where writing resumes when values remain at the end of the layout: the first item of the
  // last top-level repeat group (with its repeat count), or 0 when there is none.
  std::size_t reversion_start() const { return reversion_; }
  // Number of I, F, E and A items (fields that take a value).
  std::size_t field_count() const { return fields_; }
  // Columns of all items together: the capacity a record is given up front.
  std::size_t width_hint() const { return width_hint_; }
  // Every record of the list has the same columns (no slash; every field has its width, an A
  // field too): their number. 0 otherwise.
  std::size_t fixed_columns() const { return fixed_columns_; }

 private:
  std::string source_;
  std::vector<Descriptor> items_;
  std::size_t reversion_ = 0;
  std::size_t fields_ = 0;
  std::size_t width_hint_ = 0;
  std::size_t fixed_columns_ = 0;
};

// Writes `values` through `layout` and appends the resulting records (without line ends)
// to `out`. Throws std::invalid_argument when a value's type does not fit its descriptor.
void write_records(const EditList& layout, std::span<const Value> values,
                   std::vector<std::string>& out);

// Convenience: the records of one call.
std::vector<std::string> write_records(const EditList& layout, std::span<const Value> values);

// Convenience for one-off layouts.
template <class... Ts>
std::vector<std::string> format(std::string_view layout, const Ts&... values) {
  const Value vs[] = {Value(values)..., Value(0)};
  return write_records(EditList(layout), std::span<const Value>(vs, sizeof...(Ts)));
}

// Single fields, as the layouts write them (exposed for callers that build one field).
std::string format_I(int value, int width);
std::string format_F(float value, int width, int decimals);
std::string format_F(double value, int width, int decimals);
// The fewest columns an F edit with `decimals` decimals writes `value` in (finite): its
// sign, its integer digits (a lone zero left out when decimals follow), the point and the
// decimals, the exact binary value rounded.
int fixed_length(float value, int decimals);
std::string format_E(float value, int width, int decimals);
std::string format_A(std::string_view text, int width);  // width < 0: the text as it is

}  // namespace vorlane::records
