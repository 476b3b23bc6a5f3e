// Writing values through an edit list.
//
// Records are built in place at the end of `out`. Blanks of X are held back until something
// follows them in the same record, so trailing X never lengthens a record. Writing stops at
// the first field without a value (literals before it are written); values left over at the
// end of the layout start a new record at the reversion point, as Fortran formats do.
#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "records/edit_list.hpp"
#include "records/field_format.hpp"
#include "records/record_buffer.hpp"

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

// Blanks before a field: mostly a single one, appended without a call into the library.
void append_blanks(std::string& rec, std::size_t n) {
  if (n == 1) {
    rec.push_back(' ');
  } else if (n > 1) {
    rec.append(n, ' ');
  }
}

// Closes a print record that starts at `at` of `text` and still holds its carriage control
// (its first character): "0" becomes an empty line first, "1" a form feed first, any other
// character goes. A line end follows.
void close_print_record(std::string& text, std::size_t at) {
  if (text.size() > at) {
    char& control = text[at];
    if (control == '0') {
      control = '\n';
    } else if (control == '1') {
      control = '\f';
    } else {
      text.erase(at, 1);
    }
  }
  text += '\n';
}

// Where the writer puts its records. Each sink gives: begin(capacity) to open a record that
// values will fill, begin_empty() for a record a slash leaves empty, rec() for the characters
// of the record being written, and blanks(n) to append n blanks to it.
class VectorSink {
 public:
  explicit VectorSink(std::vector<std::string>& out) : out_(out) {}
  void begin(std::size_t capacity) { out_.emplace_back().reserve(capacity); }
  void begin_empty() { out_.emplace_back(); }
  std::string& rec() { return out_.back(); }
  void blanks(std::size_t n) { append_blanks(rec(), n); }

 private:
  std::vector<std::string>& out_;
};

class BufferSink {
 public:
  explicit BufferSink(RecordBuffer& out) : out_(out) {}
  void begin(std::size_t) { out_.begin_record(); }
  void begin_empty() { out_.begin_record(); }
  std::string& rec() { return out_.text(); }
  void blanks(std::size_t n) { append_blanks(rec(), n); }

 private:
  RecordBuffer& out_;
};

// Records as lines of one text: a line end closes each record when the next one opens, and
// the caller closes the last.
class LineSink {
 public:
  explicit LineSink(std::string& text) : text_(text) {}
  void begin(std::size_t) { open(); }
  void begin_empty() { open(); }
  std::string& rec() { return text_; }
  void blanks(std::size_t n) { append_blanks(text_, n); }
  void finish() {
    if (any_) text_ += '\n';
  }

 private:
  void open() {
    if (any_) text_ += '\n';
    any_ = true;
  }
  std::string& text_;
  bool any_ = false;
};

// Records in the print file's form, written straight into one text: when a record closes,
// its carriage-control character (its first) becomes what it stands for ("0" an empty line
// first, "1" a form feed first, any other nothing), and a line end follows it.
class PrintTextSink {
 public:
  explicit PrintTextSink(std::string& text) : text_(text) {}
  void begin(std::size_t) { open(); }
  void begin_empty() { open(); }
  std::string& rec() { return text_; }
  // Blanks that open a record start with its carriage control, a blank, which stands for
  // nothing: it is left out at once rather than taken out of the record when it closes.
  void blanks(std::size_t n) {
    if (!control_left_out_ && text_.size() == at_) {
      control_left_out_ = true;
      --n;
    }
    append_blanks(text_, n);
  }
  void finish() {
    if (open_) close();
  }

 private:
  void open() {
    if (open_) close();
    open_ = true;
    at_ = text_.size();
    control_left_out_ = false;
  }
  void close() {
    if (control_left_out_) {
      text_ += '\n';
    } else {
      close_print_record(text_, at_);
    }
  }
  std::string& text_;
  std::size_t at_ = 0;
  bool open_ = false;
  bool control_left_out_ = false;
};

template <class Sink>
void write_all(const EditList& layout, std::span<const Value> values, Sink& out) {
  const std::vector<Descriptor>& items = layout.items();
  if (!values.empty() && layout.field_count() == 0) {
    throw std::invalid_argument("edit list \"" + std::string(layout.source()) +
                                "\" has no field for its values");
  }
  const std::size_t capacity = layout.width_hint();
  out.begin(capacity);
  std::size_t pending_blanks = 0;
  std::size_t vi = 0;
  std::size_t i = 0;
  for (;;) {
    if (i == items.size()) {
      if (vi == values.size()) break;
      // Values left over: a new record from the reversion point.
      out.begin(capacity);
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
        for (int k = 0; k < d.width; ++k) out.begin_empty();
        pending_blanks = 0;
        break;
      case Kind::literal:
        if (pending_blanks != 0) out.blanks(pending_blanks);
        pending_blanks = 0;
        out.rec() += d.text;
        break;
      default:
        if (vi == values.size()) return;  // the record ends at the first field without a value
        if (pending_blanks != 0) out.blanks(pending_blanks);
        pending_blanks = 0;
        write_field(out.rec(), d, values[vi], layout, vi);
        ++vi;
        break;
    }
  }
}

// Records of fixed columns (the usual layouts of the listing and the output file) written as
// a single record straight into the text: its columns are made blanks first, each field is
// stored where it goes (a narrow F or I field, or a one-letter A field, in one store), and X
// only moves on. The text is the same the general writer gives. False (nothing written) for
// another layout, or when values would be left over for a second record.
//
// With `print`, the record's first column is its carriage control: a blank that opens the
// record is left out as the record is written, another first character becomes what it
// stands for, as PrintTextSink does.
bool append_fixed_record(const EditList& layout, std::span<const Value> values, std::string& text,
                         bool print) {
  const std::size_t columns = layout.fixed_columns();
  if (columns == 0 || values.size() > layout.field_count()) return false;
  const std::vector<Descriptor>& items = layout.items();
  const std::size_t at = text.size();
  // Every column of the record, the line end, and the slack of a word stored at the last one.
  text.append(columns + 8, ' ');
  char* const record = text.data() + at;
  // A leading X holds the blank carriage control: the record is written one column left.
  const std::size_t skip =
      print && !items.empty() && items[0].kind == Kind::X && items[0].width >= 1 ? 1 : 0;
  std::size_t column = 0;  // columns up to the last thing written (blanks of X held back)
  std::size_t pending = 0;
  std::size_t vi = 0;
  std::string scratch;
  for (const Descriptor& d : items) {
    if (d.kind == Kind::X) {
      pending += static_cast<std::size_t>(d.width);
      continue;
    }
    if (d.kind == Kind::literal) {
      column += pending;
      pending = 0;
      std::memcpy(record + column - skip, d.text.data(), d.text.size());
      column += d.text.size();
      continue;
    }
    if (vi == values.size()) break;  // the record ends at the first field without a value
    column += pending;
    pending = 0;
    char* const field = record + column - skip;
    const Value& v = values[vi];
    std::uint64_t word = 0;
    if ((d.kind == Kind::F && std::holds_alternative<float>(v) &&
         detail::narrow_F_word(std::get<float>(v), d.width, d.decimals, word)) ||
        (d.kind == Kind::I && std::holds_alternative<int>(v) &&
         detail::short_I_word(std::get<int>(v), d.width, d.digits, word))) {
      std::memcpy(field, &word, 8);
      column += static_cast<std::size_t>(d.width);
    } else if (d.kind == Kind::A && d.width == 1 && std::holds_alternative<std::string_view>(v) &&
               !std::get<std::string_view>(v).empty()) {
      *field = std::get<std::string_view>(v)[0];
      column += 1;
    } else {
      scratch.clear();
      write_field(scratch, d, v, layout, vi);
      // Every field of a width fills exactly its columns; should one not, the general writer
      // writes the record instead.
      if (scratch.size() != static_cast<std::size_t>(d.width)) {
        text.resize(at);
        return false;
      }
      std::memcpy(field, scratch.data(), scratch.size());
      column += scratch.size();
    }
    ++vi;
  }
  const std::size_t length = column > skip ? column - skip : 0;
  if (print && skip == 0) {
    text.resize(at + length);
    close_print_record(text, at);
  } else {
    record[length] = '\n';
    text.resize(at + length + 1);
  }
  return true;
}

}  // namespace

void write_records(const EditList& layout, std::span<const Value> values,
                   std::vector<std::string>& out) {
  // A value of the wrong type leaves `out` as it was: no half-written records.
  const std::size_t before = out.size();
  try {
    VectorSink sink(out);
    write_all(layout, values, sink);
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

void write_records(const EditList& layout, std::span<const Value> values, RecordBuffer& out) {
  const std::size_t before = out.size();
  try {
    BufferSink sink(out);
    write_all(layout, values, sink);
  } catch (...) {
    out.truncate(before);
    throw;
  }
}

void append_record_lines(const EditList& layout, std::span<const Value> values,
                         std::string& text) {
  const std::size_t before = text.size();
  try {
    if (append_fixed_record(layout, values, text, false)) return;
    LineSink sink(text);
    write_all(layout, values, sink);
    sink.finish();
  } catch (...) {
    text.resize(before);
    throw;
  }
}

void append_print_lines(const EditList& layout, std::span<const Value> values,
                        std::string& text) {
  const std::size_t before = text.size();
  try {
    if (append_fixed_record(layout, values, text, true)) return;
    PrintTextSink sink(text);
    write_all(layout, values, sink);
    sink.finish();
  } catch (...) {
    text.resize(before);
    throw;
  }
}

}  // namespace vorlane::records
