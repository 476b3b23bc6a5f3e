#pragma once
// Records written into one growing text instead of one string each: writers that produce
// many records (the listing, the output reflection file) reuse the same storage for every
// write, so a record costs no allocation of its own.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "records/edit_list.hpp"

namespace vorlane::records {

class RecordBuffer {
 public:
  // Forgets the records, keeping the storage.
  void clear() {
    text_.clear();
    starts_.clear();
  }
  std::size_t size() const { return starts_.size(); }
  bool empty() const { return starts_.empty(); }
  std::string_view operator[](std::size_t i) const {
    const std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] : text_.size();
    return std::string_view(text_).substr(starts_[i], end - starts_[i]);
  }

  // For the writer: opens a record at the end of the text, and takes its characters.
  void begin_record() { starts_.push_back(text_.size()); }
  std::string& text() { return text_; }
  // For the writer: drops the records from `count` on (a write that failed).
  void truncate(std::size_t count) {
    if (count >= starts_.size()) return;
    text_.resize(starts_[count]);
    starts_.resize(count);
  }

 private:
  std::string text_;
  std::vector<std::size_t> starts_;
};

// Writes `values` through `layout` as write_records does, appending the records to `out`.
// A value of the wrong type throws and leaves `out` as it was.
void write_records(const EditList& layout, std::span<const Value> values, RecordBuffer& out);

// The same records appended to `text` as lines, each followed by '\n'.
void append_record_lines(const EditList& layout, std::span<const Value> values,
                         std::string& text);

// The same records appended to `text` in the print file's form: each record's first
// character is its carriage control (see PrintFile).
void append_print_lines(const EditList& layout, std::span<const Value> values,
                        std::string& text);

}  // namespace vorlane::records
