#pragma once
// Telling the files of integration programs apart, and reading them.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "input/integration_data.hpp"

namespace vorlane::input {

// The format the content says: an XDS_ASCII first line, the MTZ mark, or a reflection loop of
// a CIF; nothing when it says none of these. `head` is the file's start (64 kB are plenty).
std::optional<IntegrationFormat> integration_format_from_content(std::string_view head);

// The format the name says: .cif/.mmcif (any case) CIF, .mtz MTZ; nothing otherwise.
std::optional<IntegrationFormat> integration_format_from_name(const std::filesystem::path& path);

// The format named by `--in-format` (xds, cif, mtz), or nothing.
std::optional<IntegrationFormat> integration_format_named(std::string_view name);

// The first `bytes` bytes of the file (fewer when it is shorter; empty when it cannot be read).
std::string file_head(const std::filesystem::path& path, std::size_t bytes = 65536);

// Reads the whole file in `format`. `shown` names the file in messages. Throws
// IntegrationReadError when the file cannot be read or its content cannot be taken.
IntegrationData read_integration_file(const std::filesystem::path& path, IntegrationFormat format,
                                      const std::string& shown);

// Reads content already in memory (the fuzz targets and tests).
IntegrationData read_integration_text(std::string_view content, IntegrationFormat format,
                                      const std::string& shown);

}  // namespace vorlane::input
