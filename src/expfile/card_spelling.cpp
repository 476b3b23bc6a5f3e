#include "expfile/card_spelling.hpp"

#include <array>
#include <cctype>
#include <vector>

#include "expfile/exp_card.hpp"
#include "expfile/exp_reading.hpp"
#include "records/edit_list.hpp"
#include "run/messages.hpp"
#include "run/run_state.hpp"

namespace vorlane::expfile {
namespace {

constexpr std::array<std::string_view, 7> CARD_NAMES{"TITLE", "CELL",   "WAVEL", "UB",
                                                     "UBL",   "BLAXES", "VORLAN"};

// Control-card keywords with the column their first occurrence must start at or after.
struct Keyword {
  std::string_view word;
  int from;
};
constexpr std::array<Keyword, 14> KEYWORDS{{{"SYMOP", 6},
                                            {"UNITIN", 5},
                                            {"LAUE", 5},
                                            {"SPACEGROUP", 6},
                                            {"OUTLIER", 7},
                                            {"BLESSING", 3},
                                            {"OUTPUT", 5},
                                            {"ABSENT", 5},
                                            {"LESSTHAN", 3},
                                            {"2THETA", 5},
                                            {"SCALE", 2},
                                            {"FRIEDEL", 1},
                                            {"OPENING", 1},
                                            {"SIGMA", 1}}};
// Words that follow keywords; never taken for a misspelt keyword.
constexpr std::array<std::string_view, 13> VALUE_WORDS{
    "SYMMETRY", "DAC", "NONE", "INDIVIDUAL", "NOSINGLET", "REJECT", "INCLUDE", "MAX", "MIN",
    "NOFLIP", "AXIS", "MEAN", "SPREAD"};

bool is_card(const std::string& card) {
  return card.starts_with("TITLE") || card.starts_with("CELL") || is_wavel_card(card) ||
         card.starts_with("UB") || card.starts_with("BLAXES") || card.starts_with("VORLAN");
}

std::vector<std::string> words_of(std::string_view text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t b = text.find_first_not_of(' ', i);
    if (b == std::string_view::npos) break;
    const std::size_t e = std::min(text.find(' ', b), text.size());
    words.emplace_back(text.substr(b, e - b));
    i = e;
  }
  return words;
}

void warn_line(run::RunState& rs, const ExpReading& rd, const std::string& what) {
  run::warn(rs, records::format(R"("EXP FILE LINE",I5,": ")", rd.line).front() + what + ": " +
                    card_for_message(rd.card));
}

void check_control_card(run::RunState& rs, const ExpReading& rd) {
  bool known = false;
  for (const Keyword& k : KEYWORDS) known = known || column_after(rd.card, k.word, k.from) != 0;
  if (!known) {
    warn_line(rs, rd, "NO KNOWN KEYWORD, CARD IGNORED");
    return;
  }
  for (const std::string& w : words_of(from_column(rd.card, 7))) {
    if (w.size() < 4 || std::isalpha(static_cast<unsigned char>(w[0])) == 0) continue;
    bool exact = false;
    for (const Keyword& k : KEYWORDS) exact = exact || w == k.word;
    for (const std::string_view v : VALUE_WORDS) exact = exact || w == v;
    if (exact) continue;
    for (const Keyword& k : KEYWORDS) {
      if (one_letter_away(w, k.word)) {
        warn_line(rs, rd, w + " IS NO KEYWORD (" + std::string(k.word) + "?), IGNORED");
        return;
      }
    }
  }
}

}  // namespace

bool one_letter_away(std::string_view a, std::string_view b) {
  if (a == b) return false;
  if (a.size() == b.size()) {
    std::vector<std::size_t> diff;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (a[i] != b[i]) diff.push_back(i);
    if (diff.size() == 1) return true;
    return diff.size() == 2 && diff[1] == diff[0] + 1 && a[diff[0]] == b[diff[1]] &&
           a[diff[1]] == b[diff[0]];
  }
  const std::string_view& longer = a.size() > b.size() ? a : b;
  const std::string_view& shorter = a.size() > b.size() ? b : a;
  if (longer.size() != shorter.size() + 1) return false;
  std::size_t i = 0;
  while (i < shorter.size() && shorter[i] == longer[i]) ++i;
  return shorter.substr(i) == longer.substr(i + 1);
}

std::string card_for_message(std::string_view card) {
  std::string out;
  for (const char c : card) {
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

void warn_values_not_read(run::RunState& rs, const ExpReading& rd) {
  warn_line(rs, rd, "VALUES NOT READ");
}

void check_card_spelling(run::RunState& rs, const ExpReading& rd) {
  if (rd.card.starts_with("VORLAN")) {
    check_control_card(rs, rd);
    return;
  }
  if (is_card(rd.card)) return;
  const std::vector<std::string> words = words_of(rd.card);
  if (words.empty()) return;
  const std::string& first = words.front();
  if (first.starts_with("WAVEL")) {
    warn_line(rs, rd, "NOT A WAVEL CARD (COLUMN 6 MUST BE BLANK), IGNORED");
    return;
  }
  if (first.size() < 2) return;
  for (const std::string_view name : CARD_NAMES) {
    if (one_letter_away(first, name)) {
      warn_line(rs, rd, "NOT A CARD (" + std::string(name) + "?), IGNORED");
      return;
    }
  }
}

}  // namespace vorlane::expfile
