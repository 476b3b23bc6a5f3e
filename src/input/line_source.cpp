#include "input/line_source.hpp"

#include <cstring>

#include "records/text_file_buf.hpp"

namespace vorlane::input {

LineSource::LineSource(std::istream& in, std::size_t block_size)
    : in_(in), buffer_(block_size > 0 ? block_size : 1) {}

std::size_t LineSource::remaining_size(std::istream& in) {
  // A text file whose line ends are made uniform cannot seek; it knows its size itself.
  if (auto* text = dynamic_cast<records::TextFileBuf*>(in.rdbuf())) {
    return static_cast<std::size_t>(text->remaining_bytes());
  }
  const std::istream::pos_type here = in.tellg();
  if (here == std::istream::pos_type(-1)) {
    in.clear();
    return 0;
  }
  in.seekg(0, std::ios::end);
  const std::istream::pos_type end = in.tellg();
  in.seekg(here);
  if (end == std::istream::pos_type(-1) || !in) {
    in.clear();
    in.seekg(here);
    return 0;
  }
  return static_cast<std::size_t>(end - here);
}

// Moves the unread tail to the front and reads more; grows the buffer when a single line
// fills it. False when nothing more could be read.
bool LineSource::refill() {
  if (eof_) return false;
  const std::size_t tail = end_ - begin_;
  if (begin_ > 0 && tail > 0) std::memmove(buffer_.data(), buffer_.data() + begin_, tail);
  begin_ = 0;
  end_ = tail;
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
  in_.read(buffer_.data() + end_, static_cast<std::streamsize>(buffer_.size() - end_));
  const auto got = static_cast<std::size_t>(in_.gcount());
  end_ += got;
  if (got == 0) eof_ = true;
  return got > 0;
}

bool LineSource::next(std::string_view& record) {
  std::size_t scanned = begin_;
  for (;;) {
    const char* start = buffer_.data() + scanned;
    const void* lf = std::memchr(start, '\n', end_ - scanned);
    if (lf != nullptr) {
      const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(lf) - buffer_.data());
      std::size_t length = at - begin_;
      if (length > 0 && buffer_[at - 1] == '\r') --length;
      record = std::string_view(buffer_.data() + begin_, length);
      begin_ = at + 1;
      return true;
    }
    const std::size_t offset = end_ - begin_;  // bytes already scanned in this line
    if (!refill()) {
      if (end_ == begin_) return false;
      std::size_t length = end_ - begin_;
      if (buffer_[end_ - 1] == '\r') --length;
      record = std::string_view(buffer_.data() + begin_, length);
      begin_ = end_;
      return true;
    }
    scanned = begin_ + offset;
  }
}

}  // namespace vorlane::input
