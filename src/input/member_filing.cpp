#include "input/member_filing.hpp"

#include <cmath>
#include <stdexcept>

#include "input/staged_member.hpp"
#include "records/edit_list.hpp"
#include "run/messages.hpp"

namespace vorlane::input {

namespace {

run::Indices narrow(const std::array<int, 3>& h) {
  if (!HklCache::packable(h)) throw std::logic_error("indices beyond the input fields");
  return run::Indices(h);
}

// Reflections, sets and members of a set are counted in int throughout the run.
constexpr std::size_t MAX_COUNT = 2147483647;

}  // namespace

std::string line_number(long long n) {
  if (n >= -9999 && n <= 99999) return records::format_I(static_cast<int>(n), 5);
  return " " + std::to_string(n);
}

MemberFiling::MemberFiling(run::RunState& rs, const ReadLimits& limits, const Resolver& resolver)
    : rs_(rs),
      limits_(limits),
      list_(rs.refl),
      zezor_(rs.files.INFMT != 1),
      resolver_(resolver),
      sphere_(rs) {}

void MemberFiling::set_aside() {
  // The list is empty at the start of a run; sets already present keep their places and
  // their members, and are found like new ones.
  filed_.existing_sets = list_.sets.size();
  filed_.neq.assign(filed_.existing_sets, 0);
  if (filed_.existing_sets > 0) filed_.existing_members.swap(list_.members);
}

void MemberFiling::make_tables(std::size_t expected) {
  // The tables start near the size a data set of this length usually needs (each
  // reflection measured as a few equivalents, each several times), so that they seldom
  // grow.
  index_ = SetIndex(expected / 16);
  for (std::uint32_t s = 0; s < filed_.existing_sets; ++s) {
    index_.insert(filed_.existing_members[list_.sets[s].first].IHKL, s);
  }
  cache_ = HklCache(expected / 4);
}

bool MemberFiling::add(const Measurement& m, bool chunk_end) {
  Pending& p = batch_[pending_];
  p.m = &m;
  p.cacheable = HklCache::packable(m.h);
  if (p.cacheable) {
    p.packed = HklCache::pack(m.h);
    cache_.prefetch(p.packed);
  }
  if (++pending_ == BATCH || chunk_end) return flush();
  return true;
}

FiledMembers& MemberFiling::finish() {
  // The lookup tables are done with: their memory goes before the sets are made.
  index_ = SetIndex();
  cache_ = HklCache();
  return filed_;
}

bool MemberFiling::file(Pending& p) {
  const Measurement& m = *p.m;
  HklCache::Entry* entry = nullptr;
  if (p.cacheable) {
    entry = p.entry != nullptr && p.generation == cache_.generation() ? p.entry
                                                                      : cache_.find(p.packed);
  }
  // Indices met before passed this test then (an impossible triple never enters the cache).
  if (entry == nullptr && sphere_.known()) {
    const double ratio = sphere_.ratio(m.h);
    if (ratio > 1.0) {
      list_.impossible.push_back({m.line, narrow(m.h), static_cast<std::int16_t>(m.batch),
                                  m.fsq, m.sigfsq, static_cast<float>(ratio)});
      return true;
    }
  }
  n_ = n_ + 1;
  without_point_ += m.without_point;
  if (zezor_ && m.refang[0] == 0.0f) ++unknown_tth_;
  if (m.sigfsq < 0.00001f && m.fsq > 0.0001f) {
    run::fatal(rs_, "Reflection on line" + line_number(m.line) + " has sig = 0");
    return false;
  }
  // Storage grows with the data; only the counts themselves (int, like every count of the
  // run) bound it.
  if (list_.members.size() >= MAX_COUNT) {
    run::fatal(rs_, "PROGRAM HALTED - MORE THAN 2147483647 REFLECTIONS");
    return false;
  }
  run::Member member;
  member.hkl_read = narrow(m.h);
  member.batch = static_cast<std::int16_t>(m.batch);  // a four-column field
  member.line = m.line;
  member.FSQ = m.fsq;
  member.SIGFSQ = m.sigfsq;
  std::uint32_t s = 0;
  if (entry != nullptr) {
    // Seen before: its set exists, and this is a later member of it.
    s = entry->set;
    if ((entry->key & HklCache::FRIEDEL) != 0 && rs_.ctl.INOFLIP != 1) {
      swapped_.add(m.h, limits_.max_swapped);
    }
  } else {
    if (!p.searched) search(p);
    const std::array<int, 3>& k = p.k;
    const int isym = p.isym;
    if (isym == 0) {
      run::fatal(rs_, "Error transforming reflection #" + line_number(n_) + " Check SYMOP cards");
      return false;
    }
    // Reached through the Friedel mate and merged with it (without FRIEDEL NOFLIP): listed.
    if (isym < 0 && rs_.ctl.INOFLIP != 1) swapped_.add(m.h, limits_.max_swapped);
    s = index_.find(k);
    if (s == SetIndex::NOT_FOUND) {
      s = static_cast<std::uint32_t>(filed_.neq.size());
      filed_.new_set_aux.push_back(m.aux);
      filed_.new_set_rep.push_back(narrow(k));  // member 1 carries the representative
      filed_.neq.push_back(0);
      index_.insert(k, s);
    }
    if (p.cacheable) entry = &cache_.insert(p.packed, s, isym < 0 ? HklCache::FRIEDEL : 0);
  }
  float tth = m.refang[0];
  if (m.tth_from_cell) {
    if (entry != nullptr && (entry->key & HklCache::TTH_KNOWN) != 0) {
      tth = entry->tth;
    } else {
      if (p.tth_known) {
        tth = p.tth;
      } else {
        tth = resolver_.cell_tth(m.h);
      }
      if (entry != nullptr) {
        entry->key |= HklCache::TTH_KNOWN;
        entry->tth = tth;
      }
    }
  }
  member.REFANG = {std::fabs(tth)};
  if (zezor_) list_.record_angles.push_back({m.line, {m.refang[1], m.refang[2]}, m.itag});
  stage(member, s);
  list_.members.push_back(member);
  return true;
}

void MemberFiling::search(Pending& p) const {
  const Measurement& m = *p.m;
  if (m.resolved) {
    p.k = m.k;
    p.isym = m.isym;
  } else {
    resolver_.search(m.h, p.k, p.isym);
  }
  p.searched = true;
  p.tth_known = m.tth_from_cell;
  if (p.tth_known) p.tth = m.resolved ? m.tth_cell : resolver_.cell_tth(m.h);
}

bool MemberFiling::flush() {
  // Ahead of filing: the representatives (and 2theta from the cell) of indices the cache
  // does not know yet, with the slots of their sets requested from memory. (Indices met twice
  // in one batch are worked out twice; neither calculation has effects.)
  for (std::size_t i = 0; i < pending_; ++i) {
    Pending& p = batch_[i];
    p.searched = false;
    p.tth_known = false;
    p.entry = nullptr;
    if (p.cacheable) {
      p.entry = cache_.find(p.packed);
      p.generation = cache_.generation();
      if (p.entry != nullptr) continue;
    }
    search(p);
    index_.prefetch(p.k);
  }
  for (std::size_t i = 0; i < pending_; ++i) {
    if (!file(batch_[i])) {
      pending_ = 0;
      return false;
    }
  }
  pending_ = 0;
  return true;
}

}  // namespace vorlane::input
