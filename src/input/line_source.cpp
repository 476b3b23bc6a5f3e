#include "input/line_source.hpp"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// The end of the `want`-th line end in [p, e) (one past it), or of the last one there when
// there are fewer; `found` is how many were passed. p when there is none.
const char* past_line_ends(const char* p, const char* e, std::size_t want, std::size_t& found) {
  found = 0;
  const char* past = p;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  for (; e - p >= 16; p += 16) {
    // A line end every few dozen bytes: they are counted one by one (the baseline processor
    // has no population count).
    for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(
             _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), lf)));
         mask != 0; mask &= mask - 1) {
      past = p + std::countr_zero(mask) + 1;
      if (++found == want) return past;
    }
  }
#endif
  for (; p < e && found < want; ++p) {
    if (*p == '\n') {
      ++found;
      past = p + 1;
    }
  }
  return past;
}

// Appends the whole lines of [p, e) (the last one ends in LF) with every CR before a line end
// dropped.
void append_lines(std::string& text, const char* p, const char* e) {
  for (;;) {
    const void* cr = std::memchr(p, '\r', static_cast<std::size_t>(e - p));
    if (cr == nullptr) break;
    const char* at = static_cast<const char*>(cr);
    text.append(p, at);
    if (at[1] != '\n') text.push_back('\r');
    p = at + 1;
  }
  text.append(p, e);
}

}  // namespace

std::size_t LineSource::append_records(std::string& text, std::size_t max_records) {
  std::size_t taken = 0;
  while (taken < max_records) {
    const char* start = buffer_.data() + begin_;
    std::size_t found = 0;
    const char* past = past_line_ends(start, buffer_.data() + end_, max_records - taken, found);
    if (found > 0) {
      append_lines(text, start, past);
      begin_ = static_cast<std::size_t>(past - buffer_.data());
      taken += found;
      continue;
    }
    // No line end in what is left of the block: read on, or take the last line as it is.
    if (refill()) continue;
    std::string_view last;
    if (!next(last)) break;
    text.append(last);
    text.push_back('\n');
    ++taken;
  }
  return taken;
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
