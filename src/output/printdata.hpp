#pragma once
#include <memory>
#include <vector>

#include "records/edit_list.hpp"
#include "records/print_file.hpp"
#include "run/run_state.hpp"

namespace vorlane::output {

// The listing's sets with more than one member, in blocks whose print-file text can be formed
// ahead of writing by any thread with time to spare (a run forms some while it waits for its
// statistics). The text of each block is the one a set-by-set pass writes: each block knows
// the line count of the page where it starts.
class ListingBlocks {
 public:
  struct Block {
    std::size_t first = 0;  // sets [first, last)
    std::size_t last = 0;
    int lines_before = 0;
    std::size_t text_size = 0;  // its text's size, headings left out
  };

  explicit ListingBlocks(const run::ReflectionList& refl);
  ~ListingBlocks();
  ListingBlocks(const ListingBlocks&) = delete;
  ListingBlocks& operator=(const ListingBlocks&) = delete;

  // Forms the next block not formed yet, unless a few formed blocks already wait to be
  // written. False when there is none to form now. Safe to call from any thread.
  bool form_next();
  // Writes the blocks in order, forming the rest meanwhile (with a second thread when one
  // can be had).
  void write(records::PrintFile& prt);

  bool any_singlet() const { return any_singlet_; }
  // The line count of the page after the last block.
  int lines_after() const { return lines_after_; }

 private:
  struct Pool;
  const run::ReflectionList& refl_;
  const records::EditList heading_;
  std::vector<Block> blocks_;
  bool any_singlet_ = false;
  int lines_after_ = 1;
  std::unique_ptr<Pool> pool_;
};

// The reflection listing by equivalent set: every set with its flag, average, the four
// sigmas, member counts and all member intensities with their rejection marks, then the
// singly-measured reflections. Values are listed as stored, without the output scale.
void PRINTDATA(run::RunState& rs);
// The same with blocks some of which may have been formed already.
void PRINTDATA(run::RunState& rs, ListingBlocks& blocks);

// Decimals of a listing line: as many as `largest` (the largest positive intensity of the set,
// else 0) allows in seven columns (0 when it does not fit), but no more than the sigma needs
// to show two significant digits and never fewer than two on that account.
int listing_decimals(float largest, float SIGAVE);

}  // namespace vorlane::output
