#pragma once
// Reflection CIF files: an unmerged `_diffrn_refln` loop (mmCIF spelling `_diffrn_refln.` or
// core-CIF spelling `_diffrn_refln_`), or a `_refln` loop of merged reflections, with the cell,
// wavelength and space group of the same block.
#include <string>
#include <string_view>

#include "input/integration_data.hpp"

namespace vorlane::input {

// Reads the text of a CIF file named `file` (for messages). The first block with a
// `_diffrn_refln` loop of index_h, index_k, index_l, intensity_net and intensity_u or
// intensity_sigma is read (batches from scale_group_code when present, else 1); without one, a
// `_refln` loop of intensity_meas/intensity_sigma or F_squared_meas/F_squared_sigma, marked
// merged. Rows with an unknown intensity or sigma ('?' or '.') or a negative sigma are left out
// with a count among the warnings. Throws IntegrationReadError naming the file, the row and the
// item of anything else it cannot take.
IntegrationData read_reflection_cif(std::string_view text, const std::string& file);

// Whether the text holds an item of a `_diffrn_refln` or `_refln` loop (a quick look at its
// first 64 kB, for telling the format from the content).
bool looks_like_reflection_cif(std::string_view text);

}  // namespace vorlane::input
