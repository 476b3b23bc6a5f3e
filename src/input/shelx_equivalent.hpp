#pragma once
// The SHELX hkl records that hold the same measurements as a file of an integration program:
// the SHELX reader then files them exactly as it files a SHELX file.
#include <string>

#include "input/integration_data.hpp"

namespace vorlane::input {

// One record per measurement, in the file's order: 3I4 (indices), 2F8 (intensity and sigma,
// each with as many decimals as its eight columns hold), I4 (batch); no direction cosines, so
// 2theta comes from the cell. Throws IntegrationReadError (naming `file` and the measurement)
// for a value that eight columns cannot hold.
std::string shelx_equivalent(const IntegrationData& data, const std::string& file);

// The text of `value` in eight columns with as many decimals as fit (at most seven), right-
// justified; empty when even no decimal fits.
std::string f8_text(double value);

}  // namespace vorlane::input
