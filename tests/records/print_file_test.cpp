// The print file: carriage control turned into plain-text lines, and write failures.
#include "records/print_file.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

#include "records/record_buffer.hpp"

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

TEST(PrintFile, RecordsOfFixedColumnsAreTheRecordsOfTheGeneralWriter) {
  // Layouts whose records have fixed columns are written in one piece; the lines must be the
  // records write_records gives, each with its carriage control (print) or as it is (lines).
  // Every kind of first column, narrow and wide fields, values that do not fit, that are not
  // finite, texts longer and shorter than their field, and fewer values than fields.
  const std::string layouts[] = {
      R"(1X,3I3,1X,A1,1X,6F7.2,2I3,8(1X,F7.2,A1))", R"(61X,8(1X,F7.0,A1))",
      R"(3I4,2F8.2,I4)",  R"("0",I2,F3.1,A3)", R"("1",F8.3,I8.3,A)",
      R"("x",F1.0,F2.1,E12.4,A1,A2)", R"(2X,"L=",F12.5,F5.4,I1)", R"(1X,F8.7,F9.1,I9,I4.0)",
      R"(F5.1,2X,I3,F4.0,1X,A2)"};
  std::mt19937 random(7);
  const float specials[] = {0.0f, -0.0f, 0.5f, -0.5f, 2.5f, 0.125f, 9999999.0f, -12345.678f,
                            1e30f, 1e-30f, std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN()};
  const std::string_view texts[] = {"", "D", "B", "TOO LONG", "ab"};
  for (const std::string& source : layouts) {
    const EditList layout(source);
    for (int trial = 0; trial < 400; ++trial) {
      std::vector<Value> values;
      const auto count = static_cast<std::size_t>(random() % (layout.field_count() + 1));
      for (const Descriptor& d : layout.items()) {
        if (values.size() == count) break;
        if (d.kind == Kind::I) {
          const int k = static_cast<int>(random() % 5);
          values.emplace_back(k == 0   ? 0
                              : k == 1 ? -static_cast<int>(random() % 1000)
                              : k == 2 ? std::numeric_limits<int>::min()
                                       : static_cast<int>(random() % 100000));
        } else if (d.kind == Kind::F || d.kind == Kind::E) {
          const float x = random() % 3 == 0
                              ? specials[random() % std::size(specials)]
                              : std::ldexp(static_cast<float>(random() % 2000000) - 1e6f,
                                           static_cast<int>(random() % 30) - 20);
          values.emplace_back(x);
        } else if (d.kind == Kind::A) {
          values.emplace_back(texts[random() % std::size(texts)]);
        }
      }
      std::string print_expected = "kept ";
      std::string lines_expected = "kept ";
      for (const std::string& r : write_records(layout, values)) {
        print_expected += asa_to_text(r) + "\n";
        lines_expected += r + "\n";
      }
      std::string print = "kept ";
      append_print_lines(layout, values, print);
      EXPECT_EQ(print, print_expected) << source;
      std::string lines = "kept ";
      append_record_lines(layout, values, lines);
      EXPECT_EQ(lines, lines_expected) << source;
    }
  }
  // A value of the wrong kind: an error, and the text as it was.
  const EditList layout(R"(1X,I3,F7.2)");
  const Value wrong[] = {1, 2};
  std::string text = "kept";
  EXPECT_THROW(append_print_lines(layout, wrong, text), std::invalid_argument);
  EXPECT_EQ(text, "kept");
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
