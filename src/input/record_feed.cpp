#include "input/record_feed.hpp"

#include <exception>

#include "input/input_record.hpp"

namespace vorlane::input {

namespace {

// Counts the lines of `text` (each ended by a line feed) after its first `skip` lines.
void count_tail(std::string_view text, std::size_t skip, RecordFeed::Tail& tail) {
  const char* p = text.data();
  const char* const e = p + text.size();
  for (std::size_t line = 0; p != e; ++line) {
    const char* const end = find_line_feed(p, e);
    const std::string_view l(p, static_cast<std::size_t>(end - p));
    p = end + 1;
    if (line < skip || l.find_first_not_of(" \t\r") == std::string_view::npos) continue;
    ++tail.not_blank;
    InputRecord r;
    if (parse_shelx_record(l, r) && !(r.h[0] == 0 && r.h[1] == 0 && r.h[2] == 0) &&
        r.batch >= 0 && r.sigma >= 0.0f)
      ++tail.reflections;
  }
}

// Line `n` (from 0) of `text`.
std::string_view line_of(std::string_view text, std::size_t n) {
  std::size_t from = 0;
  for (std::size_t i = 0; i < n && from < text.size(); ++i) {
    const std::size_t lf = text.find('\n', from);
    if (lf == std::string_view::npos) return {};
    from = lf + 1;
  }
  const std::size_t lf = text.find('\n', from);
  return text.substr(from, lf == std::string_view::npos ? std::string_view::npos : lf - from);
}

}  // namespace

RecordFeed::Tail RecordFeed::tail_after(std::uint32_t end_line) {
  Tail tail;
  if (current_ == nullptr) return tail;
  const std::size_t at = end_line - current_->first_line - 1;  // the end record's line
  tail.blank_end = line_of(current_->text, at).find_first_not_of(" \t\r") ==
                   std::string_view::npos;
  count_tail(current_->text, at + 1, tail);
  // The chunks after it hold the rest of the input, whatever their records say. Lines that
  // cannot be read after the end of the data take nothing from the data: the count stops.
  try {
    while (!current_->end_of_input) {
      current_ = nullptr;
      release();
      if (!take()) break;
      count_tail(current_->text, 0, tail);
    }
  } catch (const std::exception&) {
  }
  current_ = nullptr;
  position_ = 0;
  return tail;
}

}  // namespace vorlane::input
