#pragma once
// The files a run writes besides its print file (the output reflection file, the CIF fragment,
// the statistics, the ledger, the report) are first written to temporary files of their own
// beside their targets and put in place only when the whole run has finished: a run that halts
// leaves every existing file as it was and no temporary file behind.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace vorlane::run {

// The name of a file written beside the output: the output's file name up to its first "."
// followed by `suffix` ("_vorlane.cif", "_stats.json", ...), in the output's folder. The check
// that no file plays two roles and every writer take the names from here, so that they cannot
// disagree about which file is meant.
std::filesystem::path beside_output(const std::filesystem::path& output, std::string_view suffix);

// An output stream into a C file, for a file created exclusively (which std::ofstream cannot).
class StagedStream : public std::ostream {
 public:
  explicit StagedStream(std::FILE* file);
  ~StagedStream() override;
  // Flushes and closes the file; false when anything could not be written.
  bool close();

 private:
  class Buf : public std::streambuf {
   public:
    explicit Buf(std::FILE* file);
    bool close();
    bool failed = false;

   protected:
    int_type overflow(int_type c) override;
    int sync() override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

   private:
    bool drain();
    std::FILE* file_;
    std::vector<char> buffer_;
  };
  Buf buf_;
};

class StagedOutputs {
 public:
  StagedOutputs() = default;
  StagedOutputs(const StagedOutputs&) = delete;
  StagedOutputs& operator=(const StagedOutputs&) = delete;
  // (Defined here: every holder of a run state destroys one, also programs that never stage
  // a file.)
  StagedOutputs(StagedOutputs&& other) noexcept
      : staged_(std::exchange(other.staged_, {})), removals_(std::exchange(other.removals_, {})) {}
  StagedOutputs& operator=(StagedOutputs&& other) noexcept {
    if (this != &other) {
      discard();
      staged_ = std::exchange(other.staged_, {});
      removals_ = std::exchange(other.removals_, {});
    }
    return *this;
  }
  ~StagedOutputs() { discard(); }

  // A new, empty temporary file beside `target` ("NAME.tmp" followed by six random
  // characters): created exclusively, so that it is never an existing file nor reached through
  // a symbolic link. Null when no such file can be made in the folder. The stream must be
  // closed before commit(). A target that is a symbolic link stands for the file it leads to;
  // a target that is a device or a FIFO (/dev/null) is written directly, with nothing to
  // put in place.
  std::unique_ptr<StagedStream> create(const std::filesystem::path& target);
  // `text` written whole into a temporary file for `target`; false when it could not be.
  bool write(const std::filesystem::path& target, std::string_view text);
  // Gives up the file created last (a write into it failed): its temporary file is removed.
  void discard_last() noexcept {
    if (staged_.empty()) return;
    std::error_code ec;
    std::filesystem::remove(staged_.back().temp, ec);
    staged_.pop_back();
  }
  // An existing file beside the output that this run does not write again (a report not
  // asked for): removed when the run succeeds, so that it is not taken for this run's.
  void remove_on_commit(const std::filesystem::path& target);

  // Puts every temporary file in place of its target and removes the files to remove. Returns
  // the target that could not be replaced (the rest are then discarded), empty when all were.
  std::string commit();
  // Removes every temporary file; the targets stay as they were.
  void discard() noexcept {
    std::error_code ec;
    for (const Staged& s : staged_) std::filesystem::remove(s.temp, ec);
    staged_.clear();
    removals_.clear();
  }
  bool empty() const { return staged_.empty() && removals_.empty(); }

 private:
  struct Staged {
    std::filesystem::path temp, target;
  };
  std::vector<Staged> staged_;
  std::vector<std::filesystem::path> removals_;
};

}  // namespace vorlane::run
