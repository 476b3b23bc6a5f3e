#pragma once
// The plots of a run's statistics: completeness, <I/sigma>, R(int) and CC1/2 against
// resolution from the shell table, and the normal probability plot of the deviations.
#include <QString>
#include <vector>

#include "statistics/statistics.hpp"

QT_BEGIN_NAMESPACE
class QChart;
class QValueAxis;
QT_END_NAMESPACE

namespace vorlane::frontend::qt {

struct ShellPlot {
  QString name;     // object name and screenshot name part, e.g. "plot_completeness"
  QString title;    // tab text
  QString y_label;
  double statistics::ShellRow::*value;
};

const std::vector<ShellPlot>& shell_plots();

// A chart of one shell column against the shells' high-resolution edge d (A), the axis
// running from low to high resolution.
QChart* make_shell_chart(const std::vector<statistics::ShellRow>& shells, const ShellPlot& plot);
// Observed against expected deviations, with the fitted line.
QChart* make_normal_probability_chart(const statistics::NormalProbability& np);

// A value axis from lo to hi (one unit wide about a single value), its title as plain text,
// numbers rounded to nice ones; `padded` widens it by 5 % on each side but keeps a start at 0.
QValueAxis* value_axis(const QString& title, double lo, double hi, bool padded);

}  // namespace vorlane::frontend::qt
