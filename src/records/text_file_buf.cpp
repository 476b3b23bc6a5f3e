#include "records/text_file_buf.hpp"

#include <cstring>

namespace vorlane::records {

TextFileBuf::TextFileBuf(const std::filesystem::path& path) {
  file_.open(path, std::ios::in | std::ios::binary);
}

bool TextFileBuf::rewind() {
  if (file_.pubseekpos(0, std::ios::in) != pos_type(0)) return false;
  setg(text_.data(), text_.data(), text_.data());
  delivered_before_ = 0;
  raw_read_ = 0;
  at_start_ = true;
  after_cr_ = false;
  return true;
}

std::uintmax_t TextFileBuf::remaining_bytes() {
  const pos_type here = file_.pubseekoff(0, std::ios::cur, std::ios::in);
  const pos_type end = file_.pubseekoff(0, std::ios::end, std::ios::in);
  if (here == pos_type(-1) || end == pos_type(-1)) return 0;
  file_.pubseekpos(here, std::ios::in);
  const auto unread = static_cast<std::uintmax_t>(egptr() - gptr());
  return static_cast<std::uintmax_t>(end - here) + unread;
}

TextFileBuf::int_type TextFileBuf::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  delivered_before_ += static_cast<std::uintmax_t>(egptr() - eback());
  for (;;) {
    const std::streamsize got = file_.sgetn(raw_.data(), static_cast<std::streamsize>(raw_.size()));
    if (got <= 0) {
      setg(text_.data(), text_.data(), text_.data());
      return traits_type::eof();
    }
    raw_read_ += static_cast<std::uintmax_t>(got);
    std::size_t from = 0;
    const auto n = static_cast<std::size_t>(got);
    if (at_start_) {
      at_start_ = false;
      // A mark split over two blocks cannot happen: the first block holds at least 3 bytes
      // whenever the file does.
      if (n >= 3 && std::memcmp(raw_.data(), "\xEF\xBB\xBF", 3) == 0) from = 3;
    }
    // A block without CR (the usual case) is handed out as it was read.
    if (!after_cr_ && std::memchr(raw_.data() + from, '\r', n - from) == nullptr) {
      if (from == n) continue;
      setg(raw_.data() + from, raw_.data() + from, raw_.data() + n);
      return traits_type::to_int_type(raw_[from]);
    }
    // Runs without CR are copied whole; a CR becomes LF, and an LF right after it (in this
    // block or the next) is dropped.
    std::size_t out = 0;
    std::size_t i = from;
    while (i < n) {
      if (after_cr_) {
        after_cr_ = false;
        if (raw_[i] == '\n') {
          ++i;
          continue;
        }
      }
      const void* cr = std::memchr(raw_.data() + i, '\r', n - i);
      const std::size_t end =
          cr != nullptr ? static_cast<std::size_t>(static_cast<const char*>(cr) - raw_.data()) : n;
      std::memcpy(text_.data() + out, raw_.data() + i, end - i);
      out += end - i;
      i = end;
      if (cr != nullptr) {
        text_[out++] = '\n';
        after_cr_ = true;
        ++i;
      }
    }
    if (out > 0) {
      setg(text_.data(), text_.data(), text_.data() + out);
      return traits_type::to_int_type(text_[0]);
    }
  }
}

TextFileBuf::pos_type TextFileBuf::seekoff(off_type off, std::ios_base::seekdir dir,
                                           std::ios_base::openmode) {
  if (dir == std::ios_base::cur && off == 0) {
    return pos_type(static_cast<off_type>(delivered_before_ +
                                          static_cast<std::uintmax_t>(gptr() - eback())));
  }
  if (dir == std::ios_base::beg && off == 0 && rewind()) return pos_type(0);
  return pos_type(off_type(-1));
}

TextFileBuf::pos_type TextFileBuf::seekpos(pos_type pos, std::ios_base::openmode mode) {
  return seekoff(off_type(pos), std::ios_base::beg, mode);
}

TextFileStream::TextFileStream(const std::filesystem::path& path)
    : std::istream(nullptr), buf_(path) {
  rdbuf(&buf_);
  if (!buf_.is_open()) setstate(std::ios::failbit);
}

}  // namespace vorlane::records
