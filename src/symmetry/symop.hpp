#pragma once
// All operator-table and small matrix/fraction routines of the symmetry library.
#include "symmetry/eqop.hpp"
#include "symmetry/eqpos.hpp"
#include "symmetry/fract.hpp"
#include "symmetry/gmadd.hpp"
#include "symmetry/gmprd.hpp"
#include "symmetry/numden.hpp"
#include "symmetry/opsym.hpp"
#include "symmetry/syminv.hpp"
#include "symmetry/trinv3.hpp"
