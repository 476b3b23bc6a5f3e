#include "symmetry_analysis/space_group_prior.hpp"

#include <array>
#include <utility>

namespace vorlane::symmetry_analysis {
namespace {

// Percent of the structures in the Cambridge Structural Database in each space group, after
// the CCDC's published space-group frequency statistics of the CSD (the table "Space group
// frequency ranking", CSD releases of the 2020s): the leading groups to about two figures,
// the rarer ones to their order of magnitude only. The
// inorganic groups common in the ICSD but rare in the CSD (Fm-3m, Fd-3m, Im-3m, Pm-3m, F-43m)
// are given a small weight of their own so that a simple salt is not ranked below its
// subgroups by the floor alone. Every other group gets the floor: the prior only breaks
// near-ties between groups the data describe equally well, it never outweighs clear
// absences.
constexpr std::array<std::pair<int, double>, 48> FREQUENCY_PERCENT{{
    {14, 34.0},  {2, 25.0},   {15, 8.4},   {19, 7.4},  {4, 4.8},   {61, 3.4},  {33, 1.5},
    {62, 1.2},   {1, 1.0},    {60, 0.75},  {9, 0.70},  {5, 0.65},  {29, 0.55}, {18, 0.50},
    {13, 0.45},  {12, 0.40},  {148, 0.40}, {88, 0.30}, {56, 0.28}, {11, 0.28}, {43, 0.25},
    {114, 0.20}, {146, 0.20}, {92, 0.15},  {96, 0.15}, {167, 0.15}, {169, 0.12}, {170, 0.12},
    {144, 0.12}, {145, 0.12}, {161, 0.10}, {7, 0.10},  {3, 0.05},  {6, 0.05},  {63, 0.10},
    {64, 0.10},  {36, 0.10},  {20, 0.10},  {163, 0.06}, {159, 0.04}, {225, 0.05}, {227, 0.03},
    {229, 0.02}, {221, 0.02}, {216, 0.02}, {220, 0.03}, {230, 0.02}, {176, 0.08},
}};

constexpr double FLOOR_PERCENT = 0.01;

}  // namespace

double space_group_prior(int number) {
  for (const auto& [n, percent] : FREQUENCY_PERCENT)
    if (n == number) return percent / 100.0;
  return FLOOR_PERCENT / 100.0;
}

}  // namespace vorlane::symmetry_analysis
