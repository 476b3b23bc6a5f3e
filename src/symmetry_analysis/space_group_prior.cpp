#include "symmetry_analysis/space_group_prior.hpp"

#include <algorithm>
#include <array>

namespace vorlane::symmetry_analysis {
namespace {

// Percent of the structures in each space group, by International Tables number: the
// Cambridge Crystallographic Data Centre's "CSD space group statistics" (space group
// frequency ranking) for the 807 190 structures of the Cambridge Structural Database whose
// space group was fully defined, as of January 2016. What is counted is database entries
// (published organic and metal-organic small-molecule structures), each under the number of
// its space group whatever the setting it was published in (P21/n and P21/a count as P21/c,
// Pn21a as Pna21, origin choices and cell choices together); enantiomorphous pairs are
// counted as the CSD reports them. The figures, to four decimals, were taken from the copy
// of the table in Force Field X (M. J. Schnieders et al., ffx/crystal/SpaceGroup.java,
// `csdPercent`) and checked against the totals the CCDC gives with it: 78.2 % of the
// structures in centrosymmetric groups and 16.4 % in Sohncke groups (the test of this table
// adds them up again), and against the first twenty groups of the CCDC's ranking of
// 1 January 2025 (1 359 039 structures): the same twenty, in nearly the same order. A group
// is weighted by its number alone, so a non-standard setting (P 1 21/n 1, P 1 1 21/b,
// P n n n:1, ...) has the weight of its group: the data, not the prior, choose the setting.
constexpr std::array<double, 230> CSD_PERCENT{
    0.9492, 24.5313, 0.0176, 5.1773, 0.8456, 0.0026, 0.4270, 0.0363, 1.0468, 0.0136,  // 1-10
    0.4984, 0.5072, 0.6482, 34.5694, 8.3542, 0.0043, 0.0098, 0.4080, 7.2397, 0.1749,  // 11-20
    0.0072, 0.0033, 0.0235, 0.0074, 0.0014, 0.0162, 0.0024, 0.0016, 0.7394, 0.0131,  // 21-30
    0.0618, 0.0187, 1.3807, 0.0311, 0.0007, 0.1415, 0.0130, 0.0027, 0.0063, 0.0180,  // 31-40
    0.1077, 0.0085, 0.3408, 0.0087, 0.0580, 0.0141, 0.0037, 0.0072, 0.0022, 0.0098,  // 41-50
    0.0064, 0.1056, 0.0142, 0.0473, 0.0275, 0.3528, 0.0991, 0.0704, 0.0306, 0.8507,  // 51-60
    3.3389, 1.0820, 0.0974, 0.1250, 0.0138, 0.0110, 0.0072, 0.0474, 0.0074, 0.1083,  // 61-70
    0.0108, 0.0416, 0.0285, 0.0212, 0.0056, 0.0919, 0.0104, 0.0767, 0.0280, 0.0256,  // 71-80
    0.0229, 0.1368, 0.0047, 0.0123, 0.0880, 0.1313, 0.0659, 0.3626, 0.0010, 0.0072,  // 81-90
    0.0084, 0.1950, 0.0011, 0.0173, 0.0073, 0.1690, 0.0059, 0.0103, 0.0004, 0.0005,  // 91-100
    0.0007, 0.0030, 0.0028, 0.0118, 0.0002, 0.0102, 0.0016, 0.0036, 0.0046, 0.0380,  // 101-110
    0.0007, 0.0035, 0.0261, 0.1243, 0.0005, 0.0033, 0.0069, 0.0190, 0.0035, 0.0104,  // 111-120
    0.0183, 0.0644, 0.0166, 0.0092, 0.0026, 0.0217, 0.0079, 0.0111, 0.0217, 0.0474,  // 121-130
    0.0050, 0.0020, 0.0042, 0.0059, 0.0099, 0.0172, 0.0119, 0.0120, 0.0196, 0.0089,  // 131-140
    0.0187, 0.0510, 0.0232, 0.0726, 0.0712, 0.1264, 0.1152, 0.6463, 0.0019, 0.0098,  // 141-150
    0.0031, 0.0898, 0.0021, 0.0671, 0.0455, 0.0010, 0.0019, 0.0092, 0.0342, 0.0296,  // 151-160
    0.0979, 0.0031, 0.0422, 0.0107, 0.0665, 0.0446, 0.1603, 0.0030, 0.0612, 0.0577,  // 161-170
    0.0073, 0.0056, 0.0660, 0.0027, 0.0045, 0.1172, 0.0010, 0.0276, 0.0211, 0.0067,  // 171-180
    0.0043, 0.0128, 0.0005, 0.0011, 0.0033, 0.0133, 0.0038, 0.0019, 0.0033, 0.0156,  // 181-190
    0.0059, 0.0116, 0.0063, 0.0230, 0.0019, 0.0095, 0.0176, 0.0618, 0.0072, 0.0024,  // 191-200
    0.0038, 0.0048, 0.0109, 0.0126, 0.0907, 0.0123, 0.0011, 0.0006, 0.0038, 0.0046,  // 201-210
    0.0030, 0.0042, 0.0057, 0.0030, 0.0063, 0.0062, 0.0334, 0.0146, 0.0108, 0.0300,  // 211-220
    0.0159, 0.0128, 0.0076, 0.0031, 0.0659, 0.0059, 0.0157, 0.0144, 0.0161, 0.0102,  // 221-230
};

// Groups rarer than this (fewer than about 80 of the 807 190 structures) get this weight:
// the prior breaks near-ties between groups the data describe equally well, and with a
// floor its log never differs between two groups by more than ln(34.6 / 0.01) = 8.1, so it
// cannot outweigh clear absences or a clear Laue class.
constexpr double FLOOR_PERCENT = 0.01;

}  // namespace

double csd_space_group_percent(int number) {
  if (number < 1 || number > static_cast<int>(CSD_PERCENT.size())) return 0.0;
  return CSD_PERCENT[static_cast<std::size_t>(number - 1)];
}

double space_group_prior(int number) {
  return std::max(csd_space_group_percent(number), FLOOR_PERCENT) / 100.0;
}

}  // namespace vorlane::symmetry_analysis
