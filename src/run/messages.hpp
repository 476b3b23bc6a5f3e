#pragma once
// Fatal errors and warnings: a block in the print file, the halt flag, and a box for the user.
#include <map>
#include <string>
#include <string_view>

namespace vorlane::run {

struct RunState;

inline constexpr std::size_t ERRMSG_LENGTH = 255;

// Warnings of one kind shown (print file, box, terminal) before the rest are only counted.
inline constexpr long WARNINGS_SHOWN_PER_KIND = 100;

struct MessageState {
  std::string ERRMSG = std::string(ERRMSG_LENGTH, ' ');
  int IHALT = 0;
  // Warnings given so far, by kind (the text before its first digit).
  std::map<std::string, long> warning_kinds;
};

// Puts `text` into ERRMSG, blank-padded (or cut) to 255 characters.
void set_errmsg(RunState& rs, std::string_view text);

// Fatal: print-file block, IHALT = 1, fatal-error box. The caller returns at once afterwards.
void ERROR(RunState& rs);
// Recoverable: print-file block (right-justified text), warning box; the work goes on.
void WARNING(RunState& rs);

// A note: something the run did that the user may want to know about but that is not a
// problem (no box, ERRMSG untouched). A block in the print file, "*****NOTE:" and the text on
// the next line, and the text kept in the run's list of notes, which the front ends show
// after the run.
void note(RunState& rs, std::string_view text);

// For each kind of warning given more than WARNINGS_SHOWN_PER_KIND times, one warning saying
// how many more there were ("and 999 900 more: ..."). Called once, at the end of a run.
void report_warnings_not_shown(RunState& rs);

// The kind of a warning: its text before the first digit, without trailing blanks (a line
// number, a count or a value is what differs between warnings of one kind).
std::string warning_kind(std::string_view text);

// set_errmsg followed by ERROR / WARNING.
void fatal(RunState& rs, std::string_view text);
void warn(RunState& rs, std::string_view text);
// A warning that must be shown whole (up to 255 characters, two cells side by side): the
// print-file block holds the text in as many records of up to 100 columns as it needs, each
// broken at a blank, and the box shows all of it.
void warn_whole(RunState& rs, std::string_view text);

// The text the fatal-error box shows: up to and including the first blank of the first run
// of five blanks (nothing when there is none).
std::string fatal_box_text(std::string_view errmsg);
// L of a warning: the position of the first blank of the first run of 13 blanks (0 if none).
std::size_t warning_length(std::string_view errmsg);

}  // namespace vorlane::run
