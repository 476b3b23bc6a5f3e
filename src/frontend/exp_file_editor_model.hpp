#pragma once
// The experiment file as the editor form sees it: its lines kept byte for byte with their
// line ends, the values of the cards people change most, and edits that replace exactly the
// card that set a value (or add one after the last VORLAN card). Lines the form does not
// edit (comments, UB cards, symmetry cards) are written back unchanged.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane::frontend {

enum class ExpField {
  Title, Cell, Wavelength, SpaceGroup, Friedel, Outlier, Blessing, TwoTheta, LessThan,
  Absent, Scale, Opening, Sigma
};
inline constexpr std::array<ExpField, 13> all_exp_fields = {
    ExpField::Title,    ExpField::Cell,     ExpField::Wavelength, ExpField::SpaceGroup,
    ExpField::Friedel,  ExpField::Outlier,  ExpField::Blessing,   ExpField::TwoTheta,
    ExpField::LessThan, ExpField::Absent,   ExpField::Scale,      ExpField::Opening,
    ExpField::Sigma};

// What the form shows, as the cards give it; an empty text means "no card, default".
struct ExpValues {
  std::string title;
  std::string cell;  // the numbers of the CELL card as written
  std::string wavelength;
  std::string space_group;  // the symbol of a SPACEGROUP keyword
  bool friedel_noflip = false;
  int outlier = -1;  // IREJMODE 0..3, -1 without an OUTLIER keyword (default 1)
  std::array<std::string, 4> blessing;
  std::string tth_min, tth_max;
  std::string lessthan;
  bool lessthan_reject = false;
  int absent = -1;  // 0 include, 1 as less-thans, 2 reject; -1 without an ABSENT keyword
  std::string scale;
  std::string opening;
  bool sigma_mean = false;  // SIGMA MEAN: output sigmas of means

  bool operator==(const ExpValues&) const = default;
};

class ExpFileEditorModel {
 public:
  struct Line {
    std::string text;  // without its line end
    std::string end;   // "\n", "\r\n", "\r" or "" (last line without one)
  };

  explicit ExpFileEditorModel(std::string_view file_text);

  const ExpValues& values() const { return values_; }
  const std::vector<Line>& lines() const { return lines_; }
  std::string text() const;

  // The line (from 0) of the card that sets `field`: the last such card, as later cards
  // override earlier ones; nothing when no card sets it.
  std::optional<std::size_t> card_of(ExpField field) const;
  // The SYMOP, UNITIN and LAUE cards a space group replaces, as written.
  std::vector<std::string> symmetry_cards() const;

  // A message naming the first value that is not a number where one is needed; empty when
  // every value can be written.
  static std::string check(const ExpValues& v);
  // The card that sets `field` to its value in `v`, in the card's column layout.
  static std::string card(ExpField field, const ExpValues& v, std::string_view old_card = {});

  // Writes every field whose value differs from the file's: the card that set it is
  // replaced, or a new card added after the last VORLAN card. A changed space group also
  // removes the symmetry cards. Fields that did not change leave every byte as it was.
  void apply(const ExpValues& edited);

 private:
  void read_values();
  void set_card(ExpField field, const std::string& card_text);
  std::string line_end() const;

  std::vector<Line> lines_;
  ExpValues values_;
};

}  // namespace vorlane::frontend
