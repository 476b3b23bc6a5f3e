// Whole runs on the files of integration programs and without an experiment file: the same
// measurements in every format give the same results, the header stands in for missing cards,
// options stand in for the experiment file, and MTZ output reads back with gemmi.
#include <gtest/gtest.h>

#include <gemmi/mtz.hpp>
#include <gemmi/symmetry.hpp>

#include <filesystem>
#include <map>
#include <sstream>

#include "e2e/cli_support.hpp"
#include "support/test_support.hpp"

namespace vorlane {
namespace {

const std::string DATA = std::string(VORLANE_TEST_DATA) + "/integration/";


void copy_in(const std::string& from, const std::string& dir, const std::string& name) {
  std::filesystem::copy_file(from, dir + "/" + name,
                             std::filesystem::copy_options::overwrite_existing);
}

// The SHELX file with its experiment file, and the same measurements as XDS_ASCII, unmerged
// mmCIF, core CIF and unmerged MTZ: the same averaged reflections, counts, R(int) and
// completeness.
TEST(IntegrationFormats, SameResultsAsTheShelxFile) {
  const std::string dir = testing::make_temp_dir("formats");
  const auto shelx = testing::run_vorlane(
      dir, "--sigma-ratio keep '" + DATA + "p-1.exp' run.prt '" + DATA + "p-1.hkl' ref.hkl");
  ASSERT_EQ(shelx.status, 0) << shelx.err;
  const std::string reference = testing::read_text_file(dir + "/ref.hkl");
  const auto ref_cif = testing::cif_items(testing::read_text_file(dir + "/ref_vorlane.cif"));
  EXPECT_EQ(ref_cif.at("_diffrn_reflns_number"), "2936");
  for (const char* file : {"XDS_ASCII.HKL", "p-1_unmerged.mmcif", "p-1_diffrn_refln.cif",
                           "p-1_unmerged.mtz"}) {
    SCOPED_TRACE(file);
    const auto run = testing::run_vorlane(
        dir, "--sigma-ratio keep '" + DATA + "p-1.exp' run.prt '" + DATA + file + "' out.hkl");
    ASSERT_EQ(run.status, 0) << run.err;
    // The header agrees with the experiment file: nothing to say.
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(testing::read_text_file(dir + "/out.hkl"), reference);
    EXPECT_EQ(testing::cif_items(testing::read_text_file(dir + "/out_vorlane.cif")), ref_cif);
    // The summary's counts and R(int) are those of the SHELX run.
    const auto figures = [](const std::string& out) {
      std::string kept;
      for (const auto& line : testing::split_lines(out)) {
        if (line.find("reflections read") != std::string::npos ||
            line.find("equivalent sets") != std::string::npos ||
            line.find("R(int)") != std::string::npos ||
            line.find("completeness") != std::string::npos)
          kept += line + "\n";
      }
      return kept;
    };
    EXPECT_EQ(figures(run.out), figures(shelx.out));
    EXPECT_NE(figures(run.out), "");
  }
}

// XDS_ASCII.HKL alone: cell, wavelength and symmetry from its header, the outputs named after
// it, the print file appended to by a second run.
TEST(IntegrationFormats, XdsAsciiAloneNeedsNoOtherOption) {
  const std::string dir = testing::make_temp_dir("xdsalone");
  copy_in(DATA + "XDS_ASCII.HKL", dir, "XDS_ASCII.HKL");
  const auto run = testing::run_vorlane(dir, "XDS_ASCII.HKL");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Wavelength used:    0.71073 A, from the XDS_ASCII header of XDS_ASCII.HKL"),
            std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Cell used:           4.8731   6.2429   8.0130   73.346   89.701   89.698, "
                         "from the XDS_ASCII header of XDS_ASCII.HKL"),
            std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Symmetry used:     P -1 (No. 2), 2 operators, centring P, Laue class -1, "
                         "from the XDS_ASCII header of XDS_ASCII.HKL"),
            std::string::npos) << run.out;
  EXPECT_NE(run.out.find("XDS_ASCII_merged.hkl"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir + "/XDS_ASCII_merged_vorlane.cif"));
  const std::string print = dir + "/XDS_ASCII_merged.lis";
  ASSERT_TRUE(std::filesystem::exists(print));
  // The same averages as the SHELX file with its experiment file.
  const auto shelx = testing::run_vorlane(
      dir, "--sigma-ratio keep '" + DATA + "p-1.exp' ref.prt '" + DATA + "p-1.hkl' ref.hkl");
  ASSERT_EQ(shelx.status, 0) << shelx.err;
  EXPECT_EQ(testing::read_text_file(dir + "/XDS_ASCII_merged.hkl"),
            testing::read_text_file(dir + "/ref.hkl"));
  const auto size = std::filesystem::file_size(print);
  ASSERT_EQ(testing::run_vorlane(dir, "XDS_ASCII.HKL").status, 0);
  EXPECT_GT(std::filesystem::file_size(print), size + size / 2);
}

// Options in place of the experiment file: the same output as the four-file run with the
// equivalent experiment file, which --write-exp writes.
TEST(IntegrationFormats, OptionsGiveTheFourFileRun) {
  const std::string dir = testing::make_temp_dir("options");
  copy_in(std::string(VORLANE_TEST_DATA) + "/realdata/dac_c1p1_p21c_crysalis.hkl", dir, "data.hkl");
  const auto run = testing::run_vorlane(
      dir, "data.hkl --cell 7.448 8.302 28.56 90 91.12 90 --wavelength Ag "
           "--spacegroup 'P 21/c' --write-exp written.exp --sigma-ratio keep");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(testing::read_text_file(dir + "/written.exp"),
            "TITLE  data.hkl\n"
            "CELL  7.448 8.302 28.56 90 91.12 90\n"
            "WAVEL 1 0.56087\n"
            "VORLAN SPACEGROUP P 21/c\n");
  EXPECT_NE(run.out.find("from the option --wavelength"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("from the option --spacegroup"), std::string::npos) << run.out;
  // The experiment file as a user would write it (no other card needed).
  testing::write_file(dir + "/hand.exp",
                      "TITLE  data.hkl\nCELL  7.448 8.302 28.56 90.0 91.12 90.0\nWAVEL 1 0.56087\n"
                      "VORLAN SPACEGROUP P 21/c\n");
  const auto four = testing::run_vorlane(dir, "--sigma-ratio keep hand.exp run.prt data.hkl four.hkl");
  ASSERT_EQ(four.status, 0) << four.err;
  EXPECT_EQ(testing::read_text_file(dir + "/data_merged.hkl"),
            testing::read_text_file(dir + "/four.hkl"));
  EXPECT_EQ(testing::cif_items(testing::read_text_file(dir + "/data_merged_vorlane.cif")),
            testing::cif_items(testing::read_text_file(dir + "/four_vorlane.cif")));
  // The written file itself reproduces the run.
  const auto again = testing::run_vorlane(dir, "--sigma-ratio keep written.exp run.prt data.hkl again.hkl");
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(testing::read_text_file(dir + "/again.hkl"), testing::read_text_file(dir + "/four.hkl"));
  // A run-control option becomes its card.
  const auto controls = testing::run_vorlane(
      dir, "--sigma-ratio keep --cell 7.448 8.302 28.56 90 91.12 90 --wavelength 0.56087 "
           "--spacegroup 14 --no-rejection --less-than 3 --twotheta-max 40 --write-exp c.exp "
           "data.hkl c.hkl");
  ASSERT_EQ(controls.status, 0) << controls.err;
  EXPECT_EQ(testing::read_text_file(dir + "/c.exp"),
            "TITLE  data.hkl\nCELL  7.448 8.302 28.56 90 91.12 90\nWAVEL 1 0.56087\n"
            "VORLAN SPACEGROUP 14\nVORLAN OUTLIER NONE\nVORLAN LESSTHAN 3\n"
            "VORLAN 2THETA MAX 40\n");
  const std::string listing = testing::read_text_file(dir + "/c.lis");
  EXPECT_NE(listing.find("c.exp"), std::string::npos);
  // Nothing gives a cell: an error naming the option; nothing is written.
  const auto none = testing::run_vorlane(dir, "data.hkl nothing.hkl");
  EXPECT_EQ(none.status, 2);
  EXPECT_EQ(none.err, "vorlane: no cell: give --cell a b c alpha beta gamma\n");
  EXPECT_FALSE(std::filesystem::exists(dir + "/nothing.lis"));
}

// MTZ output: read back with gemmi, the same reflections and values as the SHELX output.
TEST(IntegrationFormats, MtzOutputReadsBack) {
  const std::string dir = testing::make_temp_dir("mtzout");
  for (const char* friedel : {"merge", "keep"}) {
    SCOPED_TRACE(friedel);
    const std::string opts = std::string("--sigma-ratio keep --friedel ") + friedel + " '" + DATA +
                             "p-1.exp' run.prt '" + DATA + "p-1.hkl' ";
    ASSERT_EQ(testing::run_vorlane(dir, opts + "ref.hkl").status, 0);
    const auto run = testing::run_vorlane(dir, opts + "out.mtz");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("out.mtz"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir + "/out_vorlane.cif"));
    gemmi::Mtz mtz = gemmi::read_mtz_file(dir + "/out.mtz");
    ASSERT_NE(mtz.spacegroup, nullptr);
    EXPECT_EQ(mtz.spacegroup->number, 2);
    EXPECT_NEAR(mtz.cell.a, 4.8731, 1e-4);
    EXPECT_NEAR(mtz.cell.alpha, 73.346, 1e-3);
    ASSERT_EQ(mtz.datasets.size(), 2u);
    EXPECT_NEAR(mtz.datasets[1].wavelength, 0.71073, 1e-5);
    const bool keep = std::string(friedel) == "keep";
    const std::vector<std::string> labels =
        keep ? std::vector<std::string>{"H", "K", "L", "I(+)", "SIGI(+)", "I(-)", "SIGI(-)"}
             : std::vector<std::string>{"H", "K", "L", "IMEAN", "SIGIMEAN"};
    std::vector<std::string> got;
    for (const auto& c : mtz.columns) got.push_back(c.label);
    ASSERT_EQ(got, labels);
    // Every SHELX record is in the MTZ at its asymmetric-unit indices (gemmi's), in the
    // column of its Friedel sign.
    const gemmi::GroupOps ops = mtz.spacegroup->operations();
    const gemmi::ReciprocalAsu asu(mtz.spacegroup);
    std::map<gemmi::Op::Miller, std::size_t> rows;
    const std::size_t width = mtz.columns.size();
    for (std::size_t r = 0; r < static_cast<std::size_t>(mtz.nreflections); ++r) {
      const gemmi::Op::Miller h = mtz.get_hkl(r * width);
      EXPECT_TRUE(asu.is_in(h));
      rows[h] = r;
    }
    std::size_t records = 0, filled = 0;
    for (const auto& line : testing::split_lines(testing::read_text_file(dir + "/ref.hkl"))) {
      if (line.size() < 28) continue;
      const gemmi::Op::Miller h = {std::stoi(line.substr(0, 4)), std::stoi(line.substr(4, 4)),
                                   std::stoi(line.substr(8, 4))};
      if (h == gemmi::Op::Miller{0, 0, 0}) break;
      ++records;
      const auto [a, isym] = asu.to_asu(h, ops);
      ASSERT_TRUE(rows.count(a)) << line;
      const float* row = &mtz.data[rows[a] * width];
      const std::size_t at = keep && isym % 2 == 0 ? 5 : 3;
      EXPECT_EQ(row[at], std::stof(line.substr(12, 8))) << line;
      EXPECT_EQ(row[at + 1], std::stof(line.substr(20, 8))) << line;
    }
    for (std::size_t r = 0; r < static_cast<std::size_t>(mtz.nreflections); ++r) {
      for (std::size_t c = 3; c < width; c += 2) filled += std::isnan(mtz.data[r * width + c]) ? 0 : 1;
    }
    EXPECT_EQ(filled, records);
    EXPECT_GT(records, 1000u);
  }
}

// With SYMOP cards the MTZ carries the group gemmi finds for the operators.
TEST(IntegrationFormats, MtzSpaceGroupFromTheOperators) {
  const std::string dir = testing::make_temp_dir("mtzops");
  const std::string data = std::string(VORLANE_TEST_DATA) + "/realdata/";
  const struct {
    const char* set;
    int number;
    const char* hm;
  } sets[] = {{"dac_c1p1_p21c_crysalis", 14, "P 1 21/c 1"}, {"cod2242045_p-1_crysalis", 2, "P -1"},
              {"cod1552546_c2c_ag", 15, "C 1 2/c 1"}};
  for (const auto& c : sets) {
    SCOPED_TRACE(c.set);
    const std::string base = data + c.set;
    const auto run = testing::run_vorlane(
        dir, "--sigma-ratio keep '" + base + ".exp' run.prt '" + base + ".hkl' out.mtz");
    ASSERT_EQ(run.status, 0) << run.err;
    const gemmi::Mtz mtz = gemmi::read_mtz_file(dir + "/out.mtz");
    ASSERT_NE(mtz.spacegroup, nullptr);
    EXPECT_EQ(mtz.spacegroup->number, c.number);
    EXPECT_EQ(mtz.spacegroup->hm, std::string(c.hm));
  }
}

// Bad input per format: a clear error or warning naming the file and where.
TEST(IntegrationFormats, BadInputIsSaidClearly) {
  const std::string dir = testing::make_temp_dir("badformats");
  const std::string xds = testing::read_text_file(DATA + "XDS_ASCII.HKL");
  // Truncated within a line, and at a line's end: the line where it ends.
  testing::write_file(dir + "/cut.HKL", xds.substr(0, xds.size() / 2));
  auto run = testing::run_vorlane(dir, "cut.HKL");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("vorlane: XDS_ASCII file cut.HKL, line 1484: expected 12 numbers, found 3"),
            std::string::npos) << run.err;
  EXPECT_NE(run.err.find("(the file ends within it: truncated?)"), std::string::npos) << run.err;
  testing::write_file(dir + "/cut.HKL", xds.substr(0, xds.find('\n', xds.size() / 2) + 1));
  run = testing::run_vorlane(dir, "cut.HKL");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("vorlane: XDS_ASCII file cut.HKL, line 1484: the file ends without "
                         "!END_OF_DATA (truncated?)"),
            std::string::npos) << run.err;
  // A header that contradicts the experiment file: a warning, and the card's value is used.
  std::string exp = testing::read_text_file(DATA + "p-1.exp");
  exp.replace(exp.find("4.8731"), 6, "4.9000");
  testing::write_file(dir + "/other.exp", exp);
  copy_in(DATA + "XDS_ASCII.HKL", dir, "XDS_ASCII.HKL");
  run = testing::run_vorlane(dir, "--sigma-ratio keep other.exp run.prt XDS_ASCII.HKL out.hkl");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("CELL card and the XDS_ASCII header differ (a 4.9 against 4.8731): the "
                         "CELL card is used"),
            std::string::npos) << run.err;
  EXPECT_NE(testing::read_text_file(dir + "/run.prt").find("the CELL card is used"),
            std::string::npos);
  // Merged data: read, with the warning that they are merged.
  testing::write_file(dir + "/merged.HKL",
                      "!FORMAT=XDS_ASCII    MERGE=TRUE    FRIEDEL'S_LAW=TRUE\n"
                      "!SPACE_GROUP_NUMBER=    2\n"
                      "!UNIT_CELL_CONSTANTS=  4.8731  6.2429  8.0130  73.346  89.701  89.698\n"
                      "!X-RAY_WAVELENGTH=  0.71073\n"
                      "!NUMBER_OF_ITEMS_IN_EACH_DATA_RECORD=5\n"
                      "!ITEM_H=1\n!ITEM_K=2\n!ITEM_L=3\n!ITEM_IOBS=4\n!ITEM_SIGMA(IOBS)=5\n"
                      "!END_OF_HEADER\n 1 0 0 100.0 2.0\n 0 1 0 50.0 2.0\n!END_OF_DATA\n");
  run = testing::run_vorlane(dir, "--sigma-ratio keep merged.HKL");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("merged.HKL says MERGE=TRUE: the data are already merged"),
            std::string::npos) << run.err;
  // A CIF without the intensity's sigma, an MTZ cut short.
  testing::write_file(dir + "/nosigma.cif",
                      "data_x\nloop_\n_diffrn_refln_index_h\n_diffrn_refln_index_k\n"
                      "_diffrn_refln_index_l\n_diffrn_refln_intensity_net\n1 2 3 4\n");
  run = testing::run_vorlane(dir, "nosigma.cif");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("CIF file nosigma.cif: the _diffrn_refln loop of block x has neither"),
            std::string::npos) << run.err;
  const std::string mtz = testing::read_text_file(DATA + "p-1_unmerged.mtz");
  testing::write_file(dir + "/cut.mtz", mtz.substr(0, mtz.size() - 1000));
  run = testing::run_vorlane(dir, "cut.mtz");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("MTZ file cut.mtz: "), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(dir + "/cut_merged.lis"));
  // --spacegroup auto: the records converted from the header's format are read twice, and
  // the group is found from them.
  run = testing::run_vorlane(dir, "--spacegroup auto XDS_ASCII.HKL");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("space group        P -1 (No. 2) found from the data, probability"),
            std::string::npos) << run.out;
}

}  // namespace
}  // namespace vorlane
