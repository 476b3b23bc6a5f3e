// Whole runs whose results must not depend on the order of the input records, and the
// figures of the averages: the sigma convention, the output scale kept readable, R(int)
// without the systematic absences, one rejection count everywhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>

#include "e2e/cli_support.hpp"
#include "support/test_support.hpp"

namespace vorlane {
namespace {

std::string data_path(const std::string& id) {
  return std::string(VORLANE_TEST_DATA) + "/realdata/" + id;
}

// The records of a SHELX file up to its terminating 0 0 0 record, and what follows it.
struct ShelxFile {
  std::vector<std::string> records;
  std::vector<std::string> tail;
};

ShelxFile split_shelx(const std::string& text) {
  ShelxFile f;
  bool ended = false;
  for (const std::string& line : testing::split_lines(text)) {
    if (!ended && line.size() >= 12) {
      std::istringstream ss(line.substr(0, 12));
      int h = 1, k = 1, l = 1;
      ss >> h >> k >> l;
      if (h == 0 && k == 0 && l == 0) ended = true;
    }
    (ended ? f.tail : f.records).push_back(line);
  }
  return f;
}

std::string join(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}

std::vector<std::string> sorted_lines(const std::string& text) {
  auto lines = testing::split_lines(text);
  std::sort(lines.begin(), lines.end());
  return lines;
}

// The ledger's rows without their first column (the line in the input file), sorted.
std::vector<std::string> ledger_reasons(const std::string& text) {
  std::vector<std::string> rows;
  for (const auto& line : testing::split_lines(text)) rows.push_back(line.substr(line.find(',')));
  std::sort(rows.begin(), rows.end());
  return rows;
}

struct Outputs {
  std::vector<std::string> output, cif, ledger;
  std::string stats;
};

Outputs run_in_order(const std::string& id, const std::string& extra_card, int order) {
  ShelxFile f = split_shelx(testing::read_text_file(data_path(id) + ".hkl"));
  if (order == 1) std::reverse(f.records.begin(), f.records.end());
  if (order == 2) std::shuffle(f.records.begin(), f.records.end(), std::mt19937(20261209));
  const std::string dir = testing::make_temp_dir("order");
  testing::write_file(dir + "/in.hkl", join(f.records) + join(f.tail));
  testing::write_file(dir + "/run.exp",
                      testing::read_text_file(data_path(id) + ".exp") + extra_card);
  const auto run = testing::run_vorlane(dir, "--sigma-ratio keep --report none run.exp run.prt "
                                             "in.hkl out.hkl");
  EXPECT_EQ(run.status, 0) << run.err;
  Outputs o;
  o.output = sorted_lines(testing::read_text_file(dir + "/out.hkl"));
  o.cif = testing::split_lines(testing::read_text_file(dir + "/out_vorlane.cif"));
  o.stats = testing::read_text_file(dir + "/out_stats.json");
  o.ledger = ledger_reasons(testing::read_text_file(dir + "/out_rejections.csv"));
  std::filesystem::remove_all(dir);
  return o;
}

// Three real data sets of different Laue classes, under the default rejection and without
// rejection: the records as read, reversed and shuffled give the same output, CIF fragment,
// statistics and ledger reasons.
TEST(OrderFree, RecordsInAnyOrderGiveTheSameResults) {
  const char* sets[] = {"cod2242045_p-1_crysalis", "cod1552546_c2c_ag", "caf2_fm-3m_ag_crysalis"};
  for (const char* id : sets) {
    for (const std::string card : {"", "VORLAN OUTLIER NONE\n"}) {
      SCOPED_TRACE(std::string(id) + (card.empty() ? " default rejection" : " no rejection"));
      const Outputs as_read = run_in_order(id, card, 0);
      ASSERT_FALSE(as_read.output.empty());
      for (int order : {1, 2}) {
        SCOPED_TRACE(order == 1 ? "reversed" : "shuffled");
        const Outputs other = run_in_order(id, card, order);
        EXPECT_EQ(other.output, as_read.output);
        EXPECT_EQ(other.cif, as_read.cif);
        EXPECT_EQ(other.stats, as_read.stats);
        EXPECT_EQ(other.ledger, as_read.ledger);
      }
    }
  }
}


// i-43d with Friedel mates kept and no rejection: R(int) over the equivalents that formed the
// averages, the 5843 systematic absences left out, is the published 0.0797; the reduction
// text says that nothing was rejected, and the special details which sigma the file carries.
TEST(OrderFree, RintWithoutAbsencesAgreesWithThePublishedValue) {
  const std::string dir = testing::make_temp_dir("i43d");
  testing::write_file(dir + "/run.exp", testing::read_text_file(data_path("i-43d_cubic") + ".exp") +
                                            "VORLAN OUTLIER NONE\n");
  const auto run = testing::run_vorlane(
      dir, "--friedel keep --report none run.exp run.prt '" + data_path("i-43d_cubic") +
               ".hkl' out.hkl");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string cif = testing::read_text_file(dir + "/out_vorlane.cif");
  const auto items = testing::cif_items(cif);
  const std::string rint = items.at("_diffrn_reflns_av_R_equivalents");
  EXPECT_EQ(rint.size(), 6u) << rint;  // four decimals
  EXPECT_NEAR(std::stod(rint), 0.0797, 0.0005);
  EXPECT_NE(cif.find("; data averaged with no rejection"), std::string::npos);
  EXPECT_EQ(cif.find("Blessing"), std::string::npos);
  EXPECT_NE(cif.find("not divided by sqrt(n)"), std::string::npos);
  EXPECT_NE(run.out.find("R(int)                0.07"), std::string::npos) << run.out;
  std::filesystem::remove_all(dir);
}

// The intensities of a real set (largest 9999) times 1e3 no longer fit the output's F7 field
// (SHELX) and times 1e-4 would be written with two significant digits: without a SCALE card every set is written, with the
// scale stated once; with a SCALE card the user's factor stands and a value that does not fit
// ends the run, naming the largest scale that fits.
TEST(OrderFree, OutputScaleKeepsEveryIntensityReadable) {
  const std::string id = "cod2242045_p-1_crysalis";
  const ShelxFile f = split_shelx(testing::read_text_file(data_path(id) + ".hkl"));
  auto scaled = [&f](double factor) {
    std::string s;
    for (const auto& line : f.records) {
      const double fsq = std::stod(line.substr(12, 8)) * factor;
      const double sig = std::stod(line.substr(20, 8)) * factor;
      char buf[64];
      std::snprintf(buf, sizeof buf, factor > 1.0 ? "%s%#8.0f%#8.0f\n" : "%s%8.5f%8.5f\n",
                    line.substr(0, 12).c_str(), fsq, sig);
      s += buf;
    }
    return s;
  };
  struct Case {
    double factor;
    std::string card;
    int status;
    std::string message;
  };
  const Case cases[] = {
      {1e3, "", 0, "OUTPUT SCALED BY 1E-1: THE LARGEST INTENSITY DID NOT FIT ITS FIELD"},
      {1e-4, "", 0, "OUTPUT SCALED BY 1E+4: THE LARGEST INTENSITY WAS BELOW 1"},
      {1e3, "VORLAN SCALE 1.0\n", 1, "WITH SCALE 1; LARGEST SCALE THAT FITS: 0.1"},
  };
  const std::string plain_dir = testing::make_temp_dir("scale");
  testing::write_file(plain_dir + "/in.hkl", scaled(1.0));
  testing::write_file(plain_dir + "/run.exp", testing::read_text_file(data_path(id) + ".exp"));
  ASSERT_EQ(testing::run_vorlane(plain_dir, "--report none run.exp run.prt in.hkl out.hkl").status,
            0);
  const auto plain = testing::split_lines(testing::read_text_file(plain_dir + "/out.hkl"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.factor);
    const std::string dir = testing::make_temp_dir("scale");
    testing::write_file(dir + "/in.hkl", scaled(c.factor));
    testing::write_file(dir + "/run.exp",
                        testing::read_text_file(data_path(id) + ".exp") + c.card);
    const auto run = testing::run_vorlane(
        dir, "--in-format shelx --report none run.exp run.prt in.hkl out.hkl");
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_NE(testing::read_text_file(dir + "/run.prt").find(c.message), std::string::npos);
    if (c.status == 0) {
      const auto lines = testing::split_lines(testing::read_text_file(dir + "/out.hkl"));
      EXPECT_EQ(lines.size(), plain.size());  // every set written
      EXPECT_NE(testing::read_text_file(dir + "/out_vorlane.cif").find(c.message),
                std::string::npos);
      EXPECT_NE(run.out.find(c.message), std::string::npos);
    }
    std::filesystem::remove_all(dir);
  }
  std::filesystem::remove_all(plain_dir);
}

// The outlier and DAC-dip counts of one run are the same number on the terminal, in the print
// file, the statistics, the ledger and the CIF text.
TEST(OrderFree, OneRejectionCountEverywhere) {
  const std::string id = "dac_c1p1_p21c_crysalis";
  const std::string dir = testing::make_temp_dir("counts");
  testing::write_file(dir + "/run.exp", testing::read_text_file(data_path(id) + ".exp") +
                                            "VORLAN OUTLIER SYMMETRY DAC\n");
  const auto run = testing::run_vorlane(
      dir, "--report none run.exp run.prt '" + data_path(id) + ".hkl' out.hkl");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string prt = testing::read_text_file(dir + "/run.prt");
  auto count_before = [](const std::string& text, const std::string& words) {
    const auto at = text.find(words);
    if (at == std::string::npos) return -1;
    const auto line_start = text.rfind('\n', at) + 1;
    return std::stoi(text.substr(line_start, at - line_start));
  };
  const int outliers = count_before(prt, " INDIVIDUALS WERE EXCLUDED AS OUTLIERS");
  const int dips = count_before(prt, " INDIVIDUALS WERE EXCLUDED AS DAC DIPS");
  ASSERT_GT(outliers + dips, 0);
  EXPECT_NE(run.out.find("(" + std::to_string(dips) + " DAC dips, " + std::to_string(outliers) +
                         " outliers)"),
            std::string::npos)
      << run.out;
  const std::string stats = testing::read_text_file(dir + "/out_stats.json");
  EXPECT_NE(stats.find("\"outlier\": " + std::to_string(outliers)), std::string::npos);
  EXPECT_NE(stats.find("\"dac_dip\": " + std::to_string(dips)), std::string::npos);
  const auto ledger = testing::split_lines(testing::read_text_file(dir + "/out_rejections.csv"));
  EXPECT_EQ(std::count_if(ledger.begin(), ledger.end(),
                          [](const std::string& l) { return l.ends_with(",outlier"); }),
            outliers);
  const std::string cif = testing::read_text_file(dir + "/out_vorlane.cif");
  EXPECT_NE(cif.find(" " + std::to_string(outliers) + " outliers by the Blessing (1987) outlier"),
            std::string::npos);
  EXPECT_NE(cif.find(" " + std::to_string(dips) + " DAC dips"), std::string::npos);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vorlane
