// The print file: carriage control turned into plain-text lines, and write failures.
#include "records/print_file.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace vorlane::records {
namespace {

TEST(AsaToText, ControlCharacters) {
  EXPECT_EQ(asa_to_text(" line"), "line");
  EXPECT_EQ(asa_to_text("0line"), "\nline");
  EXPECT_EQ(asa_to_text("1line"), "\fline");
  // Any other character starts a new line and is not printed.
  EXPECT_EQ(asa_to_text("*****WARNING:"), "****WARNING:");
  EXPECT_EQ(asa_to_text("xline"), "line");
  EXPECT_EQ(asa_to_text(""), "");
  EXPECT_EQ(asa_to_text(" "), "");
}

TEST(PrintFile, WritesOneLinePerRecord) {
  std::ostringstream s;
  PrintFile p(s);
  p.write_record(" first");
  p.write_record("0second");
  p.write_record("1third");
  p.write_record("");
  p.write_record("*****WARNING:");
  EXPECT_EQ(s.str(), "first\n\nsecond\n\fthird\n\n****WARNING:\n");
  EXPECT_FALSE(p.failed());
}

TEST(PrintFile, WritesThroughEditLists) {
  std::ostringstream s;
  PrintFile p(s);
  const EditList banner(R"(1X,5("*")/" *",3X,"*"//)");
  p.put(banner);
  const EditList line(R"(1X,"N=",I3,F6.2)");
  p.put(line, 7, 1.5f);
  EXPECT_EQ(s.str(), "*****\n*   *\n\n\nN=  7  1.50\n");
}

TEST(PrintFile, TextFormedApartIsTheTextWritten) {
  // Records with each kind of carriage control, empty records and reversion: the text formed
  // apart (for the listing's blocks) is what writing the records one by one gives.
  const std::string layouts[] = {R"("0A",I3/"1B",I3//1X,"C")", R"(1X,3I4)", R"(/"0"/"1"/"x",I2)"};
  for (const std::string& text : layouts) {
    const EditList layout(text);
    const Value values[] = {1, 22, 333, 4444, 5, 6, 7};
    std::ostringstream one_by_one;
    PrintFile p(one_by_one);
    for (const std::string& r : write_records(layout, values)) p.write_record(r);
    std::string apart = "kept ";
    PrintFile::append_text(layout, values, apart);
    EXPECT_EQ(apart, "kept " + one_by_one.str()) << text;
  }
}

TEST(PrintFile, ClosedFileIgnoresWrites) {
  PrintFile p;
  EXPECT_FALSE(p.is_open());
  p.write_record(" lost");
  EXPECT_FALSE(p.failed());
  std::ostringstream s;
  p.open(s);
  p.write_record(" kept");
  p.close();
  EXPECT_FALSE(p.is_open());
  p.write_record(" after close");
  EXPECT_EQ(s.str(), "kept\n");
}

// A stream buffer that accepts `room` characters and then fails.
class FullDisk : public std::streambuf {
 public:
  explicit FullDisk(int room) : room_(room) {}

 protected:
  int_type overflow(int_type c) override {
    if (room_ <= 0) return traits_type::eof();
    --room_;
    return c;
  }

 private:
  int room_;
};

TEST(PrintFile, RemembersWriteFailures) {
  FullDisk disk(8);
  std::ostream out(&disk);
  PrintFile p(out);
  p.write_record(" abc");  // 4 characters: fits
  EXPECT_FALSE(p.failed());
  p.write_record(" defghij");  // does not fit
  EXPECT_TRUE(p.failed());
  p.close();
  EXPECT_TRUE(p.failed());
}

}  // namespace
}  // namespace vorlane::records
