#pragma once
// Counts the figures that describe the data written (DataFigures) from the reflection list,
// the controls, the cell and the symmetry, and the output writer's overflow marks.
#include "averaging/data_figures.hpp"
#include "run/run_state.hpp"

namespace vorlane::averaging {

// `res` holds the overflow marks: the run's own results once the output is written, or none
// for figures counted ahead of it.
DataFigures count_data_figures(const run::RunState& rs, const RunResults& res);
inline DataFigures count_data_figures(const run::RunState& rs) {
  return count_data_figures(rs, rs.res);
}

}  // namespace vorlane::averaging
