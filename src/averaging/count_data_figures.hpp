#pragma once
// Counts the figures that describe the data written (DataFigures) from the reflection list,
// the controls, the cell and the symmetry, and the output writer's overflow marks.
#include "averaging/data_figures.hpp"
#include "run/run_state.hpp"

namespace vorlane::averaging {

DataFigures count_data_figures(const run::RunState& rs);

}  // namespace vorlane::averaging
