#pragma once
// Records of a text stream, one per line, without copying each line: the stream is read in
// large blocks and every record is a view into the block.
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane::input {

class LineSource {
 public:
  explicit LineSource(std::istream& in, std::size_t block_size = 1 << 20);

  // The next record without its line end (LF, with a CR before it dropped). The view stays
  // valid until the next call. False at the end of the stream; a last line without a line
  // end is still a record.
  bool next(std::string_view& record);

  // Appends the next records (at most `max_records`) to `text`, each with a line end (LF),
  // as next() gives them, in as few copies as the block allows. Returns how many it appended:
  // fewer than `max_records` only at the end of the stream.
  std::size_t append_records(std::string& text, std::size_t max_records);

  // The stream's remaining size in bytes when it can tell (a file or string stream), else 0.
  static std::size_t remaining_size(std::istream& in);

 private:
  bool refill();

  std::istream& in_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;  // first unread byte
  std::size_t end_ = 0;    // one past the last byte in the buffer
  bool eof_ = false;
};

}  // namespace vorlane::input
