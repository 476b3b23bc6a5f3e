#pragma once
// Both absence tests: a reflection is present only when ISPABS + LATABS == 2.
#include "symmetry/ispabs.hpp"
#include "symmetry/latabs.hpp"
