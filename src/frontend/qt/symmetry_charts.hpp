#pragma once
// The plots of the intensity statistics against theory: cumulative N(z) with the acentric and
// centric curves, cumulative |L| with the untwinned and perfect-twin curves, and the Wilson
// plot with its fitted line.
#include <QString>

#include "symmetry_analysis/intensity_statistics.hpp"

QT_BEGIN_NAMESPACE
class QChart;
QT_END_NAMESPACE

namespace vorlane::frontend::qt {

QChart* make_nz_chart(const symmetry_analysis::IntensityStatistics& st);
QChart* make_l_chart(const symmetry_analysis::IntensityStatistics& st);
// Null when the line cannot be fitted (fewer than two shells).
QChart* make_wilson_chart(const symmetry_analysis::IntensityStatistics& st);

}  // namespace vorlane::frontend::qt
