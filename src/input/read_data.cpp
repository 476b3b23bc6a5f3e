// The reading as a whole: the parsing thread (record_feed.hpp) hands the records over in
// reading order, the filing (member_filing.hpp) puts each measurement into its set, and the
// placement (member_placement.hpp) moves the members to their sets at the end. Here: the
// messages about the records as a whole.
#include "input/read_data.hpp"

#include <cstdint>
#include <string>

#include "input/fault_ahead.hpp"
#include "input/line_source.hpp"
#include "input/member_filing.hpp"
#include "input/member_placement.hpp"
#include "input/record_feed.hpp"
#include "records/edit_list.hpp"
#include "run/messages.hpp"

namespace vorlane::input {

namespace {

// Overlapping twin components cannot be merged into one intensity per reflection.
constexpr std::string_view TWINNED_DATA_MESSAGE =
    "Data are twinned (HKLF 5, negative batch number) and cannot be averaged: record";

// Room for the members of a file of `bytes` bytes: the shortest usual record (a SHELX record
// without batch number, 28 columns and a line end) bounds the count. Only the part that is
// filled is ever touched.
std::size_t expected_records(std::size_t bytes, int infmt) {
  return bytes / (infmt == 1 ? 29 : 60) + 16;
}

// More than this share of the records beyond the limiting sphere is no stray record but a
// wrong cell or wavelength.
constexpr double IMPOSSIBLE_MAX_SHARE = 0.01;

class Reader {
 public:
  Reader(run::RunState& rs, const ReadLimits& limits)
      : rs_(rs), resolver_(rs), filing_(rs, limits, resolver_) {}

  void run();

 private:
  // What the reading as a whole says: data that end early, no data, records beyond the
  // limiting sphere, fields without a point, unknown angles. False after a fatal error.
  bool report(const RecordFeed::Tail& tail, std::uint32_t end_line);
  bool report_impossible();

  run::RunState& rs_;
  const Resolver resolver_;
  MemberFiling filing_;
  std::uint32_t first_unreadable_ = 0;  // line of the first record skipped, 0 when none
};

std::string file_name(const run::RunState& rs) { return "'" + rs.files.FNAME[2] + "'"; }

bool Reader::report_impossible() {
  const auto& impossible = rs_.refl.impossible;
  if (impossible.empty()) return true;
  const run::ImpossibleRecord* worst = &impossible.front();
  for (const auto& r : impossible)
    if (r.ratio > worst->ratio) worst = &r;
  const long long total = static_cast<long long>(impossible.size()) + filing_.accepted();
  const auto& c = rs_.ctl.CELLPAR;
  const std::string what =
      std::to_string(impossible.size()) + " OF " + std::to_string(total) +
      " RECORDS LIE BEYOND THE LIMITING SPHERE (LAMBDA/2D > 1)";
  const std::string cell =
      records::format(R"("CELL",3F9.4,3F8.3,", WAVELENGTH",F8.5)", c[0], c[1], c[2], c[3], c[4],
                      c[5], rs_.ctl.WAVE)
          .front();
  const std::string worst_text =
      records::format(R"("WORST",3I5,", LAMBDA/2D",F8.3,", LINE ")", worst->hkl[0], worst->hkl[1],
                      worst->hkl[2], worst->ratio)
          .front() +
      std::to_string(worst->line);
  if (static_cast<double>(impossible.size()) > IMPOSSIBLE_MAX_SHARE * static_cast<double>(total)) {
    run::fatal(rs_, what + ": CHECK THE CELL AND THE WAVELENGTH. " + cell + "; " + worst_text);
    return false;
  }
  run::warn_whole(rs_, what + ", LEFT OUT AS IMPOSSIBLE FOR THE CELL AND WAVELENGTH; " +
                           worst_text);
  return true;
}

bool Reader::report(const RecordFeed::Tail& tail, std::uint32_t end_line) {
  if (filing_.accepted() == 0 && rs_.refl.impossible.empty()) {
    // No data is not a result: the run would finish with nothing averaged.
    std::string text = "NO REFLECTION READ FROM INPUT DATA FILE " + file_name(rs_);
    if (first_unreadable_ != 0) {
      text += ": FIRST UNREADABLE LINE" + line_number(first_unreadable_);
    }
    run::fatal(rs_, text);
    return false;
  }
  if (!report_impossible()) return false;
  // Lines after the end of the data that read as reflections (more than half of what follows
  // the end): the end came too early, at a stray blank line or 0 0 0 record. A listing or a
  // SHELX instruction file after the end says nothing.
  if (tail.reflections > 0 && 2 * tail.reflections >= tail.not_blank) {
    run::warn(rs_, "DATA END AT LINE" + line_number(end_line) +
                       (tail.blank_end ? " (A BLANK LINE): " : " (A 0 0 0 RECORD): ") +
                       std::to_string(tail.reflections) +
                       " LATER LINES READ AS REFLECTIONS WERE IGNORED");
  }
  if (const long long n = filing_.fields_without_point(); n > 0) {
    run::warn(rs_, std::to_string(n) +
                       " F**2 OR SIGMA FIELDS WITHOUT A DECIMAL POINT READ AS HUNDREDTHS "
                       "(SHELX 2F8.2)");
  }
  if (const long long n = filing_.unknown_two_theta(); n > 0) {
    // With a cell the shells take d from the indices; without one, from 2theta.
    run::warn(rs_, std::to_string(n) +
                       " RECORDS WITH 2THETA 0 (NOT KNOWN): LEFT OUT OF THE THETA FIGURES" +
                       (rs_.ctl.IBMAT == 1 ? "" : " AND SHELLS"));
  }
  return true;
}

void Reader::run() {
  std::istream* in = rs_.files.in.get();
  if (in == nullptr) {
    run::fatal(rs_, "Error on reading input datafile at line" + line_number(1));
    return;
  }
  run::ReflectionList& list = rs_.refl;
  const std::size_t expected =
      expected_records(LineSource::remaining_size(*in), rs_.files.INFMT);
  filing_.set_aside();
  list.members.reserve(list.members.size() + expected);
  // The members' storage beyond what the list holds, faulted in ahead by the parsing thread.
  const std::size_t members_before = list.members.size();
  FaultAhead fault_ahead(list.members.data() + members_before,
                         (list.members.capacity() - members_before) * sizeof(run::Member));
  auto filled = [&] { return (list.members.size() - members_before) * sizeof(run::Member); };
  bool fatal = false;
  RecordFeed::Tail tail;
  std::uint32_t end_line = 0;
  {
    RecordFeed feed(rs_, *in, fault_ahead, resolver_);
    // The tables are made once the parsing has started.
    filing_.make_tables(expected);
    while (const ParsedRecord* record = feed.next()) {
      const Parsed parsed = record->parsed;
      if (parsed == Parsed::end_of_data) {
        end_line = record->m.line;
        if (!filing_.flush()) {
          fatal = true;
          break;
        }
        tail = feed.tail_after(end_line);
        break;
      }
      if (parsed == Parsed::twinned) {
        fatal = true;
        if (filing_.flush()) {
          run::fatal(rs_, std::string(TWINNED_DATA_MESSAGE) + line_number(record->m.line));
        }
        break;
      }
      if (parsed == Parsed::unreadable || parsed == Parsed::negative_sigma) {
        // The records before it are filed first: a fatal error among them ends the reading
        // before this record is reached.
        if (!filing_.flush()) {
          fatal = true;
          break;
        }
        if (first_unreadable_ == 0) first_unreadable_ = record->m.line;
        run::warn(rs_, "Error on reading input datafile at line" + line_number(record->m.line) +
                           (parsed == Parsed::negative_sigma ? ": negative sigma" : ""));
        continue;
      }
      // The batch points into the feed's chunk: it is filed before the chunk is given back.
      const bool chunk_end = feed.chunk_done();
      if (!filing_.add(record->m, chunk_end)) {
        fatal = true;
        break;
      }
      if (chunk_end) fault_ahead.reader_at(filled());
    }
    if (!fatal && !filing_.flush()) fatal = true;
  }  // the parsing thread has stopped
  fault_ahead.give_back_beyond(filled());
  // What was filed, up to a fatal error, goes to its sets.
  place_members(list, filing_.finish());
  if (fatal) return;
  if (!report(tail, end_line)) return;
  filing_.swapped().report(rs_);
}

}  // namespace

void read_data(run::RunState& rs, const ReadLimits& limits) {
  Reader reader(rs, limits);
  reader.run();
}

void READ_DATA(run::RunState& rs) { read_data(rs, ReadLimits{}); }

}  // namespace vorlane::input
