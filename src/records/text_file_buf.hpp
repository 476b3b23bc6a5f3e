#pragma once
// A text file read with its line ends made uniform: CR LF and a lone CR both arrive as LF, and
// a UTF-8 byte-order mark at the start of the file is dropped. Files written on any system, or
// by an editor that marks its encoding, then read like plain LF files.
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <streambuf>

namespace vorlane::records {

class TextFileBuf : public std::streambuf {
 public:
  // Opens `path` for reading; is_open() says whether that worked.
  explicit TextFileBuf(const std::filesystem::path& path);
  bool is_open() const { return file_.is_open(); }

  // Bytes of the file not yet read (before the line ends are made uniform), for estimates.
  std::uintmax_t remaining_bytes();

 protected:
  int_type underflow() override;
  // Only a rewind to the start (position 0) and the question of the current position are
  // supported; the position counts the characters delivered.
  pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) override;
  pos_type seekpos(pos_type pos, std::ios_base::openmode) override;

 private:
  bool rewind();

  std::filebuf file_;
  std::array<char, 1 << 16> raw_{};
  std::array<char, 1 << 16> text_{};
  std::uintmax_t delivered_before_ = 0;  // characters handed out before the current block
  std::uintmax_t raw_read_ = 0;          // bytes taken from the file
  bool at_start_ = true;                 // nothing read yet: a byte-order mark may follow
  bool after_cr_ = false;                // the last block ended in CR: a leading LF belongs to it
};

// An input stream over a TextFileBuf.
class TextFileStream : public std::istream {
 public:
  explicit TextFileStream(const std::filesystem::path& path);
  bool is_open() const { return buf_.is_open(); }
  TextFileBuf& buffer() { return buf_; }

 private:
  TextFileBuf buf_;
};

}  // namespace vorlane::records
