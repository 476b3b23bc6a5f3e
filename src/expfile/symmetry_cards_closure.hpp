#pragma once
// Completing the operator table after a new candidate operator.
#include "symmetry/space_group.hpp"

namespace vorlane::expfile {

// The candidate sits in slot NSYMOP+1. When it is new it joins the table, and every pair of
// members is multiplied both ways until the table is closed under multiplication (products
// that differ from a member only by a translation add centring vectors). May throw
// records::ProgramStop when the table overflows.
void complete_group(symmetry::SpaceGroup& sg);

}  // namespace vorlane::expfile
