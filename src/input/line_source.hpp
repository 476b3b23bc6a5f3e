#pragma once
// Records of a text stream, one per line, without copying each line: the stream is read in
// large blocks and every record is a view into the block.
#include <bit>
#include <cstring>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The first line feed in [p, e), or nullptr. Lines of a few dozen characters: sixteen at a
// time, inline (a call of memchr costs more than the scan of such a line).
inline const char* find_line_feed(const char* p, const char* e) {
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  for (; e - p >= 16; p += 16) {
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), lf)));
    if (mask != 0) return p + std::countr_zero(mask);
  }
#endif
  return static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(e - p)));
}

}  // namespace vorlane::input
