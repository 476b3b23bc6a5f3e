#include "input/after_reading_checks.hpp"

#include <array>
#include <string>

#include "records/edit_list.hpp"
#include "run/messages.hpp"
#include "run/run_state.hpp"

namespace vorlane::input {
namespace {

// Merged data have one measurement per set; a few hundred sets make that a pattern, not chance.
constexpr int MERGED_MIN_SETS = 100;
// A lattice shows in the data when nearly all strong reflections (F squared above five of its
// sigmas) obey its condition: for a primitive lattice about half (C, A, B, I), a third (R) or
// three quarters (F) of them would not.
constexpr int CENTRING_MIN_STRONG = 50;
constexpr float CENTRING_MAX_BREAKING = 0.01f;

struct Lattice {
  char letter;
  bool (*allows)(int h, int k, int l);
};

bool even(int n) { return n % 2 == 0; }

constexpr std::array<Lattice, 6> LATTICES{{
    {'F', [](int h, int k, int l) { return even(h + k) && even(h + l) && even(k + l); }},
    {'I', [](int h, int k, int l) { return even(h + k + l); }},
    {'R', [](int h, int k, int l) { return (-h + k + l) % 3 == 0; }},
    {'C', [](int h, int k, int) { return even(h + k); }},
    {'A', [](int, int k, int l) { return even(k + l); }},
    {'B', [](int h, int, int l) { return even(h + l); }},
}};

void check_merged(run::RunState& rs) {
  const auto& refl = rs.refl;
  if (refl.NSET() < MERGED_MIN_SETS) return;
  for (const auto& s : refl.sets)
    if (s.NEQ != 1) return;
  run::warn(rs, "ALL" + records::format_I(refl.NSET(), 7) +
                    " SETS HAVE ONE MEMBER: THE DATA LOOK ALREADY MERGED, R(INT) MEANS NOTHING");
}

void check_centring(run::RunState& rs) {
  if (rs.ctl.LAUECLS == 0) return;
  int strong = 0;
  std::array<int, LATTICES.size()> breaking{};
  for (const auto& m : rs.refl.members) {
    if (!(m.FSQ > 5.0f * m.SIGFSQ)) continue;
    ++strong;
    for (std::size_t t = 0; t < LATTICES.size(); ++t)
      if (!LATTICES[t].allows(m.IHKL[0], m.IHKL[1], m.IHKL[2])) ++breaking[t];
  }
  if (strong < CENTRING_MIN_STRONG) return;
  for (std::size_t t = 0; t < LATTICES.size(); ++t) {
    if (static_cast<float>(breaking[t]) <= CENTRING_MAX_BREAKING * static_cast<float>(strong)) {
      run::warn(rs, std::string("THE ABSENCES SHOW A ") + LATTICES[t].letter +
                        "-CENTRED LATTICE, WHICH A LAUE CARD IGNORES: GIVE THE GROUP BY SPACEGROUP");
      return;
    }
  }
}

}  // namespace

void check_data_as_read(run::RunState& rs) {
  check_merged(rs);
  check_centring(rs);
}

}  // namespace vorlane::input
