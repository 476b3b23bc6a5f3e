// Writing through edit lists: record structure, fields, reversion, type checks.
// Expected texts are worked by hand from the layout rules (Fortran formatted output).
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "records/edit_list.hpp"

namespace vorlane::records {
namespace {

using Records = std::vector<std::string>;

TEST(EditListWrite, FieldsLiteralsAndBlanks) {
  EXPECT_EQ(format(R"(1X,3I3,1X,A1,1X,F7.2)", 1, -2, 30, "G", 12.345f),
            Records{"   1 -2 30 G   12.35"});
  EXPECT_EQ(format(R"L(4X,"REJECTION LEVEL FOR LESS-THANS: ",F3.1," SIG(FSQ)")L", 3.0f),
            Records{"    REJECTION LEVEL FOR LESS-THANS: 3.0 SIG(FSQ)"});
  EXPECT_EQ(format(R"('it''s',A)", "x"), Records{"it's"
                                                 "x"});
}

TEST(EditListWrite, RecordEndsAtFirstFieldWithoutValue) {
  // Eight member groups, three members: the literal before the first missing field is written,
  // the blanks of 1X in front of it are not (they are not followed by output).
  EXPECT_EQ(format(R"(I3,8(1X,F7.2,A1))", 5, 1.0f, "D", 2.0f, " ", 3.0f, "B"),
            Records{"  5    1.00D    2.00     3.00B"});
  EXPECT_EQ(format(R"(I3,"x",I3,"y")", 1), Records{"  1x"});
  EXPECT_EQ(format(R"(I3)"), Records{""});
}

TEST(EditListWrite, SlashesGiveEmptyRecords) {
  EXPECT_EQ(format(R"(//," A")"), (Records{"", "", " A"}));
  EXPECT_EQ(format(R"(" A"//)"), (Records{" A", "", ""}));
  EXPECT_EQ(format(R"(" A",2/," B")"), (Records{" A", "", " B"}));
  EXPECT_EQ(format(R"(/)"), (Records{"", ""}));
  EXPECT_EQ(format(R"(I3,/)", 1), (Records{"  1", ""}));
  EXPECT_EQ(format(R"(I3,/,I3)", 1), (Records{"  1", ""}));
}

TEST(EditListWrite, RepeatGroups) {
  EXPECT_EQ(format(R"(1X,10("*"))"), Records{" **********"});
  EXPECT_EQ(format(R"(2(I2,"/"),I2)", 1, 2, 3), Records{" 1/ 2/ 3"});
  EXPECT_EQ(format(R"(3(" *",3X),"*")"), Records{" *    *    *   *"});
  EXPECT_EQ(format(R"(2(2(I1),"|"))", 1, 2, 3, 4), Records{"12|34|"});
}

TEST(EditListWrite, ReversionRepeatsLeadingSlashes) {
  EXPECT_EQ(format("/,I3", 1, 2), (Records{"", "  1", "", "  2"}));
}

TEST(EditListWrite, Reversion) {
  EXPECT_EQ(format("3I4", 1, 2, 3, 4, 5, 6, 7), (Records{"   1   2   3", "   4   5   6", "   7"}));
  EXPECT_EQ(format(R"(1X,A,2(1X,I2))", "ab", 1, 2, 3, 4, 5),
            (Records{" ab  1  2", "  3  4", "  5"}));
  EXPECT_THROW(format(R"(" no fields")", 1), std::invalid_argument);
}

TEST(EditListWrite, AsterisksWhenTooWide) {
  EXPECT_EQ(format("I3,F6.2,F5.1,F4.1", 1000, -123.45f, 99.96f, 99.96f),
            Records{"*********100.0****"});
  EXPECT_EQ(format("F7.0", 1.0e8f), Records{"*******"});
}

TEST(EditListWrite, TypeMismatchThrows) {
  EXPECT_THROW(format("I3", 1.0f), std::invalid_argument);
  EXPECT_THROW(format("F7.2", 1), std::invalid_argument);
  EXPECT_THROW(format("A", 1), std::invalid_argument);
  std::vector<std::string> out{"kept"};
  const Value values[] = {1, 2, 3.0f};
  EXPECT_THROW(write_records(EditList("I2/I2/I2"), values, out), std::invalid_argument);
  EXPECT_EQ(out, Records{"kept"}) << "nothing of a failed write is left behind";
}

TEST(EditListParse, RejectsMalformedLayouts) {
  for (const char* bad :
       {"I", "F7", "F7.", "E12.0", "Q3", "(I3", "\"abc", "0I3", "I3)", "1000(1000(1000(I1)))"}) {
    EXPECT_THROW(EditList{bad}, std::invalid_argument) << bad;
  }
  const EditList l(R"(1X,78("*"))");
  ASSERT_EQ(l.items().size(), 2u);
  EXPECT_EQ(l.items()[1].text, std::string(78, '*'));
}

}  // namespace
}  // namespace vorlane::records
