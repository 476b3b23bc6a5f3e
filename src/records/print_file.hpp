#pragma once
// The print file: records with a carriage-control character in column 1, stored as plain text,
// one record per line. Control " " = new line, "0" = one empty line first, "1" = a form feed
// first; any other character also starts a new line and is not printed.
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "records/edit_list.hpp"
#include "records/record_buffer.hpp"

namespace vorlane::records {

class PrintFile {
 public:
  PrintFile() = default;
  explicit PrintFile(std::ostream& out) : out_(&out) {}

  bool is_open() const { return out_ != nullptr; }
  void open(std::ostream& out) { out_ = &out; }
  void close();  // flushes; a failure is remembered in failed()

  // One record, control character included. Ignored when closed.
  void write_record(std::string_view record);
  void write_records(std::span<const std::string> records);
  // Writes `values` through `layout`.
  void write(const EditList& layout, std::span<const Value> values);
  // Text already in the print file's form (from append_text), written as it is.
  void write_text(std::string_view text);
  // The text write() would give for `values` through `layout`, appended to `text`. Touches
  // no file: blocks of a listing can be formed apart.
  static void append_text(const EditList& layout, std::span<const Value> values,
                          std::string& text);
  template <class... Ts> void put(const EditList& layout, const Ts&... values) {
    const Value vs[] = {Value(values)..., Value(0)};
    write(layout, std::span<const Value>(vs, sizeof...(Ts)));
  }

  // True once any write (or the flush at close) failed: the listing is incomplete.
  bool failed() const { return failed_; }

 private:
  std::ostream* out_ = nullptr;
  bool failed_ = false;
  // Storage reused by every write: the text of one call.
  std::string text_;
};

// The plain-text form of one record (without the line end): "0" gives a leading empty line
// ("\n" + text), "1" a leading form feed.
std::string asa_to_text(std::string_view record);

}  // namespace vorlane::records
