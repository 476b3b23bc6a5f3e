// The readers of integration programs' files against the SHELX file of the same measurements
// and against gemmi's own readers, and their messages for input they cannot take.
#include <gtest/gtest.h>

#include <gemmi/xds_ascii.hpp>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "input/input_record.hpp"
#include "input/integration_input.hpp"
#include "input/read_mtz.hpp"
#include "input/read_reflection_cif.hpp"
#include "input/read_xds_ascii.hpp"
#include "input/shelx_equivalent.hpp"
#include "support/test_support.hpp"

namespace vorlane::input {
namespace {

const std::string DATA = std::string(VORLANE_TEST_DATA) + "/integration/";

std::string bytes_of(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The SHELX file's records as (h, k, l, I, sigma, batch), as the SHELX reader reads them.
using Row = std::tuple<int, int, int, float, float, int>;
std::vector<Row> shelx_rows(const std::string& text) {
  std::vector<Row> rows;
  for (const std::string& line : testing::split_lines(text)) {
    InputRecord r;
    if (!parse_shelx_record(line, r)) ADD_FAILURE() << line;
    if (r.h[0] == 0 && r.h[1] == 0 && r.h[2] == 0) break;
    rows.emplace_back(r.h[0], r.h[1], r.h[2], r.value, r.sigma, r.batch);
  }
  return rows;
}

std::vector<Row> rows_of(const IntegrationData& d) {
  return shelx_rows(shelx_equivalent(d, "test"));
}

// Every format gives the SHELX file's measurements record for record (MTZ in its own order).
TEST(IntegrationReaders, SameMeasurementsAsTheShelxFile) {
  const std::vector<Row> want = shelx_rows(bytes_of(DATA + "p-1.hkl"));
  ASSERT_EQ(want.size(), 2936u);
  const struct {
    const char* file;
    IntegrationFormat format;
    const char* name;
  } files[] = {{"XDS_ASCII.HKL", IntegrationFormat::xds, "XDS_ASCII"},
               {"p-1_unmerged.mmcif", IntegrationFormat::cif, "mmCIF"},
               {"p-1_diffrn_refln.cif", IntegrationFormat::cif, "core CIF"},
               {"p-1_unmerged.mtz", IntegrationFormat::mtz, "MTZ"}};
  for (const auto& f : files) {
    SCOPED_TRACE(f.file);
    const IntegrationData d = read_integration_file(DATA + f.file, f.format, f.file);
    EXPECT_EQ(d.format_name, f.name);
    EXPECT_FALSE(d.merged);
    EXPECT_TRUE(d.warnings.empty()) << d.warnings.front();
    EXPECT_EQ(rows_of(d), want);
    ASSERT_TRUE(d.header.cell.has_value());
    EXPECT_NEAR((*d.header.cell)[0].value, 4.8731, 1e-4);
    EXPECT_NEAR((*d.header.cell)[3].value, 73.346, 1e-3);
    ASSERT_TRUE(d.header.wavelength.has_value());
    EXPECT_NEAR(d.header.wavelength->value, 0.71073, 1e-5);
    EXPECT_EQ(d.header.space_group_number, 2);
  }
}

// gemmi's XdsAscii reader on the same file: the same values.
TEST(IntegrationReaders, XdsAgreesWithGemmi) {
  const std::string text = bytes_of(DATA + "XDS_ASCII.HKL");
  gemmi::XdsAscii g;
  g.read_stream(gemmi::MemoryStream(text.data(), text.size()), "XDS_ASCII.HKL");
  const IntegrationData d = read_xds_ascii(text, "XDS_ASCII.HKL");
  ASSERT_EQ(d.measurements.size(), g.data.size());
  for (std::size_t i = 0; i < g.data.size(); ++i) {
    const auto& m = d.measurements[i];
    EXPECT_EQ(m.h[0], g.data[i].hkl[0]);
    EXPECT_EQ(m.h[1], g.data[i].hkl[1]);
    EXPECT_EQ(m.h[2], g.data[i].hkl[2]);
    EXPECT_EQ(m.intensity, g.data[i].iobs);
    EXPECT_EQ(m.sigma, g.data[i].sigma);
    // One batch per 100 frames of ZD.
    EXPECT_EQ(m.batch, static_cast<int>(g.data[i].zd / 100.0) + 1);
  }
  EXPECT_EQ(d.header.space_group_number, g.spacegroup_number);
  EXPECT_DOUBLE_EQ(d.header.wavelength->value, g.wavelength);
  EXPECT_DOUBLE_EQ((*d.header.cell)[2].value, g.unit_cell.c);
  // The header's precision: half a unit of the last decimal written.
  EXPECT_DOUBLE_EQ((*d.header.cell)[0].precision, 0.00005);
  EXPECT_DOUBLE_EQ((*d.header.cell)[3].precision, 0.0005);
}

const char* const XDS_HEAD =
    "!FORMAT=XDS_ASCII    MERGE=FALSE    FRIEDEL'S_LAW=TRUE\n"
    "!SPACE_GROUP_NUMBER=   14\n"
    "!UNIT_CELL_CONSTANTS=    10.000    12.000    15.000  90.000  95.000  90.000\n"
    "!X-RAY_WAVELENGTH=  0.710730\n"
    "!NUMBER_OF_ITEMS_IN_EACH_DATA_RECORD=9\n"
    "!ITEM_H=1\n!ITEM_K=2\n!ITEM_L=3\n!ITEM_IOBS=4\n!ITEM_SIGMA(IOBS)=5\n"
    "!ITEM_XD=6\n!ITEM_YD=7\n!ITEM_ZD=8\n!ITEM_ISET=9\n"
    "!END_OF_HEADER\n";

// XDS_ASCII files the reader cannot take: the message names the file, the line and the text.
TEST(IntegrationReaders, XdsErrorsNameTheLine) {
  const struct {
    std::string text;
    const char* says;
  } cases[] = {
      {"!FORMAT=SOMETHING\n", "line 1: expected '!FORMAT=XDS_ASCII', found '!FORMAT=SOMETHING'"},
      {"", "line 0: expected '!FORMAT=XDS_ASCII'"},
      {std::string(XDS_HEAD) + "  1 2 3 100.0 5.0 1 1 10 1\n",
       "line 16: the file ends without !END_OF_DATA (truncated?)"},
      {std::string(XDS_HEAD) + "  1 2 3 1OO.0 5.0 1 1 10 1\n!END_OF_DATA\n",
       "line 16: IOBS '1OO.0' is not a number"},
      {std::string(XDS_HEAD) + "  1 2 3 100.0 5.0 1 1\n!END_OF_DATA\n",
       "line 16: expected 9 numbers, found 7 in '  1 2 3 100.0 5.0 1 1'"},
      {std::string(XDS_HEAD) + "  1 2.5 3 100.0 5.0 1 1 10 1\n!END_OF_DATA\n",
       "line 16: the index '2.5' is not a whole number"},
      {"!FORMAT=XDS_ASCII    MERGE=FALSE\n!NUMBER_OF_ITEMS_IN_EACH_DATA_RECORD=5\n!ITEM_H=1\n"
       "!ITEM_K=2\n!ITEM_L=3\n!ITEM_SIGMA(IOBS)=5\n!END_OF_HEADER\n",
       "line 7: the header names no column ITEM_IOBS"},
      {"!FORMAT=XDS_ASCII    MERGE=FALSE\n!UNIT_CELL_CONSTANTS= 10 12 x 90 90 90\n",
       "line 2: UNIT_CELL_CONSTANTS= holds 'x', not a cell constant"},
      {"!FORMAT=XDS_ASCII    MERGE=FALSE\n!SPACE_GROUP_NUMBER= 231\n",
       "line 2: SPACE_GROUP_NUMBER=231 is not a number from 1 to 230"},
      {std::string(XDS_HEAD) + "!END_OF_DATA\n", "XDS_ASCII file f.HKL holds no usable reflection"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      read_xds_ascii(c.text, "f.HKL");
      ADD_FAILURE() << "read without an error";
    } catch (const IntegrationReadError& e) {
      EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("f.HKL"), std::string::npos) << e.what();
    }
  }
}

TEST(IntegrationReaders, XdsMisfitsMergedFilesFriedelAndBatches) {
  const std::string text = std::string(XDS_HEAD) +
                           "  1 2 3 100.0 5.0 1 1 10 1\n"
                           "  1 2 3 110.0 -5.0 1 1 20 1\n"     // a misfit
                           "  0 0 0 1.0 1.0 1 1 20 1\n"        // no reflection
                           "  -1 -2 -3 90.0 4.0 1 1 250 1\n"   // frames 200-299
                           "  1 2 3 95.0 4.0 1 1 10 2\n"       // ISET 2
                           "!END_OF_DATA\n";
  const IntegrationData d = read_xds_ascii(text, "f.HKL");
  ASSERT_EQ(d.measurements.size(), 3u);
  // (ISET 1, block 0), (1, 2), (2, 0): numbered 1, 2, 3.
  EXPECT_EQ(d.measurements[0].batch, 1);
  EXPECT_EQ(d.measurements[1].batch, 2);
  EXPECT_EQ(d.measurements[2].batch, 3);
  ASSERT_EQ(d.warnings.size(), 2u);
  EXPECT_EQ(d.warnings[0], "1 misfits (negative sigma) of XDS_ASCII file f.HKL left out");
  EXPECT_EQ(d.warnings[1], "1 records with indices 0 0 0 of f.HKL left out");
  EXPECT_EQ(d.header.friedel_law, true);

  // XSCALE's merged files: five items, MERGE=TRUE, Friedel's law off, wavelength per ISET.
  const std::string merged =
      "!FORMAT=XDS_ASCII    MERGE=TRUE    FRIEDEL'S_LAW=FALSE\r\n"
      "!ISET= 1 X-RAY_WAVELENGTH=  1.54180\r\n"
      "!NUMBER_OF_ITEMS_IN_EACH_DATA_RECORD=5\r\n"
      "!ITEM_H=1\r\n!ITEM_K=2\r\n!ITEM_L=3\r\n!ITEM_IOBS=4\r\n!ITEM_SIGMA(IOBS)=5\r\n"
      "!END_OF_HEADER\r\n"
      " 1 0 0 1.0E+02 2.0E+00\r\n"
      "!END_OF_DATA\r\n";
  const IntegrationData m = read_xds_ascii(merged, "x.HKL");
  EXPECT_TRUE(m.merged);
  EXPECT_EQ(m.header.friedel_law, false);
  ASSERT_TRUE(m.header.wavelength.has_value());
  EXPECT_DOUBLE_EQ(m.header.wavelength->value, 1.5418);
  EXPECT_FALSE(m.header.cell.has_value());
  EXPECT_EQ(m.header.space_group_number, 0);
  ASSERT_EQ(m.measurements.size(), 1u);
  EXPECT_EQ(m.measurements[0].intensity, 100.0);
  EXPECT_EQ(m.measurements[0].batch, 1);
  EXPECT_EQ(m.warnings.back(), "XDS_ASCII file x.HKL says MERGE=TRUE: the data are already merged");
}

const char* const CIF_HEAD =
    "data_x\n_cell_length_a 10.0\n_cell_length_b 12.0\n_cell_length_c 15.0(2)\n"
    "_cell_angle_alpha 90\n_cell_angle_beta 95.5\n_cell_angle_gamma 90\n";

TEST(IntegrationReaders, CifErrorsAndLeftOutRows) {
  const struct {
    std::string text;
    const char* says;
  } cases[] = {
      {std::string(CIF_HEAD) + "loop_\n_diffrn_refln_index_h\n_diffrn_refln_index_k\n"
                               "_diffrn_refln_index_l\n_diffrn_refln_intensity_net\n1 2 3 4\n",
       "the _diffrn_refln loop of block x has neither _diffrn_refln_intensity_u nor "
       "_diffrn_refln_intensity_sigma"},
      {std::string(CIF_HEAD) + "loop_\n_diffrn_refln.index_h\n_diffrn_refln.index_k\n"
                               "_diffrn_refln.index_l\n_diffrn_refln.intensity_u\n1 2 3 4\n",
       "has no _diffrn_refln.intensity_net"},
      {std::string(CIF_HEAD) + "loop_\n_diffrn_refln_index_h\n_diffrn_refln_index_k\n"
                               "_diffrn_refln_index_l\n_diffrn_refln_intensity_net\n"
                               "_diffrn_refln_intensity_u\n1 2 3 4 1\n1 2 3 x5 1\n",
       "row 2 of the _diffrn_refln loop, _diffrn_refln_intensity_net: 'x5' is not a number"},
      {std::string(CIF_HEAD) + "loop_\n_diffrn_refln_index_h\n_diffrn_refln_index_k\n"
                               "_diffrn_refln_index_l\n_diffrn_refln_intensity_net\n"
                               "_diffrn_refln_intensity_u\n1 2 3 4 1\n1 2 3\n",
       "cannot be read"},
      {"data_x\n_cell_length_a 10\n", "no block holds a _diffrn_refln loop"},
      {std::string(CIF_HEAD) + "loop_\n_diffrn_refln_index_h\n_diffrn_refln_index_k\n1 2\n"
                               "loop_\n_diffrn_refln_index_l\n_diffrn_refln_intensity_net\n"
                               "_diffrn_refln_intensity_u\n3 4 1\n",
       "the items _diffrn_refln_index_h, index_k, index_l, intensity_net are not in one loop"},
      {"not a cif at all {\n", "cannot be read"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      read_reflection_cif(c.text, "f.cif");
      ADD_FAILURE() << "read without an error";
    } catch (const IntegrationReadError& e) {
      EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("f.cif"), std::string::npos) << e.what();
    }
  }
  const IntegrationData d = read_reflection_cif(
      std::string(CIF_HEAD) +
          "_diffrn_radiation_wavelength 1.54184\n_symmetry_space_group_name_H-M 'P 1 21/n 1'\n"
          "loop_\n_diffrn_refln_index_h\n_diffrn_refln_index_k\n_diffrn_refln_index_l\n"
          "_diffrn_refln_intensity_net\n_diffrn_refln_intensity_sigma\n"
          "_diffrn_refln_scale_group_code\n"
          "1 2 3 4.5 1.5 run_b\n1 2 3 ? 1 run_b\n-1 2 3 5.5 -1 run_a\n0 0 0 1 1 run_a\n"
          "-1 -2 -3 6.25(3) 1.25 run_a\n",
      "f.cif");
  EXPECT_EQ(d.format_name, "core CIF");
  ASSERT_EQ(d.measurements.size(), 2u);
  EXPECT_EQ(d.measurements[1].intensity, 6.25);
  // Scale groups named by words: numbered in order of appearance.
  EXPECT_EQ(d.measurements[0].batch, 1);
  EXPECT_EQ(d.measurements[1].batch, 2);
  EXPECT_EQ(d.header.space_group, "P 1 21/n 1");
  EXPECT_DOUBLE_EQ((*d.header.cell)[2].value, 15.0);
  EXPECT_DOUBLE_EQ((*d.header.cell)[2].precision, 0.05);
  const std::vector<std::string> warnings = {
      "Scale groups of CIF file f.cif numbered 1 to 2 in order of appearance",
      "1 rows of CIF file f.cif without intensity or sigma left out",
      "1 rows of CIF file f.cif with a negative sigma left out",
      "1 rows of CIF file f.cif with indices 0 0 0 left out"};
  EXPECT_EQ(d.warnings, warnings);

  // A space-group "symbol" of several lines would add cards to the experiment file: not taken.
  const IntegrationData multi = read_reflection_cif(
      std::string(CIF_HEAD) + "_symmetry_space_group_name_H-M\n;P 21/c\nWAVEL 1 9.9\n;\n"
                              "loop_\n_diffrn_refln_index_h\n_diffrn_refln_index_k\n"
                              "_diffrn_refln_index_l\n_diffrn_refln_intensity_net\n"
                              "_diffrn_refln_intensity_u\n1 2 3 4 1\n",
      "s.cif");
  EXPECT_EQ(multi.header.space_group, "");
  EXPECT_EQ(multi.warnings.front(), "CIF file s.cif: its space-group symbol is not a symbol");

  // Merged reflections: read, and said to be merged.
  const IntegrationData m = read_reflection_cif(
      std::string(CIF_HEAD) + "loop_\n_refln.index_h\n_refln.index_k\n_refln.index_l\n"
                              "_refln.intensity_meas\n_refln.intensity_sigma\n1 0 0 10 1\n",
      "m.cif");
  EXPECT_TRUE(m.merged);
  EXPECT_EQ(m.measurements.size(), 1u);
  EXPECT_NE(m.warnings.back().find("the data are already merged"), std::string::npos);
}

// Offsets into the committed MTZ file: its first block, then the data (7 columns).
float& mtz_value(std::string& bytes, std::size_t row, std::size_t col) {
  return *reinterpret_cast<float*>(bytes.data() + 80 + 4 * (row * 7 + col));
}

TEST(IntegrationReaders, MtzPartialsTruncationAndHeaderCounts) {
  const std::string good = bytes_of(DATA + "p-1_unmerged.mtz");
  {
    // The M flag of two rows (M/ISYM = 256 + ISYM): partials, left out.
    std::string b = good;
    float v1 = 0, v2 = 0;
    std::memcpy(&v1, &mtz_value(b, 0, 3), 4);
    std::memcpy(&v2, &mtz_value(b, 5, 3), 4);
    const float p1 = v1 + 256.0f, p2 = v2 + 256.0f;
    std::memcpy(&mtz_value(b, 0, 3), &p1, 4);
    std::memcpy(&mtz_value(b, 5, 3), &p2, 4);
    const IntegrationData d = read_mtz(b, "p.mtz");
    EXPECT_EQ(d.measurements.size(), 2934u);
    ASSERT_FALSE(d.warnings.empty());
    EXPECT_EQ(d.warnings[0], "2 partial reflections (M flag) of MTZ file p.mtz left out");
  }
  const struct {
    std::string bytes;
    const char* says;
  } cases[] = {
      {good.substr(0, good.size() / 2), "beyond the file's"},
      {good.substr(0, 40), "does not start with 'MTZ ' and an 80-byte first block"},
      {"MTZX" + good.substr(4), "does not start with 'MTZ '"},
      {[&] {
         // A row count far beyond the file: refused before anything is sized by it.
         std::string b = good;
         b.replace(b.find("NCOL"), 30, "NCOL        7  2000000000    3");
         return b;
       }(),
       "2000000000 rows of 7 columns do not fit the"},
      {[&] {
         std::string b = good;
         const float bad = 99.0f;  // ISYM 99: no such operator in P -1
         std::memcpy(&mtz_value(b, 3, 3), &bad, 4);
         return b;
       }(),
       "row 4, column M/ISYM: ISYM 99 names no operator of the 2 listed"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    try {
      read_mtz(c.bytes, "bad.mtz");
      ADD_FAILURE() << "read without an error";
    } catch (const IntegrationReadError& e) {
      EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("bad.mtz"), std::string::npos) << e.what();
    }
  }
}

TEST(IntegrationReaders, FormatFromContentAndName) {
  EXPECT_EQ(integration_format_from_content("\xEF\xBB\xBF!FORMAT=XDS_ASCII    MERGE=FALSE\n"),
            IntegrationFormat::xds);
  EXPECT_EQ(integration_format_from_content("MTZ \x01\x02"), IntegrationFormat::mtz);
  EXPECT_EQ(integration_format_from_content("# made by x\ndata_a\nloop_\n_diffrn_refln.index_h\n"),
            IntegrationFormat::cif);
  EXPECT_EQ(integration_format_from_content("   1   2   3  100.00    5.00\n"), std::nullopt);
  EXPECT_EQ(integration_format_from_content("data_a\n_cell_length_a 5\n"), std::nullopt);
  EXPECT_EQ(integration_format_from_name("a/b.MMCIF"), IntegrationFormat::cif);
  EXPECT_EQ(integration_format_from_name("b.cif"), IntegrationFormat::cif);
  EXPECT_EQ(integration_format_from_name("b.mtz"), IntegrationFormat::mtz);
  EXPECT_EQ(integration_format_from_name("XDS_ASCII.HKL"), std::nullopt);
}

TEST(IntegrationReaders, EightColumnsAsManyDecimalsAsFit) {
  const struct {
    double v;
    const char* text;
  } cases[] = {{12.6579, "12.65790"},   {-5.84512, "-5.84512"}, {0.0, "0.000000"},
               {99999.0, "99999.00"},   {-9999999.0, "-9999999"}, {12345678.0, "12345678"},
               {1234567.0, "1234567."}, {2118.94, "2118.940"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.v);
    const std::string t = f8_text(c.v);
    EXPECT_EQ(t.size(), 8u);
    EXPECT_EQ(t.substr(t.find_first_not_of(' ')), c.text);
  }
  EXPECT_EQ(f8_text(123456789.0), "");
  EXPECT_EQ(f8_text(-12345678.0), "");
  IntegrationData d;
  d.measurements.push_back({{1, 2, 3}, 1e9, 1.0, 1});
  try {
    shelx_equivalent(d, "big.HKL");
    ADD_FAILURE() << "no error";
  } catch (const IntegrationReadError& e) {
    EXPECT_NE(std::string(e.what()).find("big.HKL, measurement 1 (1 2 3)"), std::string::npos)
        << e.what();
  }
}

}  // namespace
}  // namespace vorlane::input
