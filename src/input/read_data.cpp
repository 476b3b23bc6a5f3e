#include "input/read_data.hpp"

#include <cmath>
#include <string>

#include "input/get_2theta.hpp"
#include "input/input_record.hpp"
#include "input/line_source.hpp"
#include "input/make_sets_contiguous.hpp"
#include "input/set_index.hpp"
#include "input/swapped_listing.hpp"
#include "records/edit_list.hpp"
#include "run/messages.hpp"
#include "symmetry/asind.hpp"

namespace vorlane::input {

namespace {

// One accepted measurement, ready to be filed.
struct Measurement {
  std::array<int, 3> h{};
  float fsq = 0.0f;
  float sigfsq = 0.0f;
  std::array<float, 3> refang{};
  float itag = 0.0f;
  float aux = 0.0f;
};

enum class Parsed { measurement, unreadable, end_of_data };

// A measurement with its representative, waiting to be filed. Records are filed in small
// batches: the table slots of a whole batch are requested from memory together, so the
// lookups of random indices overlap instead of waiting one after another. Filing stays in
// reading order, and every message comes where the record-by-record reading gives it.
struct Pending {
  Measurement m;
  std::array<int, 3> k{};  // representative, sign-reversed under FRIEDEL NOFLIP
  int isym = 0;
};

constexpr std::size_t BATCH = 32;

// Steps 1 to 3 of one record: read it, and turn it into F squared, its sigma and the angles.
Parsed parse_record(const run::RunState& rs, std::string_view text, Measurement& m) {
  InputRecord r;
  if (rs.files.INFMT == 1) {
    if (!parse_shelx_record(text, r)) return Parsed::unreadable;
    // The 0 0 0 record closes a SHELX file; whatever follows it is not data.
    if (r.h[0] == 0 && r.h[1] == 0 && r.h[2] == 0) return Parsed::end_of_data;
    float tth = 0.0f;
    int ierr = 0;
    GET_2THETA(rs, r.cosines, r.h, tth, ierr);
    m.h = r.h;
    m.fsq = r.value;
    m.sigfsq = r.sigma;
    m.refang = {ierr == 0 ? tth : 0.0f, 0.0f, 0.0f};
    m.itag = 0.0f;
    m.aux = 0.0f;
    return Parsed::measurement;
  }
  if (!parse_zezor_record(text, r)) return Parsed::unreadable;
  m.h = r.h;
  // Zezor files hold amplitudes; a vanishing or negative F carries no intensity and gets a
  // unit sigma.
  if (r.value > 0.001f) {
    m.fsq = r.value * r.value;
    m.sigfsq = 2.0f * r.sigma * r.value;
  } else {
    m.fsq = 0.0f;
    m.sigfsq = 1.0f;
  }
  // An amplitude whose square overflows single precision cannot be averaged: the record is
  // as unusable as one that does not read.
  if (!std::isfinite(m.fsq) || !std::isfinite(m.sigfsq)) return Parsed::unreadable;
  m.refang = {r.angles[0], r.angles[1], r.angles[2]};
  m.itag = r.angles[3];
  m.aux = r.aux;
  return Parsed::measurement;
}

std::string i5(int n) { return records::format_I(n, 5); }

// Room for the members of a file of `bytes` bytes: the shortest usual record (a SHELX record
// without batch number, 28 columns and a line end) bounds the count. Only the part that is
// filled is ever touched.
std::size_t expected_records(std::size_t bytes, int infmt) {
  return bytes / (infmt == 1 ? 29 : 60) + 16;
}

class Reader {
 public:
  Reader(run::RunState& rs, const ReadLimits& limits)
      : rs_(rs), limits_(limits), list_(rs.refl) {}

  void run();

 private:
  // Steps 4 to 8 for one measurement. False after a fatal error.
  bool file(Pending& p);
  // Files the pending batch in order. False after a fatal error.
  bool flush();
  void index_existing_sets();

  run::RunState& rs_;
  const ReadLimits& limits_;
  run::ReflectionList& list_;
  SetIndex index_;
  std::vector<std::uint32_t> set_of_;  // set of every member, in reading order
  std::vector<int> neq_;               // NEQ of every set while reading (compact, hot)
  SwappedReflections swapped_;
  std::array<Pending, BATCH> batch_;
  std::size_t pending_ = 0;
  int n_ = 0;  // records accepted so far
};

void Reader::index_existing_sets() {
  // The list is empty at the start of a run; sets already present keep their places (their
  // members are contiguous in set order) and are found like new ones.
  set_of_.assign(list_.members.size(), 0);
  for (std::uint32_t s = 0; s < list_.sets.size(); ++s) {
    const run::EquivSet& set = list_.sets[s];
    index_.insert(list_.member(set, 1).IHKL, s);
    neq_.push_back(set.NEQ);
    for (int j = 0; j < set.NEQ; ++j) set_of_[set.first + static_cast<std::uint32_t>(j)] = s;
  }
}

bool Reader::file(Pending& p) {
  Measurement& m = p.m;
  m.refang[0] = std::fabs(m.refang[0]);
  n_ = n_ + 1;
  if (m.sigfsq < 0.00001f && m.fsq > 0.0001f) {
    run::fatal(rs_, "Reflection on line" + i5(n_) + " has sig = 0");
    return false;
  }
  if (p.isym == 0) {
    run::fatal(rs_, "Error transforming reflection #" + i5(n_) + " Check SYMOP cards");
    return false;
  }
  // Reached through the Friedel mate and merged with it (without FRIEDEL NOFLIP): listed.
  if (p.isym < 0 && rs_.ctl.INOFLIP != 1) swapped_.add(m.h, limits_.max_swapped);
  const std::array<int, 3>& k = p.k;
  run::Member member;
  member.FSQ = m.fsq;
  member.SIGFSQ = m.sigfsq;
  member.REFANG = m.refang;
  member.ITAG = m.itag;
  std::uint32_t s = index_.find(k);
  if (s != SetIndex::NOT_FOUND) {
    int& neq = neq_[s];
    if (neq + 1 > limits_.max_members) {
      // The set's indices are its member 1's: the representative just looked up.
      run::fatal(rs_, "Reflection" + records::format_I(k[0], 3) + records::format_I(k[1], 3) +
                          records::format_I(k[2], 3) + " has more than " +
                          records::format_I(limits_.max_members, 3) + " equivalents");
      return false;
    }
    neq = neq + 1;
    member.IHKL = m.h;  // a later member keeps its indices as read
  } else {
    if (list_.NSET() + 1 > limits_.max_sets) {
      run::fatal(rs_, "PROGRAM HALTED - ARRAY BOUNDS EXCEEDED");
      return false;
    }
    s = static_cast<std::uint32_t>(list_.sets.size());
    run::EquivSet set;
    set.AUXVAL = m.aux;
    list_.sets.push_back(set);
    neq_.push_back(1);
    index_.insert(k, s);
    member.IHKL = k;  // member 1 carries the representative
  }
  list_.members.push_back(member);
  set_of_.push_back(s);
  return true;
}

bool Reader::flush() {
  for (std::size_t i = 0; i < pending_; ++i) {
    if (!file(batch_[i])) {
      pending_ = 0;
      return false;
    }
  }
  pending_ = 0;
  return true;
}

void Reader::run() {
  std::istream* in = rs_.files.in.get();
  if (in == nullptr) {
    run::fatal(rs_, "Error on reading input datafile at line" + i5(1));
    return;
  }
  index_existing_sets();
  const std::size_t expected =
      expected_records(LineSource::remaining_size(*in), rs_.files.INFMT);
  list_.members.reserve(list_.members.size() + expected);
  set_of_.reserve(set_of_.size() + expected);

  LineSource lines(*in);
  std::string_view text;
  bool fatal = false;
  while (lines.next(text)) {
    Pending& p = batch_[pending_];
    const Parsed parsed = parse_record(rs_, text, p.m);
    if (parsed == Parsed::end_of_data) break;
    if (parsed == Parsed::unreadable) {
      // The records before it are filed first: a fatal error among them ends the reading
      // before this record is reached, and the warning counts them.
      if (!flush()) {
        fatal = true;
        break;
      }
      run::warn(rs_, "Error on reading input datafile at line" + i5(n_ + 1));
      continue;
    }
    // The representative depends on nothing filed before, so it can be found ahead.
    symmetry::ASIND(rs_.sg, p.m.h, p.k, p.isym);
    if (p.isym < 0 && rs_.ctl.INOFLIP == 1) {
      // Kept apart from its Friedel mate: the sign-reversed representative opens sets of its
      // own.
      p.k = {-p.k[0], -p.k[1], -p.k[2]};
    }
    index_.prefetch(p.k);
    if (++pending_ == BATCH && !flush()) {
      fatal = true;
      break;
    }
  }
  if (!fatal && !flush()) fatal = true;
  // What was filed, up to a fatal error, goes to its sets.
  for (std::size_t s = 0; s < list_.sets.size(); ++s) list_.sets[s].NEQ = neq_[s];
  make_sets_contiguous(list_, set_of_);
  if (!fatal) swapped_.report(rs_);
}

}  // namespace

void read_data(run::RunState& rs, const ReadLimits& limits) {
  Reader reader(rs, limits);
  reader.run();
}

void READ_DATA(run::RunState& rs) { read_data(rs, ReadLimits{}); }

}  // namespace vorlane::input
