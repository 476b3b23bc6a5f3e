#include "run/messages.hpp"

#include <algorithm>
#include <string>
#include <vector>
#include <utility>

#include "records/edit_list.hpp"
#include "run/run_state.hpp"

namespace vorlane::run {
namespace {

// Position (1-based) of the first blank of the first run of `n` blanks; 0 when there is none.
std::size_t first_blank_run(std::string_view text, std::size_t n) {
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    run = text[i] == ' ' ? run + 1 : 0;
    if (run == n) return i + 2 - n;
  }
  return 0;
}

}  // namespace

void set_errmsg(RunState& rs, std::string_view text) {
  std::string& m = rs.msg.ERRMSG;
  m.assign(text.substr(0, std::min(text.size(), ERRMSG_LENGTH)));
  m.resize(ERRMSG_LENGTH, ' ');
}

std::string fatal_box_text(std::string_view errmsg) {
  return std::string(errmsg.substr(0, first_blank_run(errmsg, 5)));
}

std::size_t warning_length(std::string_view errmsg) { return first_blank_run(errmsg, 13); }

void ERROR(RunState& rs) {
  auto& print = rs.files.print;
  if (rs.files.IPRTOPEN == 1 && print.is_open()) {
    static const records::EditList layout(
        R"(/,/,"*****FATAL ERROR:",/,5X,A100,/,/,"*****PROGRAM WILL HALT",/)");
    print.put(layout, std::string_view(rs.msg.ERRMSG));
  }
  rs.msg.IHALT = 1;
  if (rs.dialogs != nullptr) rs.dialogs->fatal_box(fatal_box_text(rs.msg.ERRMSG));
}

std::string warning_kind(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && !(text[end] >= '0' && text[end] <= '9')) ++end;
  while (end > 0 && text[end - 1] == ' ') --end;
  return std::string(text.substr(0, end));
}

void report_warnings_not_shown(RunState& rs) {
  // Taken out first: the summaries are warnings themselves.
  const std::map<std::string, long> kinds = std::move(rs.msg.warning_kinds);
  rs.msg.warning_kinds.clear();
  for (const auto& [kind, given] : kinds) {
    if (given <= WARNINGS_SHOWN_PER_KIND) continue;
    // The count in groups of three digits: "and 999 900 more".
    std::string digits = std::to_string(given - WARNINGS_SHOWN_PER_KIND);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
      digits.insert(static_cast<std::size_t>(at), " ");
    warn(rs, "and " + digits + " more: " + kind);
  }
}

void WARNING(RunState& rs) {
  const std::string_view msg = rs.msg.ERRMSG;
  std::size_t length = warning_length(msg);
  // Beyond the first hundred of a kind a warning is only counted: a million unreadable lines
  // must not make a million blocks (the ledger keeps every record).
  if (++rs.msg.warning_kinds[warning_kind(msg.substr(0, length == 0 ? msg.size() : length))] >
      WARNINGS_SHOWN_PER_KIND)
    return;
  auto& print = rs.files.print;
  if (rs.files.IPRTOPEN == 1 && print.is_open()) {
    length = std::min<std::size_t>(length, 100);
    static const records::EditList layout(
        R"(/,/,"*****WARNING:",/,5X,A100,/,/,"*****PROGRAM WILL CONTINUE",/)");
    print.put(layout, msg.substr(0, length));
  }
  rs.report.warnings.emplace_back(msg.substr(0, length));
  if (rs.dialogs != nullptr) rs.dialogs->warning_box(msg.substr(0, length));
}

void note(RunState& rs, std::string_view text) {
  auto& print = rs.files.print;
  if (rs.files.IPRTOPEN == 1 && print.is_open()) {
    static const records::EditList layout(R"(/,/,"*****NOTE:",/,5X,A,/)");
    print.put(layout, text);
  }
  rs.report.notes.emplace_back(text);
}

void warn_whole(RunState& rs, std::string_view text) {
  set_errmsg(rs, text);
  std::string_view msg = rs.msg.ERRMSG;
  while (!msg.empty() && msg.back() == ' ') msg.remove_suffix(1);
  auto& print = rs.files.print;
  if (rs.files.IPRTOPEN == 1 && print.is_open()) {
    std::vector<std::string_view> pieces;
    std::string_view rest = msg;
    while (rest.size() > 100) {
      std::size_t cut = rest.rfind(' ', 100);
      if (cut == std::string_view::npos || cut == 0) cut = 100;
      pieces.push_back(rest.substr(0, cut));
      rest = rest.substr(cut);
      while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    }
    pieces.push_back(rest);
    static const records::EditList head(R"(/,/,"*****WARNING:")");
    static const records::EditList line(R"(5X,A)");
    static const records::EditList tail(R"(/,"*****PROGRAM WILL CONTINUE",/)");
    print.put(head);
    for (const std::string_view piece : pieces) print.put(line, piece);
    print.put(tail);
  }
  rs.report.warnings.emplace_back(msg);
  if (rs.dialogs != nullptr) rs.dialogs->warning_box(msg);
}

void fatal(RunState& rs, std::string_view text) {
  set_errmsg(rs, text);
  ERROR(rs);
}

void warn(RunState& rs, std::string_view text) {
  set_errmsg(rs, text);
  WARNING(rs);
}

}  // namespace vorlane::run
