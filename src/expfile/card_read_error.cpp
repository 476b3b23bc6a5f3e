#include "expfile/exp_reading.hpp"

#include "expfile/exp_card.hpp"
#include "run/messages.hpp"
#include "run/run_state.hpp"

namespace vorlane::expfile {

void card_read_error(run::RunState& rs, const std::string& card) {
  run::fatal(rs, "  ERROR READING EXPERIMENT DATA FILE:  STRING WAS: " + make_card(card));
}

}  // namespace vorlane::expfile
