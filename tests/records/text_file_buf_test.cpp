// Text files read with uniform line ends and without a byte-order mark.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>
#include <string>

#include "records/text_file_buf.hpp"

namespace vorlane::records {
namespace {

std::string read_all(std::istream& in) {
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(TextFileBuf, LineEndsAreLfAndTheMarkIsDropped) {
  const std::string block(65535, 'a');  // the 65536th byte ends the first block
  struct Case {
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"A\nB\n", "A\nB\n"},
      {"A\r\nB\r\n", "A\nB\n"},
      {"A\rB\rC", "A\nB\nC"},
      {"\xEF\xBB\xBF" "A\r\n\r\nB", "A\n\nB"},
      {"A\n\xEF\xBB\xBF", "A\n\xEF\xBB\xBF"},  // a mark only counts at the start
      {"\r\r\n\n", "\n\n\n"},
      {block + "\r\nB", block + "\nB"},        // CR LF across two blocks
      {block + "\r\rB", block + "\n\nB"},
      {block + "a\r\nB", block + "a\nB"},      // a block without CR, then one with
      {block + "aB\n" + block, block + "aB\n" + block},
      {"", ""},
  };
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("vorlane-textbuf-" + std::to_string(::getpid()));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes.substr(0, 12));
    std::ofstream(path, std::ios::binary) << c.bytes;
    TextFileStream in(path);
    ASSERT_TRUE(in.is_open());
    EXPECT_EQ(in.buffer().remaining_bytes(), c.bytes.size());
    EXPECT_EQ(read_all(in), c.text);
    // A rewind reads it all again, as the experiment-file reader does.
    in.clear();
    in.seekg(0);
    EXPECT_EQ(static_cast<long>(in.tellg()), 0);
    EXPECT_EQ(read_all(in), c.text);
  }
  std::filesystem::remove(path);
  EXPECT_FALSE(TextFileStream(path).is_open());
}

}  // namespace
}  // namespace vorlane::records
