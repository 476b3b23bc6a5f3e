#include "frontend/exp_file_editor_model.hpp"

#include <algorithm>
#include <charconv>

namespace vorlane::frontend {
namespace {

std::string upper(std::string_view s) {
  std::string u(s);
  for (char& c : u)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return u;
}

bool starts(std::string_view upper_card, std::string_view prefix) {
  return upper_card.substr(0, prefix.size()) == prefix;
}

bool is_control(std::string_view upper_card) { return starts(upper_card, "VORLAN"); }

// Keywords are searched behind the card name in columns 1-6, as the reader finds them.
std::size_t keyword_at(std::string_view upper_card, std::string_view keyword) {
  if (upper_card.size() <= 6) return std::string_view::npos;
  const auto at = upper_card.find(keyword, 6);
  return at;
}
bool has(std::string_view upper_card, std::string_view word) {
  return keyword_at(upper_card, word) != std::string_view::npos;
}

std::string trim(std::string_view s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string_view::npos) return {};
  const auto e = s.find_last_not_of(" \t");
  return std::string(s.substr(b, e - b + 1));
}

// Free-format items: separated by blanks or commas, a slash ends the list.
std::vector<std::string> items(std::string_view s) {
  std::vector<std::string> out;
  std::string cur;
  for (char c : s) {
    if (c == '/') break;
    if (c == ' ' || c == ',' || c == '\t') {
      if (!cur.empty()) out.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}

std::string item_after(const std::string& text, const std::string& upper_card,
                       std::string_view keyword, std::size_t width = std::string::npos) {
  const auto at = keyword_at(upper_card, keyword);
  if (at == std::string::npos) return {};
  const auto from = at + keyword.size();
  if (from >= text.size()) return {};
  const auto list = items(std::string_view(text).substr(from, width));
  return list.empty() ? std::string() : list.front();
}

bool is_number(const std::string& s) {
  if (s.empty()) return false;
  double v = 0.0;
  const char* b = s.data();
  const char* e = b + s.size();
  if (*b == '+') ++b;
  const auto [p, ec] = std::from_chars(b, e, v);
  return ec == std::errc() && p == e;
}

// The editable fields a control card sets, and whether it sets anything else.
struct CardFields {
  std::vector<ExpField> fields;
  bool other = false;
};

CardFields fields_of(const std::string& upper_card) {
  CardFields f;
  if (!is_control(upper_card)) return f;
  if (has(upper_card, "SPACEGROUP")) f.fields.push_back(ExpField::SpaceGroup);
  if (has(upper_card, "FRIEDEL")) f.fields.push_back(ExpField::Friedel);
  if (has(upper_card, "OUTLIER")) f.fields.push_back(ExpField::Outlier);
  if (has(upper_card, "BLESSING")) f.fields.push_back(ExpField::Blessing);
  if (has(upper_card, "2THETA")) f.fields.push_back(ExpField::TwoTheta);
  // On an ABSENT card the word LESSTHAN names the treatment of absences, not a threshold.
  if (has(upper_card, "ABSENT"))
    f.fields.push_back(ExpField::Absent);
  else if (has(upper_card, "LESSTHAN"))
    f.fields.push_back(ExpField::LessThan);
  if (has(upper_card, "SCALE")) f.fields.push_back(ExpField::Scale);
  if (has(upper_card, "OPENING")) f.fields.push_back(ExpField::Opening);
  if (has(upper_card, "SIGMA")) f.fields.push_back(ExpField::Sigma);
  for (std::string_view w : {"SYMOP", "UNITIN", "LAUE", "OUTPUT"})
    if (has(upper_card, w)) f.other = true;
  return f;
}

bool sets(const std::string& upper_card, ExpField field) {
  switch (field) {
    case ExpField::Title: return starts(upper_card, "TITLE");
    case ExpField::Cell: return starts(upper_card, "CELL");
    case ExpField::Wavelength: return starts(upper_card, "WAVEL ");
    default: {
      const auto f = fields_of(upper_card).fields;
      return std::find(f.begin(), f.end(), field) != f.end();
    }
  }
}

bool is_symmetry_card(const std::string& upper_card) {
  return is_control(upper_card) &&
         (has(upper_card, "SYMOP") || has(upper_card, "UNITIN") || has(upper_card, "LAUE"));
}

int effective_outlier(int v) { return v < 0 ? 1 : v; }
int effective_absent(int v) { return v < 0 ? 2 : v; }

bool changed(ExpField f, const ExpValues& a, const ExpValues& b) {
  switch (f) {
    case ExpField::Title: return a.title != b.title;
    case ExpField::Cell: return a.cell != b.cell;
    case ExpField::Wavelength: return a.wavelength != b.wavelength;
    case ExpField::SpaceGroup: return a.space_group != b.space_group;
    case ExpField::Friedel: return a.friedel_noflip != b.friedel_noflip;
    case ExpField::Outlier: return effective_outlier(a.outlier) != effective_outlier(b.outlier);
    case ExpField::Blessing: return a.blessing != b.blessing;
    case ExpField::TwoTheta: return a.tth_min != b.tth_min || a.tth_max != b.tth_max;
    case ExpField::LessThan:
      return a.lessthan != b.lessthan || a.lessthan_reject != b.lessthan_reject;
    case ExpField::Absent: return effective_absent(a.absent) != effective_absent(b.absent);
    case ExpField::Scale: return a.scale != b.scale;
    case ExpField::Sigma: return a.sigma_mean != b.sigma_mean;
    case ExpField::Opening: return a.opening != b.opening;
  }
  return false;
}

// Fields whose card goes away when their value is emptied.
bool removable_when_empty(ExpField f, const ExpValues& v) {
  switch (f) {
    case ExpField::Title: return v.title.empty();
    case ExpField::Cell: return v.cell.empty();
    case ExpField::Wavelength: return v.wavelength.empty();
    case ExpField::SpaceGroup: return v.space_group.empty();
    case ExpField::Scale: return v.scale.empty();
    case ExpField::Opening: return v.opening.empty();
    default: return false;
  }
}

}  // namespace

ExpFileEditorModel::ExpFileEditorModel(std::string_view file_text) {
  std::size_t start = 0;
  while (start < file_text.size()) {
    const auto nl = file_text.find('\n', start);
    if (nl == std::string_view::npos) {
      lines_.push_back({std::string(file_text.substr(start)), ""});
      break;
    }
    std::size_t text_end = nl;
    if (text_end > start && file_text[text_end - 1] == '\r') --text_end;
    lines_.push_back({std::string(file_text.substr(start, text_end - start)),
                      std::string(file_text.substr(text_end, nl + 1 - text_end))});
    start = nl + 1;
  }
  read_values();
}

std::string ExpFileEditorModel::text() const {
  std::string s;
  for (const auto& l : lines_) s += l.text + l.end;
  return s;
}

std::string ExpFileEditorModel::line_end() const {
  for (const auto& l : lines_)
    if (!l.end.empty()) return l.end;
  return "\n";
}

std::optional<std::size_t> ExpFileEditorModel::card_of(ExpField field) const {
  std::optional<std::size_t> found;
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (sets(upper(lines_[i].text), field)) found = i;
  return found;
}

std::vector<std::string> ExpFileEditorModel::symmetry_cards() const {
  std::vector<std::string> out;
  for (const auto& l : lines_)
    if (is_symmetry_card(upper(l.text))) out.push_back(l.text);
  return out;
}

void ExpFileEditorModel::read_values() {
  ExpValues v;
  for (const auto& line : lines_) {
    const std::string& t = line.text;
    const std::string u = upper(t);
    if (u.find_first_not_of(' ') == std::string::npos || u.find_first_not_of(' ') >= 6) continue;
    if (starts(u, "TITLE")) v.title = t.size() > 6 ? trim(std::string_view(t).substr(6, 74)) : "";
    // The numbers stand behind the keyword (the reader takes them from column 5 on).
    if (starts(u, "CELL")) v.cell = t.size() > 4 ? trim(std::string_view(t).substr(4)) : "";
    if (starts(u, "WAVEL ")) {
      const auto list = items(std::string_view(t).substr(6));
      v.wavelength = list.size() > 1 ? list[1] : "";
    }
    if (!is_control(u)) continue;
    if (has(u, "SPACEGROUP"))
      v.space_group = trim(std::string_view(t).substr(keyword_at(u, "SPACEGROUP") + 10));
    if (has(u, "OUTLIER"))
      v.outlier = u.find("NONE") != std::string::npos
                      ? 0
                      : (u.find("SYMMETRY") != std::string::npos ? 1 : 0) +
                            (u.find("DAC") != std::string::npos ? 2 : 0);
    if (has(u, "BLESSING")) {
      const auto list = items(std::string_view(t).substr(keyword_at(u, "BLESSING") + 8));
      for (std::size_t k = 0; k < 4; ++k) v.blessing[k] = k < list.size() ? list[k] : "";
    }
    if (has(u, "ABSENT")) {
      if (u.find("REJECT") != std::string::npos) v.absent = 2;
      if (u.find("LESSTHAN") != std::string::npos) v.absent = 1;
      if (u.find("INCLUDE") != std::string::npos) v.absent = 0;
    } else if (has(u, "LESSTHAN")) {
      v.lessthan = item_after(t, u, "LESSTHAN");
      v.lessthan_reject = u.find("REJECT", 1) != std::string::npos;
    }
    if (has(u, "2THETA")) {
      if (u.find("MAX") != std::string::npos) v.tth_max = item_after(t, u, "MAX", 10);
      if (u.find("MIN") != std::string::npos) v.tth_min = item_after(t, u, "MIN", 10);
    }
    if (has(u, "SCALE")) v.scale = item_after(t, u, "SCALE");
    if (has(u, "OPENING")) v.opening = item_after(t, u, "OPENING");
    if (has(u, "FRIEDEL")) v.friedel_noflip = u.find("NOFLIP") != std::string::npos;
    if (has(u, "SIGMA")) v.sigma_mean = u.find("MEAN") != std::string::npos;
  }
  values_ = v;
}

std::string ExpFileEditorModel::card(ExpField field, const ExpValues& v,
                                     std::string_view old_card) {
  switch (field) {
    case ExpField::Title: return "TITLE " + v.title.substr(0, 74);
    case ExpField::Cell: return "CELL  " + v.cell;
    case ExpField::Wavelength: {
      // The integer before the wavelength is kept as the old card had it.
      const auto old = old_card.size() > 6 ? items(old_card.substr(6)) : std::vector<std::string>{};
      return "WAVEL " + (old.empty() ? std::string("1") : old.front()) + " " + v.wavelength;
    }
    case ExpField::SpaceGroup: return "VORLAN SPACEGROUP " + v.space_group;
    case ExpField::Friedel:
      return v.friedel_noflip ? "VORLAN FRIEDEL NOFLIP" : "VORLAN FRIEDEL";
    case ExpField::Outlier: {
      static constexpr std::string_view modes[] = {"NONE", "SYMMETRY", "DAC", "SYMMETRY DAC"};
      return "VORLAN OUTLIER " + std::string(modes[effective_outlier(v.outlier) & 3]);
    }
    case ExpField::Blessing:
      return "VORLAN BLESSING " + v.blessing[0] + " " + v.blessing[1] + " " + v.blessing[2] +
             " " + v.blessing[3];
    case ExpField::TwoTheta:
      // MIN first: the ten columns after MIN then end before the MAX value begins.
      return "VORLAN 2THETA MIN " + (v.tth_min.empty() ? std::string("0.0") : v.tth_min) +
             " MAX " + (v.tth_max.empty() ? std::string("180.0") : v.tth_max);
    case ExpField::LessThan:
      return "VORLAN LESSTHAN " + (v.lessthan.empty() ? std::string("2.0") : v.lessthan) +
             (v.lessthan_reject ? " REJECT" : "");
    case ExpField::Absent: {
      static constexpr std::string_view modes[] = {"INCLUDE", "LESSTHAN", "REJECT"};
      return "VORLAN ABSENT " + std::string(modes[std::clamp(effective_absent(v.absent), 0, 2)]);
    }
    case ExpField::Scale: return "VORLAN SCALE " + v.scale;
    case ExpField::Opening: return "VORLAN OPENING " + v.opening;
    case ExpField::Sigma: return v.sigma_mean ? "VORLAN SIGMA MEAN" : "VORLAN SIGMA SPREAD";
  }
  return {};
}

std::string ExpFileEditorModel::check(const ExpValues& v) {
  auto number = [](const std::string& s, bool may_be_empty) {
    return (may_be_empty && s.empty()) || is_number(s);
  };
  if (!v.cell.empty()) {
    const auto list = items(v.cell);
    if (list.size() < 6 || list.size() > 7 ||
        !std::all_of(list.begin(), list.end(), [](const std::string& s) { return is_number(s); }))
      return "The cell needs six numbers (a, b, c, alpha, beta, gamma).";
  }
  if (!number(v.wavelength, true)) return "The wavelength is not a number.";
  const bool any_blessing = std::any_of(v.blessing.begin(), v.blessing.end(),
                                        [](const std::string& s) { return !s.empty(); });
  if (any_blessing)
    for (const auto& b : v.blessing)
      if (!is_number(b)) return "The Blessing test needs four numbers.";
  if (!number(v.tth_min, true) || !number(v.tth_max, true) || v.tth_min.size() > 9 ||
      v.tth_max.size() > 9)
    return "The 2theta limits must be numbers of at most nine characters.";
  if (!number(v.lessthan, true)) return "The less-than threshold is not a number.";
  if (!number(v.scale, true)) return "The scale is not a number.";
  if (!number(v.opening, true)) return "The opening angle is not a number.";
  for (ExpField f : all_exp_fields)
    if (card(f, v).size() > 80) return "A card would be longer than 80 columns: " + card(f, v);
  return {};
}

void ExpFileEditorModel::set_card(ExpField field, const std::string& card_text) {
  const auto at = card_of(field);
  if (at) {
    const auto fields = fields_of(upper(lines_[*at].text));
    const bool alone = field == ExpField::Title || field == ExpField::Cell ||
                       field == ExpField::Wavelength ||
                       (fields.fields.size() == 1 && !fields.other);
    if (alone) {
      if (card_text.empty())
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*at));
      else
        lines_[*at].text = card_text;
      return;
    }
    // The card sets other things too: it stays, and the new card after it overrides it.
    if (card_text.empty()) return;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*at) + 1,
                  Line{card_text, lines_[*at].end.empty() ? line_end() : lines_[*at].end});
    if (lines_[*at].end.empty()) std::swap(lines_[*at].end, lines_[*at + 1].end);
    return;
  }
  if (card_text.empty()) return;
  std::size_t after = lines_.size();
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (is_control(upper(lines_[i].text))) after = i + 1;
  if (after == lines_.size() && !lines_.empty() && lines_.back().end.empty()) {
    // The new last line keeps the file's missing final line end.
    lines_.back().end = line_end();
    lines_.push_back({card_text, ""});
    return;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after), Line{card_text, line_end()});
}

void ExpFileEditorModel::apply(const ExpValues& edited) {
  const ExpValues before = values_;
  if (changed(ExpField::SpaceGroup, before, edited) && !edited.space_group.empty()) {
    std::erase_if(lines_, [](const Line& l) { return is_symmetry_card(upper(l.text)); });
  }
  for (ExpField f : all_exp_fields) {
    if (!changed(f, before, edited)) continue;
    const auto old = card_of(f);
    const std::string old_text = old ? lines_[*old].text : std::string();
    set_card(f, removable_when_empty(f, edited) ? std::string() : card(f, edited, old_text));
  }
  read_values();
}

}  // namespace vorlane::frontend
