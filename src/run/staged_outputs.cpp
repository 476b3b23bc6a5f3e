#include "run/staged_outputs.hpp"

#include <cerrno>
#include <random>
#include <system_error>
#include <utility>

namespace vorlane::run {
namespace fs = std::filesystem;

fs::path beside_output(const fs::path& output, std::string_view suffix) {
  const std::string file = output.filename().string();
  return output.parent_path() / (file.substr(0, file.find('.')) + std::string(suffix));
}

StagedStream::Buf::Buf(std::FILE* file) : file_(file), buffer_(1 << 16) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

bool StagedStream::Buf::drain() {
  const auto n = static_cast<std::size_t>(pptr() - pbase());
  if (n > 0 && file_ != nullptr && std::fwrite(pbase(), 1, n, file_) != n) failed = true;
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return !failed;
}

StagedStream::Buf::int_type StagedStream::Buf::overflow(int_type c) {
  if (!drain()) return traits_type::eof();
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
  }
  return traits_type::not_eof(c);
}

std::streamsize StagedStream::Buf::xsputn(const char* s, std::streamsize n) {
  if (n >= epptr() - pptr()) {
    // A long piece goes straight to the file after what is buffered.
    if (!drain()) return 0;
    if (file_ == nullptr || std::fwrite(s, 1, static_cast<std::size_t>(n), file_) !=
                                static_cast<std::size_t>(n)) {
      failed = true;
      return 0;
    }
    return n;
  }
  traits_type::copy(pptr(), s, static_cast<std::size_t>(n));
  pbump(static_cast<int>(n));
  return n;
}

int StagedStream::Buf::sync() {
  if (!drain()) return -1;
  if (file_ != nullptr && std::fflush(file_) != 0) failed = true;
  return failed ? -1 : 0;
}

bool StagedStream::Buf::close() {
  if (file_ == nullptr) return !failed;
  sync();
  if (std::fclose(file_) != 0) failed = true;
  file_ = nullptr;
  return !failed;
}

StagedStream::StagedStream(std::FILE* file) : std::ostream(nullptr), buf_(file) { rdbuf(&buf_); }

StagedStream::~StagedStream() { buf_.close(); }

bool StagedStream::close() {
  const bool ok = buf_.close() && !buf_.failed;
  if (!ok) setstate(std::ios::badbit);
  return ok && !fail();
}

std::unique_ptr<StagedStream> StagedOutputs::create(const fs::path& given) {
  std::error_code ec;
  // A link named as the target stays a link: the file it leads to is the one replaced.
  fs::path target = given;
  if (fs::is_symlink(fs::symlink_status(given, ec))) {
    const fs::path real = fs::canonical(given, ec);
    if (!ec) target = real;
  }
  // A device or FIFO (/dev/null, a terminal) is no file to replace: it is written directly.
  const fs::file_status st = fs::status(target, ec);
  if (fs::exists(st) && !fs::is_regular_file(st)) {
    std::FILE* file = std::fopen(target.string().c_str(), "wb");
    return file == nullptr ? nullptr : std::make_unique<StagedStream>(file);
  }
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::random_device device;
  std::mt19937_64 random(device());
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = target.filename().string() + ".tmp";
    for (int i = 0; i < 6; ++i) name += kLetters[pick(random)];
    const fs::path temp = target.parent_path() / name;
    // "x": created here or not at all (O_CREAT | O_EXCL), which never follows a symbolic link.
    errno = 0;
    std::FILE* file = std::fopen(temp.string().c_str(), "wbx");
    if (file == nullptr) {
      if (errno == EEXIST) continue;
      return nullptr;
    }
    staged_.push_back({temp, target});
    return std::make_unique<StagedStream>(file);
  }
  return nullptr;
}

bool StagedOutputs::write(const fs::path& target, std::string_view text) {
  std::unique_ptr<StagedStream> out = create(target);
  if (!out) return false;
  out->write(text.data(), static_cast<std::streamsize>(text.size()));
  if (out->close()) return true;
  // This file alone is given up: its temporary file goes, the others stay staged.
  discard_last();
  return false;
}



void StagedOutputs::remove_on_commit(const fs::path& target) { removals_.push_back(target); }

std::string StagedOutputs::commit() {
  std::error_code ec;
  for (std::size_t i = 0; i < staged_.size(); ++i) {
    fs::rename(staged_[i].temp, staged_[i].target, ec);
    if (ec) {
      const std::string failed = staged_[i].target.string();
      staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(i));
      discard();
      return failed;
    }
  }
  staged_.clear();
  for (const fs::path& p : removals_) {
    // Only a plain file (or a link, itself) is taken away; a folder of that name stays.
    const fs::file_status st = fs::symlink_status(p, ec);
    if (!ec && (fs::is_regular_file(st) || fs::is_symlink(st))) fs::remove(p, ec);
  }
  removals_.clear();
  return {};
}

}  // namespace vorlane::run
