// The print file as plain text: the carriage-control character of each record becomes the
// line structure (blank: new line; "0": an empty line first; "1": a form feed first; any other
// character: new line) and is not written itself.
#include "records/print_file.hpp"

#include <ostream>
#include <string>
#include <string_view>

namespace vorlane::records {

namespace {

// The prefix a control character puts before the text.
std::string_view control_prefix(char control) {
  switch (control) {
    case '0':
      return "\n";
    case '1':
      return "\f";
    default:
      return {};
  }
}

}  // namespace

std::string asa_to_text(std::string_view record) {
  if (record.empty()) return {};
  std::string text(control_prefix(record[0]));
  text += record.substr(1);
  return text;
}

void PrintFile::write_record(std::string_view record) {
  if (out_ == nullptr) return;
  if (!record.empty()) {
    const std::string_view prefix = control_prefix(record[0]);
    if (!prefix.empty()) out_->write(prefix.data(), static_cast<std::streamsize>(prefix.size()));
    record.remove_prefix(1);
    out_->write(record.data(), static_cast<std::streamsize>(record.size()));
  }
  out_->put('\n');
  if (!*out_) failed_ = true;
}

void PrintFile::write_records(std::span<const std::string> records) {
  for (const std::string& r : records) write_record(r);
}

void PrintFile::write(const EditList& layout, std::span<const Value> values) {
  if (out_ == nullptr) return;
  scratch_.clear();
  records::write_records(layout, values, scratch_);
  write_records(scratch_);
}

void PrintFile::close() {
  if (out_ == nullptr) return;
  out_->flush();
  if (!*out_) failed_ = true;
  out_ = nullptr;
}

}  // namespace vorlane::records
