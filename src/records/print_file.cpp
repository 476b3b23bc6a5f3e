// The print file as plain text: the carriage-control character of each record becomes the
// line structure (blank: new line; "0": an empty line first; "1": a form feed first; any other
// character: new line) and is not written itself.
#include "records/print_file.hpp"

#include "records/record_buffer.hpp"

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

// The text of one record with its line end, appended to `text`.
void append_record_text(std::string& text, std::string_view record) {
  if (!record.empty()) {
    text += control_prefix(record[0]);
    text.append(record.substr(1));
  }
  text += '\n';
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
  text_.clear();
  append_record_text(text_, record);
  out_->write(text_.data(), static_cast<std::streamsize>(text_.size()));
  if (!*out_) failed_ = true;
}

void PrintFile::write_records(std::span<const std::string> records) {
  if (out_ == nullptr) return;
  text_.clear();
  for (const std::string& r : records) append_record_text(text_, r);
  out_->write(text_.data(), static_cast<std::streamsize>(text_.size()));
  if (!*out_) failed_ = true;
}

void PrintFile::write(const EditList& layout, std::span<const Value> values) {
  if (out_ == nullptr) return;
  text_.clear();
  append_print_lines(layout, values, text_);
  out_->write(text_.data(), static_cast<std::streamsize>(text_.size()));
  if (!*out_) failed_ = true;
}

void PrintFile::write_text(std::string_view text) {
  if (out_ == nullptr) return;
  out_->write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!*out_) failed_ = true;
}

void PrintFile::append_text(const EditList& layout, std::span<const Value> values,
                            std::string& text) {
  append_print_lines(layout, values, text);
}

void PrintFile::close() {
  if (out_ == nullptr) return;
  out_->flush();
  if (!*out_) failed_ = true;
  out_ = nullptr;
}

}  // namespace vorlane::records
