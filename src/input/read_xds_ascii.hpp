#pragma once
// XDS_ASCII reflection files (XDS CORRECT, XSCALE): the header's cell, wavelength, space-group
// number and Friedel flag, and the measurements.
#include <string>
#include <string_view>

#include "input/integration_data.hpp"

namespace vorlane::input {

// Reads the text of an XDS_ASCII file named `file` (for messages). Batches: one per ISET and,
// within an ISET, one per 100 frames of ZD, numbered from 1 in that order. Misfits (negative
// sigma) are left out with a count among the warnings; MERGE=TRUE files are read and marked
// merged. Throws IntegrationReadError naming the file and line for anything else it cannot take.
IntegrationData read_xds_ascii(std::string_view text, const std::string& file);

// Whether the text starts like an XDS_ASCII file ("!FORMAT=XDS_ASCII", after a byte-order mark).
bool looks_like_xds_ascii(std::string_view text);

}  // namespace vorlane::input
