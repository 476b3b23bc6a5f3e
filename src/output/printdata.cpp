#include "output/printdata.hpp"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
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
  // Made in place: a copied value would be copied through the value's own dispatch.
  const auto& rep = refl.member(set, 1).IHKL;
  v.emplace_back(rep[0]);
  v.emplace_back(rep[1]);
  v.emplace_back(rep[2]);
  v.emplace_back(set_flag(set));
  for (const float x : {set.FAVE, set.SIGAVE, set.SIGINT_, set.SIGEXT, set.SIGINT2, set.SIGEXT2}) {
    v.emplace_back(x);
  }
  v.emplace_back(set.NEQ);
  v.emplace_back(set.NAVE);
}

// Blocks of a few hundred kilobytes of text: the texts waiting to be written stay small
// beside the list, and each text, used again for later blocks, keeps its storage.
constexpr std::size_t kSetsPerBlock = 512;
// Characters of a listing line before its member groups (with the line end), and of one
// member group.
constexpr std::size_t kLineChars = 62;
constexpr std::size_t kMemberChars = 9;

// The listing lines of the sets of `block` (a heading wherever a page fills), appended to
// `text`.
void form_block(const run::ReflectionList& refl, const records::EditList& heading,
                const ListingBlocks::Block& block, std::string& text) {
  ListingLayouts layouts;
  std::vector<records::Value> values;
  int n = block.lines_before;
  for (std::size_t s = block.first; s < block.last; ++s) {
    const run::EquivSet& set = refl.sets[s];
    if (set.NEQ <= 1) continue;
    const int lines = 1 + (set.NEQ - 1) / kMembersPerLine;
    n += lines;

    float largest = 0.0f;
    for (int m = 1; m <= set.NEQ; ++m) largest = std::max(largest, refl.member(set, m).FSQ);
    const int D = listing_decimals(largest, set.SIGAVE);

    if (n > kPageLines) {
      records::PrintFile::append_text(heading, {}, text);
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
    records::PrintFile::append_text(layouts.line(D, first, true), values, text);

    for (int start = kMembersPerLine + 1; start <= set.NEQ; start += kMembersPerLine) {
      const int count = std::min(kMembersPerLine, set.NEQ - start + 1);
      values.clear();
      for (int m = start; m < start + count; ++m) {
        const run::Member& member = refl.member(set, m);
        values.push_back(member.FSQ);
        values.push_back(member_mark(member));
      }
      records::PrintFile::append_text(layouts.continuation(D, count), values, text);
    }
  }
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

struct ListingBlocks::Pool {
  // At most AHEAD formed blocks wait to be written, each in a text of its own (the texts on
  // cache lines of their own: each former changes its text's length with every field).
  static constexpr std::size_t AHEAD = 6;
  struct alignas(64) Text {
    std::string s;
  };
  std::array<Text, AHEAD> texts;
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t next = 0;     // the next block to form
  std::size_t written = 0;  // blocks written
  std::vector<char> formed;
  std::exception_ptr error;
  bool stop = false;
};

ListingBlocks::ListingBlocks(const run::ReflectionList& refl)
    : refl_(refl), heading_(kHeading), pool_(std::make_unique<Pool>()) {
  // The page each block starts on, from the line counts alone.
  int n = 1;
  for (std::size_t first = 0; first < refl.sets.size(); first += kSetsPerBlock) {
    Block block;
    block.first = first;
    block.last = std::min(refl.sets.size(), first + kSetsPerBlock);
    block.lines_before = n;
    for (std::size_t s = block.first; s < block.last; ++s) {
      const run::EquivSet& set = refl.sets[s];
      if (set.NEQ <= 1) {
        any_singlet_ = any_singlet_ || set.NEQ == 1;
        continue;
      }
      const int lines = 1 + (set.NEQ - 1) / kMembersPerLine;
      block.text_size += static_cast<std::size_t>(lines) * kLineChars +
                         static_cast<std::size_t>(set.NEQ) * kMemberChars;
      n += lines;
      if (n > kPageLines) n = lines;
    }
    blocks_.push_back(block);
  }
  lines_after_ = n;
  pool_->formed.assign(blocks_.size(), 0);
}

ListingBlocks::~ListingBlocks() = default;

bool ListingBlocks::form_next() {
  Pool& p = *pool_;
  std::size_t b = 0;
  {
    std::lock_guard<std::mutex> lock(p.mutex);
    if (p.stop || p.next >= blocks_.size() || p.next >= p.written + Pool::AHEAD) return false;
    b = p.next++;
  }
  std::string& text = p.texts[b % Pool::AHEAD].s;
  std::exception_ptr error;
  try {
    text.clear();
    // Room for the whole block at once, headings too (about 150 characters a page of 58
    // lines of 62 and more): a text grown by doubling would be copied on the way, and take
    // fresh pages each time.
    text.reserve(blocks_[b].text_size + blocks_[b].text_size / 16 + 256);
    form_block(refl_, heading_, blocks_[b], text);
  } catch (...) {
    error = std::current_exception();
  }
  {
    std::lock_guard<std::mutex> lock(p.mutex);
    p.formed[b] = 1;
    if (error && !p.error) p.error = error;
  }
  p.changed.notify_all();
  return true;
}

void ListingBlocks::write(records::PrintFile& prt) {
  Pool& p = *pool_;
  // A second former while the blocks are written (the blocks it leaves are formed here).
  std::thread worker;
  try {
    worker = std::thread([this, &p] {
      for (;;) {
        if (form_next()) continue;
        std::unique_lock<std::mutex> lock(p.mutex);
        if (p.stop || p.next >= blocks_.size()) return;
        p.changed.wait(lock, [this, &p] {
          return p.stop || p.next >= blocks_.size() || p.next < p.written + Pool::AHEAD;
        });
      }
    });
  } catch (const std::system_error&) {
    // Formed here alone.
  }
  auto stop_worker = [&] {
    {
      std::lock_guard<std::mutex> lock(p.mutex);
      p.stop = true;
    }
    p.changed.notify_all();
    if (worker.joinable()) worker.join();
  };
  try {
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
      for (;;) {
        {
          std::unique_lock<std::mutex> lock(p.mutex);
          if (p.error) std::rethrow_exception(p.error);
          if (p.formed[b] != 0) break;
        }
        // Not formed yet: form a later one meanwhile, or wait for it.
        if (form_next()) continue;
        std::unique_lock<std::mutex> lock(p.mutex);
        p.changed.wait(lock, [&p, b] { return p.formed[b] != 0 || p.error; });
      }
      prt.write_text(p.texts[b % Pool::AHEAD].s);
      {
        std::lock_guard<std::mutex> lock(p.mutex);
        ++p.written;
      }
      p.changed.notify_all();
    }
  } catch (...) {
    stop_worker();
    throw;
  }
  stop_worker();
}

void PRINTDATA(run::RunState& rs) {
  ListingBlocks blocks(rs.refl);
  PRINTDATA(rs, blocks);
}

void PRINTDATA(run::RunState& rs, ListingBlocks& blocks) {
  const auto& refl = rs.refl;
  auto& prt = rs.files.print;
  const records::EditList heading(kHeading);

  prt.put(records::EditList(kSectionTitle));
  prt.put(heading);
  blocks.write(prt);
  int n = blocks.lines_after();
  const bool any_singlet = blocks.any_singlet();

  ListingLayouts layouts;
  std::vector<records::Value> values;
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
