// The first lines of an input file against the format it will be read in.
#include <gtest/gtest.h>

#include <sstream>

#include "input/content_check.hpp"
#include "support/test_support.hpp"

namespace vorlane::input {
namespace {

const std::string kShelx = "   1   0   0 0.36031 0.34981  12\n  -1   0   0 -0.0279 0.03389   7\n";
const std::string kZezor =
    "  1  2  3    10.000 0.250       1.0          20.00   0.00   0.00   0.00\n"
    " -1 -2 -3    10.000 0.250       1.0          20.00   0.00   0.00   0.00\n";

TEST(ContentCheck, FirstLinesAgainstTheFormat) {
  struct Case {
    std::string text;
    int infmt;
    std::string found;  // empty: fits
  };
  const std::vector<Case> cases{
      {kShelx, 1, ""},
      {kZezor, 0, ""},
      {"Header of the data set\n" + kShelx, 1, ""},   // one header line is the reader's business
      {"\r\n" + kShelx, 1, ""},
      {kShelx, 0, "SHELX hkl records (indices in 4 columns)"},
      {kZezor, 1, "Zezor abs records (indices in 3 columns)"},
      {"\n SADABS-2016/2 - Bruker AXS area detector scaling\n" + kShelx, 0,
       "a SADABS listing (text), not reflection records"},
      {"Some listing\nwith words\nand more words\nthan numbers\n" + kShelx, 1,
       "text lines, not reflection records"},
      {"", 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::istringstream in(c.text);
    EXPECT_EQ(content_mismatch(in, c.infmt), c.found);
  }
}

TEST(ContentCheck, RealFilesFitTheirNames) {
  for (const char* name : {"caf2_fm-3m_ag_crysalis.hkl", "nacl_fm-3m_crysalis.hkl",
                           "cod2242045_p-1_crysalis.hkl"}) {
    EXPECT_EQ(content_check_message(std::string(VORLANE_TEST_DATA) + "/realdata/" + name, 1), "")
        << name;
  }
}

}  // namespace
}  // namespace vorlane::input
