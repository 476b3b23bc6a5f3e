#include "expfile/symmetry_cards.hpp"

namespace vorlane::expfile {

void INITSYM(symmetry::SpaceGroup& sg) { sg = symmetry::SpaceGroup{}; }

}  // namespace vorlane::expfile
