// Whole runs through the command line on what the files beside the output and the figures in
// them must survive: runs that halt, links and leftovers under temporary-looking names, names
// with a backslash, an earlier report, figures that cannot be formed or do not fit their usual
// columns, a cell far too long for counting, a flood of unreadable lines and text that is not
// UTF-8. One table: each case gives its files, its command line, the exit status and a message
// it must show; a case that fails must leave every file but the print file as it was, and no
// temporary file behind.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "e2e/cli_support.hpp"
#include "support/test_support.hpp"

namespace vorlane {
namespace {

namespace fs = std::filesystem;
using testing::read_text_file;
using testing::run_vorlane;
using testing::write_file;

const std::string kExp = "TITLE  output safety\nCELL  5.0 6.0 7.0 90 90 90\nWAVEL 1 0.71073\n";
// SHELX records, 3I4,2F8.2: two measurements of (1 0 0) and one of (0 1 1).
const std::string kHkl = "   1   0   0  100.00    2.00\n   1   0   0  104.00    2.00\n"
                         "   0   1   1   50.00    1.00\n   0   0   0    0.00    0.00\n";

// Independent of the program's own check: every byte sequence a well-formed UTF-8 character
// (RFC 3629: no overlong forms, no surrogates, nothing above U+10FFFF).
bool valid_utf8(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    unsigned long cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
    for (std::size_t k = 1; k < n; ++k) {
      const auto b = static_cast<unsigned char>(s[i + k]);
      if ((b >> 6) != 2) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    const unsigned long least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += n;
  }
  return true;
}

// Every entry of a folder (files, and links as links) with its content or link target.
std::map<std::string, std::string> folder(const std::string& dir) {
  std::map<std::string, std::string> entries;
  for (const auto& e : fs::directory_iterator(dir)) {
    const std::string name = e.path().filename().string();
    if (name == "stdout.txt" || name == "stderr.txt") continue;
    if (e.is_symlink()) {
      entries[name] = "-> " + fs::read_symlink(e.path()).string();
    } else if (e.is_regular_file()) {
      entries[name] = read_text_file(e.path().string());
    }
  }
  return entries;
}

std::string repeated(const std::string& line, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += line;
  return s;
}

struct Case {
  std::string name;
  std::map<std::string, std::string> files;     // written before the run
  std::map<std::string, std::string> links;     // name -> target
  std::string args;
  int status;
  std::string message;                          // in standard output or standard error
  // Further checks on the folder after the run (optional).
  std::function<void(const std::string& dir)> check;
};

// The files of an earlier successful run beside out.hkl, which a failed run must not touch.
std::map<std::string, std::string> earlier_outputs() {
  return {{"out.hkl", "earlier output\n"},
          {"out_vorlane.cif", "earlier cif\n"},
          {"out_stats.json", "{}\n"},
          {"out_rejections.csv", "earlier ledger\n"},
          {"out_report.html", "<p>earlier report</p>\n"}};
}

std::map<std::string, std::string> with(std::map<std::string, std::string> a,
                                        const std::map<std::string, std::string>& b) {
  for (const auto& [k, v] : b) a[k] = v;
  return a;
}

std::vector<Case> cases() {
  const auto base = with({{"t.exp", kExp}, {"d.hkl", kHkl}}, earlier_outputs());
  std::vector<Case> c;
  c.push_back({"unknown space group halts and leaves every file",
               with(base, {{"sg.exp", kExp + "VORLAN SPACEGROUP Q 99/z\n"}}), {},
               "sg.exp t.prt d.hkl out.hkl", 1, "VORLANE HALTED", nullptr});
  c.push_back({"twinned (HKLF 5) input stops and leaves every file",
               with(base, {{"tw.hkl", "   1   0   0  100.00    2.00  -1\n"
                                      "   1   0   0  104.00    2.00   2\n"}}),
               {}, "t.exp t.prt tw.hkl out.hkl", 1, "HKLF 5", nullptr});
  c.push_back({"an empty 2theta window halts and leaves every file",
               with(base, {{"w.exp", kExp + "VORLAN 2THETA MIN 60 MAX 5\n"}}), {},
               "w.exp t.prt d.hkl out.hkl", 1, "EMPTY 2THETA WINDOW", nullptr});
  c.push_back(
      {"a link and an input under the old temporary names are left alone",
       with(base, {{"precious.txt", "precious\n"}, {"out_stats.json.tmp", kHkl}}),
       {{"out_report.html.tmp", "precious.txt"}, {"out_vorlane.cif.tmp", "precious.txt"}},
       "--in-format shelx t.exp t.prt out_stats.json.tmp out.hkl", 0, "FINISHED SUCCESSFULLY",
       [](const std::string& dir) {
         EXPECT_EQ(read_text_file(dir + "/precious.txt"), "precious\n");
         EXPECT_EQ(read_text_file(dir + "/out_stats.json.tmp"), kHkl);
         EXPECT_TRUE(fs::is_symlink(dir + "/out_report.html.tmp"));
         EXPECT_NE(read_text_file(dir + "/out_report.html").find("<!DOCTYPE html>"),
                   std::string::npos);
         EXPECT_NE(read_text_file(dir + "/out.hkl"), "earlier output\n");
       }});
  c.push_back({"a backslash in the output's name names the files beside it from the whole name",
               {{"t.exp", kExp}, {"d_stats.json", kHkl}}, {},
               "--in-format shelx --out-format shelx t.exp t.prt d_stats.json 'z\\d.hkl'", 0,
               "FINISHED SUCCESSFULLY", [](const std::string& dir) {
                 EXPECT_EQ(read_text_file(dir + "/d_stats.json"), kHkl);
                 EXPECT_TRUE(fs::exists(dir + "/z\\d_stats.json"));
                 EXPECT_TRUE(fs::exists(dir + "/z\\d_vorlane.cif"));
               }});
  c.push_back({"--report none takes an earlier report away", base, {},
               "--report none t.exp t.prt d.hkl out.hkl", 0, "FINISHED SUCCESSFULLY",
               [](const std::string& dir) {
                 EXPECT_FALSE(fs::exists(dir + "/out_report.html"));
                 EXPECT_NE(read_text_file(dir + "/out_stats.json"), "{}\n");
               }});
  c.push_back({"R values that cannot be formed are unknown, and a wide threshold fits",
               {{"s.exp", kExp + "VORLAN LESSTHAN 12.0\n"},
                {"s.hkl", "   1   0   0  100.00    2.00\n   0   1   1   50.00    1.00\n"}},
               {}, "s.exp t.prt s.hkl out.hkl", 0, "R(int)                   n/a",
               [](const std::string& dir) {
                 const std::string cif = read_text_file(dir + "/out_vorlane.cif");
                 EXPECT_NE(cif.find("_diffrn_reflns_av_R_equivalents          ?\n"),
                           std::string::npos) << cif;
                 EXPECT_NE(cif.find("_diffrn_reflns_av_unetI/netI             ?\n"),
                           std::string::npos);
                 EXPECT_NE(cif.find("'Fsqd > 12.0u(Fsqd)'"), std::string::npos);
                 EXPECT_EQ(cif.find('*', cif.find("_computing")), std::string::npos);
                 const std::string json = read_text_file(dir + "/out_stats.json");
                 EXPECT_NE(json.find("\"diffrn_reflns_av_r_equivalents\": null"),
                           std::string::npos) << json;
                 const std::string html = read_text_file(dir + "/out_report.html");
                 EXPECT_NE(html.find("R(int), absences left out (CIF)</th><td>n/a"), std::string::npos);
               }});
  // One reflection at 0.71 A in a 200 A cell: more index triples than the counting takes.
  c.push_back({"a cell far too long for counting gives an unknown completeness, quickly",
               {{"big.exp", "TITLE  long cell\nCELL  200 200 200 90 90 90\nWAVEL 1 0.71073\n"},
                {"one.hkl", " 281   0   0  100.00    2.00\n 281   0   0  101.00    2.00\n"}},
               {}, "big.exp t.prt one.hkl out.hkl", 0, "FINISHED SUCCESSFULLY",
               [](const std::string& dir) {
                 const std::string cif = read_text_file(dir + "/out_vorlane.cif");
                 EXPECT_NE(cif.find("_diffrn_measured_fraction_theta_max      ?"),
                           std::string::npos) << cif;
               }});
  c.push_back({"a thousand unreadable lines give a hundred warnings and a count",
               {{"t.exp", kExp},
                {"u.hkl", repeated("   1   0   0  100.00    2.00\n", 25) +
                              repeated("   1   0   0  1x0.00    2.00\n", 1000)}},
               {}, "t.exp t.prt u.hkl out.hkl", 0, "and 900 more: ", [](const std::string& dir) {
                 const std::string prt = read_text_file(dir + "/t.prt");
                 std::size_t blocks = 0;
                 for (auto at = prt.find("Error on reading"); at != std::string::npos;
                      at = prt.find("Error on reading", at + 1))
                   ++blocks;
                 EXPECT_EQ(blocks, 101u);  // a hundred warnings and the count naming their kind
                 EXPECT_NE(prt.find("and 900 more: Error on reading input datafile at line"),
                           std::string::npos);
               }});
  // The title's column 80 falls inside a three-byte character; the output's name holds a
  // Latin-1 byte.
  c.push_back({"the report is valid UTF-8 whatever the title and the names",
               {{"u.exp", "TITLE  " + std::string(72, 'X') + "\xE2\x82\xAC\xE2\x82\xAC\n" +
                              kExp.substr(kExp.find('\n') + 1)},
                {"d.hkl", kHkl}},
               {}, "--out-format shelx u.exp t.prt d.hkl \"$(printf 'o\\351.hkl')\"", 0, "FINISHED SUCCESSFULLY",
               [](const std::string& dir) {
                 const std::string html = read_text_file(dir + "/o\xE9_report.html");
                 EXPECT_TRUE(valid_utf8(html));
                 EXPECT_NE(html.find("o\\xE9.hkl"), std::string::npos);
                 EXPECT_NE(html.find(std::string(72, 'X') + "</p>"), std::string::npos);
               }});
  return c;
}

TEST(RunOutputSafety, EveryCaseEndsAsItMustAndAFailedRunChangesNoFile) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    const std::string dir = testing::make_temp_dir("outsafe");
    for (const auto& [name, text] : c.files) write_file(dir + "/" + name, text);
    for (const auto& [name, target] : c.links) fs::create_symlink(target, dir + "/" + name);
    const auto before = folder(dir);
    const auto start = std::chrono::steady_clock::now();
    const auto r = run_vorlane(dir, c.args);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE((r.out + r.err).find(c.message), std::string::npos) << r.out << r.err;
    EXPECT_LT(seconds, 30.0);  // a bound on runaway work, not a timing
    const auto after = folder(dir);
    for (const auto& entry : after) {
      // No temporary file of the run is left behind.
      if (!before.count(entry.first)) {
        EXPECT_EQ(entry.first.find(".tmp"), std::string::npos) << "left behind: " << entry.first;
      }
    }
    if (c.status != 0) {
      // Every file as it was; only the print file (appended to) may be new or longer.
      auto kept = after;
      kept.erase("t.prt");
      EXPECT_EQ(kept, before);
    }
    if (c.check) c.check(dir);
    fs::remove_all(dir);
  }
}

}  // namespace
}  // namespace vorlane
