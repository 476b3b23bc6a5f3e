// Whole runs: the shell table against an independent computation (tools/statistics_reference.py,
// numpy and gemmi), the ledger against the print file's counts, OPENING on real DAC data, and
// the HTML report rendered by a headless browser.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "e2e/cli_support.hpp"
#include "support/test_support.hpp"

namespace vorlane {
namespace {

using nlohmann::json;

json read_json(const std::string& path) { return json::parse(testing::read_text_file(path)); }

void expect_ratio(const json& got, const json& want, const std::string& what) {
  if (want.is_null()) {
    EXPECT_TRUE(got.is_null()) << what;
    return;
  }
  ASSERT_FALSE(got.is_null()) << what;
  const double w = want.get<double>();
  EXPECT_NEAR(got.get<double>(), w, 1e-4 * std::max(1.0, std::fabs(w))) << what;
}

void expect_row(const json& got, const json& want, const std::string& where) {
  EXPECT_EQ(got.at("n_obs"), want.at("n_obs")) << where;
  EXPECT_EQ(got.at("n_unique"), want.at("n_unique")) << where;
  for (const char* key : {"multiplicity", "completeness", "i_over_sigma", "r_int", "r_sigma",
                          "r_meas", "r_pim", "cc_half", "chi2"})
    expect_ratio(got.at(key), want.at(key), where + " " + key);
}

class ShellReference : public ::testing::TestWithParam<const char*> {};

TEST_P(ShellReference, EveryColumnAgreesWithTheIndependentComputation) {
  const std::string id = GetParam();
  const std::string dir = testing::make_temp_dir("shells");
  const std::string data = std::string(VORLANE_TEST_DATA) + "/realdata/" + id;
  testing::write_file(dir + "/r.exp",
                      testing::read_text_file(data + ".exp") + "VORLAN OUTLIER NONE\n");
  const auto run = testing::run_vorlane(
      dir, "--sigma-ratio keep --report none r.exp r.prt '" + data + ".hkl' out.hkl");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(std::filesystem::exists(dir + "/out_report.html"));
  const json got = read_json(dir + "/out_stats.json");
  const json want =
      read_json(std::string(VORLANE_TEST_DATA) + "/statistics/" + id + ".json");
  ASSERT_EQ(got.at("shells").size(), want.at("shells").size());
  for (std::size_t k = 0; k < want.at("shells").size(); ++k) {
    const json& g = got.at("shells")[k];
    const json& w = want.at("shells")[k];
    expect_row(g, w, "shell " + std::to_string(k + 1));
    EXPECT_NEAR(g.at("d_min").get<double>(), w.at("d_min").get<double>(), 1e-6);
    EXPECT_NEAR(g.at("d_max").get<double>(), w.at("d_max").get<double>(), 1e-6);
  }
  expect_row(got.at("overall"), want.at("overall"), "overall");
  expect_ratio(got.at("normal_probability").at("slope"), want.at("normal_probability").at("slope"),
               "slope");
  expect_ratio(got.at("normal_probability").at("intercept"),
               want.at("normal_probability").at("intercept"), "intercept");
  std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(RealData, ShellReference,
                         ::testing::Values("cod2242045_p-1_crysalis", "caf2_fm-3m_ag_crysalis",
                                           "nacl_fm-3m_crysalis"),
                         [](const ::testing::TestParamInfo<const char*>& p) {
                           std::string n = p.param;
                           for (char& c : n)
                             if (c == '-') c = '_';
                           return n;
                         });

// The count in front of a print-file line of the averaging summary.
int printed_count(const std::string& prt, const std::string& text) {
  const std::regex re("(\\d+) " + text);
  std::smatch m;
  if (!std::regex_search(prt, m, re)) return -1;
  return std::stoi(m[1]);
}

std::map<std::string, int> ledger_counts(const std::string& csv) {
  std::map<std::string, int> n;
  std::istringstream in(csv);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "line,h,k,l,batch,two_theta,i,sigma_i,set_h,set_k,set_l,set_average,"
                  "test_value,reason");
  while (std::getline(in, line)) ++n[line.substr(line.rfind(',') + 1)];
  return n;
}

// The diamond-anvil-cell data set with its orientation matrix (CrysAlisPro's UB times lambda:
// UBL cards) and an opening of 35 degrees.
TEST(StatisticsRun, OpeningOnRealDacDataLedgerAndReport) {
  const std::string dir = testing::make_temp_dir("dac");
  const std::string data = std::string(VORLANE_TEST_DATA) + "/realdata/dac_c1p1_p21c_crysalis";
  testing::write_file(dir + "/r.exp", testing::read_text_file(data + ".exp") +
                                          "UBL -0.0026344 0.0562933 -0.0106563\n"
                                          "UBL -0.0075935 -0.0365821 -0.0163966\n"
                                          "UBL -0.0748129 0.0020128 0.0016300\n"
                                          "VORLAN OPENING 35.0\n");
  const auto run =
      testing::run_vorlane(dir, "--sigma-ratio keep r.exp r.prt '" + data + ".hkl' out.hkl");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string cif = testing::read_text_file(dir + "/out_vorlane.cif");
  EXPECT_NE(cif.find("_diffrn_measured_fraction_theta_max  0.622"), std::string::npos);
  EXPECT_NE(cif.find("_reflns_special_details"), std::string::npos);
  const json st = read_json(dir + "/out_stats.json");
  const double full = st.at("overall").at("completeness").get<double>();
  const double dac = st.at("overall").at("dac_completeness").get<double>();
  EXPECT_NEAR(full, 0.622, 0.0005);
  EXPECT_GT(dac, full);
  EXPECT_LT(dac, 1.0);
  EXPECT_NE(run.out.find("DAC completeness"), std::string::npos);
  EXPECT_NE(run.out.find("out_rejections.csv"), std::string::npos);

  // The ledger's counts are the print file's.
  const std::string prt = testing::read_text_file(dir + "/r.prt");
  const auto counts = ledger_counts(testing::read_text_file(dir + "/out_rejections.csv"));
  const auto count = [&](const char* k) { return counts.count(k) ? counts.at(k) : 0; };
  EXPECT_EQ(count("space-group violation"), printed_count(prt, "WERE SPACE GROUP VIOLATIONS"));
  EXPECT_EQ(count("outlier"), printed_count(prt, "INDIVIDUALS WERE EXCLUDED AS OUTLIERS"));
  EXPECT_EQ(count("DAC dip"), printed_count(prt, "INDIVIDUALS WERE EXCLUDED AS DAC DIPS"));
  EXPECT_EQ(count("outside 2theta window"),
            printed_count(prt, "WERE OUTSIDE SPECIFIED 2THETA LIMITS"));
  EXPECT_GT(count("space-group violation") + count("outlier"), 0);
  EXPECT_EQ(st.at("rejections").at("outlier"), count("outlier"));
  EXPECT_NE(prt.find("STATISTICS BY RESOLUTION SHELL"), std::string::npos);

  // The report, rendered by headless Chromium; the screenshot is kept for a look.
  const std::string html = dir + "/out_report.html";
  const std::string page = testing::read_text_file(html);
  EXPECT_EQ(page.find("<script"), std::string::npos);
  EXPECT_EQ(page.find("http://"), page.find("http://www.w3.org/2000/svg"));
  EXPECT_EQ(page.find("https://"), std::string::npos);
  const std::string shots = std::string(VORLANE_BIN_DIR) + "/../screenshots";
  std::filesystem::create_directories(shots);
  const std::string shot = shots + "/report_dac.png";
  std::filesystem::remove(shot);
  const std::string profile = testing::make_temp_dir("chromium");
  const std::string cmd =
      "chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
      "--disable-background-networking --disable-component-update --disable-sync "
      "--user-data-dir=" + profile + " --screenshot=" + shot +
      " --window-size=1400,3000 file://" + html + " > " + dir + "/chromium.log 2>&1";
  if (std::system("command -v chromium > /dev/null 2>&1") != 0) GTEST_SKIP() << "no chromium";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << testing::read_text_file(dir + "/chromium.log");
  EXPECT_TRUE(std::filesystem::exists(shot));
  EXPECT_GT(std::filesystem::file_size(shot), 20000u);
  std::filesystem::remove_all(profile);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vorlane
