// Writing values through an edit list.
//
// Records are built in place at the end of `out`. Blanks of X are held back until something
// follows them in the same record, so trailing X never lengthens a record. Writing stops at
// the first field without a value (literals before it are written); values left over at the
// end of the layout start a new record at the reversion point, as Fortran formats do.
#include <span>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "records/edit_list.hpp"
#include "records/field_format.hpp"

namespace vorlane::records {

namespace {

[[noreturn]] void type_mismatch(const EditList& layout, std::size_t value_index,
                                const char* expected) {
  throw std::invalid_argument("edit list \"" + std::string(layout.source()) + "\": value " +
                              std::to_string(value_index + 1) + " is not " + expected);
}

void write_field(std::string& rec, const Descriptor& d, const Value& v, const EditList& layout,
                 std::size_t vi) {
  switch (d.kind) {
    case Kind::I:
      if (const int* i = std::get_if<int>(&v)) {
        detail::append_I(rec, *i, d.width, d.digits);
        return;
      }
      type_mismatch(layout, vi, "an integer");
    case Kind::F:
      if (const float* f = std::get_if<float>(&v)) {
        detail::append_F(rec, *f, d.width, d.decimals);
        return;
      }
      if (const double* x = std::get_if<double>(&v)) {
        detail::append_F(rec, *x, d.width, d.decimals);
        return;
      }
      type_mismatch(layout, vi, "a real");
    case Kind::E:
      if (const float* f = std::get_if<float>(&v)) {
        detail::append_E(rec, static_cast<double>(*f), d.width, d.decimals, d.digits);
        return;
      }
      if (const double* x = std::get_if<double>(&v)) {
        detail::append_E(rec, *x, d.width, d.decimals, d.digits);
        return;
      }
      type_mismatch(layout, vi, "a real");
    case Kind::A:
      if (const std::string_view* s = std::get_if<std::string_view>(&v)) {
        detail::append_A(rec, *s, d.width);
        return;
      }
      type_mismatch(layout, vi, "a text");
    default:
      return;
  }
}

}  // namespace

namespace {

void write_all(const EditList& layout, std::span<const Value> values,
               std::vector<std::string>& out) {
  const std::vector<Descriptor>& items = layout.items();
  if (!values.empty() && layout.field_count() == 0) {
    throw std::invalid_argument("edit list \"" + std::string(layout.source()) +
                                "\" has no field for its values");
  }
  const std::size_t capacity = layout.width_hint();
  out.emplace_back().reserve(capacity);
  std::size_t pending_blanks = 0;
  std::size_t vi = 0;
  std::size_t i = 0;
  for (;;) {
    if (i == items.size()) {
      if (vi == values.size()) break;
      // Values left over: a new record from the reversion point.
      out.emplace_back().reserve(capacity);
      pending_blanks = 0;
      i = layout.reversion_start();
      continue;
    }
    const Descriptor& d = items[i++];
    switch (d.kind) {
      case Kind::X:
        pending_blanks += static_cast<std::size_t>(d.width);
        break;
      case Kind::slash:
        for (int k = 0; k < d.width; ++k) out.emplace_back();
        pending_blanks = 0;
        break;
      case Kind::literal:
        out.back().append(pending_blanks, ' ');
        pending_blanks = 0;
        out.back() += d.text;
        break;
      default:
        if (vi == values.size()) return;  // the record ends at the first field without a value
        out.back().append(pending_blanks, ' ');
        pending_blanks = 0;
        write_field(out.back(), d, values[vi], layout, vi);
        ++vi;
        break;
    }
  }
}

}  // namespace

void write_records(const EditList& layout, std::span<const Value> values,
                   std::vector<std::string>& out) {
  // A value of the wrong type leaves `out` as it was: no half-written records.
  const std::size_t before = out.size();
  try {
    write_all(layout, values, out);
  } catch (...) {
    out.resize(before);
    throw;
  }
}

std::vector<std::string> write_records(const EditList& layout, std::span<const Value> values) {
  std::vector<std::string> out;
  write_records(layout, values, out);
  return out;
}

}  // namespace vorlane::records
