#pragma once
// The record layouts of the output reflection file, one per pair of decimals, parsed once per
// run so that writing a record only fills in values.
#include <string>
#include <vector>

#include "records/edit_list.hpp"

namespace vorlane::output {

class ReflectionRecordLayouts {
 public:
  // Zezor: 3I3,1X,F9.d1,1X,F5.d2,F10.5,I5,5X,4F7.2,I5 with d1 0..7, d2 0..3.
  // SHELX: 3I4,1X,F7.d1,1X,F7.d2 with d1, d2 0..5.
  ReflectionRecordLayouts();

  static constexpr int ZEZOR_F_WIDTH = 9;
  static constexpr int ZEZOR_SIG_WIDTH = 5;
  static constexpr int SHELX_WIDTH = 7;

  const records::EditList& zezor(int d1, int d2) const;
  const records::EditList& shelx(int d1, int d2) const;

  // Records written but not yet passed to the file, with their line ends: the file receives
  // them in large blocks.
  std::string& pending() { return pending_; }

  // Overflow warnings held back and counted instead of given at once, for a writer that runs
  // beside the listing: its caller gives them once the listing is written.
  void hold_warnings() { holding_ = true; }
  bool holding_warnings() const { return holding_; }
  void hold_warning() { ++held_; }
  int held_warnings() const { return held_; }

 private:
  std::vector<records::EditList> zezor_;  // (d1, d2) at d1 * 4 + d2
  std::vector<records::EditList> shelx_;  // (d1, d2) at d1 * 6 + d2
  std::string pending_;
  bool holding_ = false;
  int held_ = 0;
};

}  // namespace vorlane::output
