#include "input/member_placement.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <future>
#include <system_error>
#include <thread>
#include <utility>

#include "input/measurement.hpp"
#include "input/staged_member.hpp"
#include "run/two_halves.hpp"

namespace vorlane::input {

void place_members(run::ReflectionList& list, FiledMembers& filed) {
  run::LargeArray<run::Member>& members = list.members;
  list.sets.reserve(filed.neq.size());
  for (float aux : filed.new_set_aux) {
    run::EquivSet set;
    set.AUXVAL = aux;
    list.sets.push_back(set);
  }
  std::vector<float>().swap(filed.new_set_aux);
  const std::size_t nsets = list.sets.size();
  // The members of each set, counted over the two halves of the list at once for a long
  // list (the second half's counts are added to the first's).
  std::vector<int> later_half;
  run::in_two_halves(members.size(), nsets >= run::TWO_HALVES_MIN,
                     [&](std::size_t from, std::size_t to) {
                       std::vector<int>& count = from == 0 ? filed.neq : later_half;
                       if (from != 0) count.assign(nsets, 0);
                       for (std::size_t i = from; i < to; ++i) ++count[staged_set(members[i])];
                     });
  for (std::size_t s = 0; s < later_half.size(); ++s) filed.neq[s] += later_half[s];
  // Each set's new members take a stretch of the list, after the stretches of the sets before
  // it.
  std::vector<std::uint32_t> start(nsets + 1);
  std::uint32_t next = 0;
  for (std::size_t s = 0; s < nsets; ++s) {
    start[s] = next;
    next += static_cast<std::uint32_t>(filed.neq[s]);
  }
  start[nsets] = next;
  // Every member into its set's stretch, in place, by the bits of its set number from the
  // highest: the sets [lo, hi) form at most 64 groups of neighbouring sets, and a member found
  // outside its group's stretch is swapped with the one at that group's cursor. Few groups
  // keep every cursor's stream in the cache. Once a group's stretch holds exactly its members
  // it is placed set by set through a buffer when it is small (below), else divided the same
  // way; single sets then go back to reading order (line numbers rise with it) and get their
  // indices.
  auto order = [](const run::Member& a, const run::Member& b) { return a.line < b.line; };
  auto finish_set = [&](std::size_t s) {
    const auto first = members.begin() + static_cast<std::ptrdiff_t>(start[s]);
    const auto last = members.begin() + static_cast<std::ptrdiff_t>(start[s + 1]);
    if (last - first <= 16) {
      // Insertion sort: a set holds a handful of members. A member out of order is lifted
      // out once and the ones before it that follow it move up a place each.
      for (auto i = first + (first != last ? 1 : 0); i < last; ++i) {
        if (!order(*i, *(i - 1))) continue;
        const run::Member lifted = *i;
        auto j = i;
        do {
          *j = *(j - 1);
          --j;
        } while (j != first && order(lifted, *(j - 1)));
        *j = lifted;
      }
    } else {
      std::sort(first, last, order);
    }
    for (auto i = first; i != last; ++i) i->IHKL = i->hkl_read;
    // Member 1 of a set this reading opened holds the representative.
    if (s >= filed.existing_sets && first != last)
      first->IHKL = filed.new_set_rep[s - filed.existing_sets];
  };
  // The shift of set numbers and the number of groups (at most 64) of a stretch of n sets.
  auto groups_of = [](std::size_t n) {
    const int shift = std::max(static_cast<int>(std::bit_width(n - 1)) - 6, 0);
    return std::pair<int, std::size_t>(shift, ((n - 1) >> shift) + 1);
  };
  // Divides the stretch of sets [lo, hi) into at most 64 groups; `then` is called with each
  // group's sets [a, b) once the group's stretch holds exactly its members.
  auto divide = [&](std::size_t lo, std::size_t hi, auto&& then) {
    const auto [shift, ngroups] = groups_of(hi - lo);
    std::array<std::uint32_t, 64> cursor{};
    std::array<std::uint32_t, 64> end{};
    for (std::size_t g = 0; g < ngroups; ++g) {
      cursor[g] = start[lo + (g << shift)];
      end[g] = start[std::min(lo + ((g + 1) << shift), hi)];
    }
    for (std::size_t g = 0; g < ngroups; ++g) {
      while (cursor[g] < end[g]) {
        const std::size_t t = (staged_set(members[cursor[g]]) - lo) >> shift;
        if (t == g) {
          ++cursor[g];
        } else {
          std::swap(members[cursor[g]], members[cursor[t]]);
          ++cursor[t];
          // The member that the next swap into this group will meet, requested ahead.
          if (cursor[t] + 16 < end[t]) __builtin_prefetch(&members[cursor[t] + 16], 1);
        }
      }
      then(lo + (g << shift), std::min(lo + ((g + 1) << shift), hi));
    }
  };
  // A group of sets whose members take up to a couple of megabytes is placed at once: its
  // members are copied to their sets' stretches of a buffer of the thread's own, in one pass,
  // and back. A larger one is divided further.
  constexpr std::size_t SCATTER_MAX = std::size_t{1} << 16;  // members
  struct Scatter {
    std::vector<run::Member> buffer;
    std::vector<std::uint32_t> cursor;
  };
  auto place = [&](auto& self, Scatter& own, std::size_t lo, std::size_t hi) -> void {
    const std::size_t first = start[lo];
    const std::size_t count = start[hi] - first;
    if (hi - lo == 1) {
      finish_set(lo);
    } else if (count > SCATTER_MAX) {
      divide(lo, hi, [&](std::size_t a, std::size_t b) { self(self, own, a, b); });
    } else {
      if (own.buffer.size() < count) own.buffer.resize(count);
      own.cursor.resize(hi - lo);
      for (std::size_t s = lo; s < hi; ++s) own.cursor[s - lo] = start[s] - start[lo];
      for (std::size_t i = first; i < first + count; ++i) {
        own.buffer[own.cursor[staged_set(members[i]) - lo]++] = members[i];
      }
      std::copy(own.buffer.begin(), own.buffer.begin() + static_cast<std::ptrdiff_t>(count),
                members.begin() + static_cast<std::ptrdiff_t>(first));
      for (std::size_t s = lo; s < hi; ++s) finish_set(s);
    }
  };
  if (nsets == 1) {
    finish_set(0);
  } else if (nsets > 1) {
    // The first division runs over the whole list, one group after another. A group's
    // stretch, once it holds exactly its members, is touched by no later step of the division
    // (the members left in the later stretches all belong to later groups), and the groups
    // touch disjoint stretches of the list. So for a long list a second thread places each
    // group as soon as it is complete, while the division goes on; this thread joins in
    // once the division is done. Each group is taken by one thread.
    const std::size_t ngroups = groups_of(nsets).second;
    std::array<std::pair<std::size_t, std::size_t>, 64> groups{};
    std::atomic<std::size_t> complete{0};  // groups complete, in order
    std::atomic<std::size_t> taken{0};     // groups taken by a placing thread
    auto place_complete_groups = [&] {
      Scatter own;
      for (std::size_t g = taken.fetch_add(1); g < ngroups; g = taken.fetch_add(1)) {
        // The division completes a group every few hundred microseconds.
        for (int i = 1; complete.load(std::memory_order_acquire) <= g; ++i) {
          spin_pause();
          if (i % 256 == 0) std::this_thread::yield();
        }
        place(place, own, groups[g].first, groups[g].second);
      }
    };
    std::future<void> helper;
    if (nsets >= run::TWO_HALVES_MIN) {
      try {
        helper = std::async(std::launch::async, place_complete_groups);
      } catch (const std::system_error&) {
        // All placed below, on this thread.
      }
    }
    std::size_t made = 0;
    divide(0, nsets, [&](std::size_t a, std::size_t b) {
      groups[made] = {a, b};
      complete.store(++made, std::memory_order_release);
    });
    place_complete_groups();
    if (helper.valid()) helper.get();
  }
  std::vector<run::Indices>().swap(filed.new_set_rep);
  if (filed.existing_sets == 0) {
    for (std::size_t s = 0; s < nsets; ++s) {
      list.sets[s].first = start[s];
      list.sets[s].NEQ = filed.neq[s];
    }
    return;
  }
  // Sets that were in the list before keep their own members first, then the new ones.
  run::LargeArray<run::Member> merged;
  merged.reserve(filed.existing_members.size() + members.size());
  for (std::size_t s = 0; s < nsets; ++s) {
    run::EquivSet& set = list.sets[s];
    const auto at = static_cast<std::uint32_t>(merged.size());
    if (s < filed.existing_sets) {
      const auto old_first =
          filed.existing_members.begin() + static_cast<std::ptrdiff_t>(set.first);
      merged.insert(merged.end(), old_first, old_first + set.NEQ);
    }
    merged.insert(merged.end(), members.begin() + static_cast<std::ptrdiff_t>(start[s]),
                  members.begin() + static_cast<std::ptrdiff_t>(start[s + 1]));
    set.first = at;
    set.NEQ = static_cast<int>(merged.size() - at);
  }
  members.swap(merged);
  run::LargeArray<run::Member>().swap(filed.existing_members);
  // Angle values of earlier readings come first; keep the side table in line order.
  std::stable_sort(list.record_angles.begin(), list.record_angles.end(),
                   [](const run::RecordAngles& x, const run::RecordAngles& y) {
                     return x.line < y.line;
                   });
}

}  // namespace vorlane::input
