#include "output/printdata.hpp"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "output/dynamic_ft.hpp"
#include "records/edit_list.hpp"

namespace vorlane::output {

namespace {

constexpr std::string_view kSectionTitle =
    R"((/,/,/,20("*"),"REFLECTION LISTING BY GROUP",20("*"),/,/))";
constexpr std::string_view kHeading =
    R"((/,/,"   H  K  L    F2(AVE) SIGF2  INT    EXT    INT2","   EXT2 NEQ NAVE",8X,)"
    R"("INDIVIDUAL SQUARED STRUCTURE FACTORS "))";
constexpr std::string_view kSingletHeading =
    R"(("   H  K  L    F2(AVE) SIGF2  INT    EXT    INT2","   EXT2 NEQ NAVE   FSQ"))";
constexpr std::string_view kSingletsAveraged =
    R"((/,10X,"THE FOLLOWING REFLECTIONS WERE SINGLY-DETERMINED ",)"
    R"(" - SIGMAS HAVE BEEN MULTIPLIED BY ",F5.2,/))";
constexpr std::string_view kSingletsIndividual =
    R"((/,10X,"THE FOLLOWING REFLECTIONS WERE SINGLY-DETERMINED ",/))";
constexpr std::string_view kClosing =
    R"((/,/,1X,20("*"),"END OF REFLECTION LISTING FROM VORLANE",20("*"),/,/,/))";

constexpr int kPageLines = 58;
constexpr int kMembersPerLine = 8;

std::string_view set_flag(const run::EquivSet& set) {
  if (set.IABS == 1) return "S";
  if (set.IABS == 2 || set.IABS == 3) return "T";
  if (set.IGT == 1) return "G";
  return "L";
}

std::string_view member_mark(const run::Member& m) {
  if (m.IREJ == 0) return " ";
  if (m.IREJ == 1) return "D";
  return "B";
}

// Layouts are built by appending to one string: `"literal" + std::string` inserts at the
// front, and GCC 12 reports a false overlap (-Wrestrict) in that insert when optimising.
void append_real_field(std::string& layout, int decimals) {
  layout += "F7.";
  layout += std::to_string(decimals);
}

// Set line: indices, flag, the six per-set values, NEQ, NAVE, then `members` groups of an
// intensity and (when `marks`) its mark.
records::EditList line_layout(int decimals, int members, bool marks) {
  std::string layout = "(1X,3I3,1X,A1,1X,6";
  append_real_field(layout, decimals);
  layout += ",2I3";
  if (members > 0) {
    layout += ',';
    layout += std::to_string(members);
    layout += "(1X,";
    append_real_field(layout, decimals);
    layout += marks ? ",A1)" : ")";
  }
  layout += ')';
  return records::EditList(layout);
}

records::EditList continuation_layout(int decimals, int members) {
  std::string layout = "(61X,";
  layout += std::to_string(members);
  layout += "(1X,";
  append_real_field(layout, decimals);
  layout += ",A1))";
  return records::EditList(layout);
}

// The line layouts of one listing, each parsed the first time it is needed: a listing uses a
// handful of (decimals, members) pairs over and over.
class ListingLayouts {
 public:
  const records::EditList& line(int decimals, int members, bool marks) {
    return get(decimals, members, marks ? 1 : 0,
               [&] { return line_layout(decimals, members, marks); });
  }
  const records::EditList& continuation(int decimals, int members) {
    return get(decimals, members, 2, [&] { return continuation_layout(decimals, members); });
  }

 private:
  static constexpr int kKinds = 3;  // set line with marks, without marks, continuation
  static constexpr int kMaxCachedDecimals = 16;
  template <class Make>
  const records::EditList& get(int decimals, int members, int kind, Make make) {
    if (decimals < 0 || decimals > kMaxCachedDecimals || members < 0 ||
        members > kMembersPerLine) {
      scratch_ = std::make_unique<records::EditList>(make());
      return *scratch_;
    }
    const auto at = static_cast<std::size_t>(
        (decimals * (kMembersPerLine + 1) + members) * kKinds + kind);
    if (at >= parsed_.size()) parsed_.resize(at + 1);
    if (!parsed_[at]) parsed_[at] = std::make_unique<records::EditList>(make());
    return *parsed_[at];
  }
  std::vector<std::unique_ptr<records::EditList>> parsed_;
  std::unique_ptr<records::EditList> scratch_;
};

void push_set_values(std::vector<records::Value>& v, const run::ReflectionList& refl,
                     const run::EquivSet& set) {
  const auto& rep = refl.member(set, 1).IHKL;
  const records::Value row[] = {rep[0],     rep[1],      rep[2],     set_flag(set),
                                set.FAVE,   set.SIGAVE,  set.SIGINT_, set.SIGEXT,
                                set.SIGINT2, set.SIGEXT2, set.NEQ,    set.NAVE};
  v.insert(v.end(), std::begin(row), std::end(row));
}

}  // namespace

int listing_decimals(float largest, float SIGAVE) {
  int D = 0;
  int over = 0;
  DYNAMIC_FT(7, largest, D, over);
  if (over != 0) D = 0;
  if (SIGAVE > 0.01f) {
    int k = 0;
    float s = SIGAVE;
    while (!(s > 10.0f)) {
      s = s * 10.0f;
      ++k;
    }
    k = std::max(k, 2);
    D = std::min(D, k);
  }
  return D;
}

void PRINTDATA(run::RunState& rs) {
  const auto& refl = rs.refl;
  auto& prt = rs.files.print;
  const records::EditList heading(kHeading);

  prt.put(records::EditList(kSectionTitle));
  prt.put(heading);
  int n = 1;

  bool any_singlet = false;
  ListingLayouts layouts;
  std::vector<records::Value> values;
  for (const run::EquivSet& set : refl.sets) {
    if (set.NEQ <= 1) {
      any_singlet = any_singlet || set.NEQ == 1;
      continue;
    }
    const int lines = 1 + (set.NEQ - 1) / kMembersPerLine;
    n += lines;

    float largest = 0.0f;
    for (int m = 1; m <= set.NEQ; ++m) largest = std::max(largest, refl.member(set, m).FSQ);
    const int D = listing_decimals(largest, set.SIGAVE);

    if (n > kPageLines) {
      prt.put(heading);
      n = lines;
    }

    const int first = std::min(set.NEQ, kMembersPerLine);
    values.clear();
    push_set_values(values, refl, set);
    for (int m = 1; m <= first; ++m) {
      const run::Member& member = refl.member(set, m);
      values.push_back(member.FSQ);
      values.push_back(member_mark(member));
    }
    prt.write(layouts.line(D, first, true), values);

    for (int start = kMembersPerLine + 1; start <= set.NEQ; start += kMembersPerLine) {
      const int count = std::min(kMembersPerLine, set.NEQ - start + 1);
      values.clear();
      for (int m = start; m < start + count; ++m) {
        const run::Member& member = refl.member(set, m);
        values.push_back(member.FSQ);
        values.push_back(member_mark(member));
      }
      prt.write(layouts.continuation(D, count), values);
    }
  }

  if (any_singlet) {
    if (rs.ctl.IOUTAVE == 1) {
      prt.put(records::EditList(kSingletsAveraged), rs.res.SIGFACT);
    } else {
      prt.put(records::EditList(kSingletsIndividual));
    }
    prt.put(records::EditList(kSingletHeading));
    n += 3;
    for (const run::EquivSet& set : refl.sets) {
      if (set.NEQ != 1) continue;
      const int D = listing_decimals(set.FAVE > 0.0f ? set.FAVE : 0.0f, set.SIGAVE);
      values.clear();
      push_set_values(values, refl, set);
      values.push_back(refl.member(set, 1).FSQ);
      prt.write(layouts.line(D, 1, false), values);
      n += 1;
      if (n > kPageLines) {
        prt.put(heading);
        n = 1;
      }
    }
  }

  prt.put(records::EditList(kClosing));
}

}  // namespace vorlane::output
