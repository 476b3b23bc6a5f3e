#include "run/settle_outputs.hpp"

#include <string>

#include "run/messages.hpp"
#include "run/run_state.hpp"

namespace vorlane::run {

void settle_outputs(RunState& rs) {
  if (rs.msg.IHALT == 0) {
    const std::string failed = commit_outputs(rs.files);
    if (!failed.empty()) fatal(rs, "FILE COULD NOT BE WRITTEN OR PUT IN PLACE: " + failed);
  }
  if (rs.msg.IHALT != 0) rs.files.staged.discard();
}

}  // namespace vorlane::run
