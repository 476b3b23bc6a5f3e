#include "input/integration_input.hpp"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <new>

#include "input/read_mtz.hpp"
#include "input/read_reflection_cif.hpp"
#include "input/read_xds_ascii.hpp"

namespace vorlane::input {

std::optional<IntegrationFormat> integration_format_from_content(std::string_view head) {
  if (looks_like_xds_ascii(head)) return IntegrationFormat::xds;
  if (looks_like_mtz(head)) return IntegrationFormat::mtz;
  // A CIF starts with comments, a data_ block or global_; its reflection loop may come late,
  // so a data block is enough when the start shows a reflection item.
  if (looks_like_reflection_cif(head)) {
    std::string_view t = head;
    if (t.substr(0, 3) == "\xEF\xBB\xBF") t.remove_prefix(3);
    const std::size_t first = t.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos &&
        (t[first] == '#' || t.substr(first, 5) == "data_" || t.substr(first, 7) == "global_")) {
      return IntegrationFormat::cif;
    }
  }
  return std::nullopt;
}

std::optional<IntegrationFormat> integration_format_from_name(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == ".cif" || ext == ".mmcif") return IntegrationFormat::cif;
  if (ext == ".mtz") return IntegrationFormat::mtz;
  return std::nullopt;
}

std::optional<IntegrationFormat> integration_format_named(std::string_view name) {
  if (name == "xds") return IntegrationFormat::xds;
  if (name == "cif") return IntegrationFormat::cif;
  if (name == "mtz") return IntegrationFormat::mtz;
  return std::nullopt;
}

std::string file_head(const std::filesystem::path& path, std::size_t bytes) {
  std::ifstream in(path, std::ios::binary);
  std::string head(bytes, '\0');
  in.read(head.data(), static_cast<std::streamsize>(bytes));
  head.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return head;
}

IntegrationData read_integration_text(std::string_view content, IntegrationFormat format,
                                      const std::string& shown) {
  try {
    switch (format) {
      case IntegrationFormat::xds: return read_xds_ascii(content, shown);
      case IntegrationFormat::cif: return read_reflection_cif(content, shown);
      case IntegrationFormat::mtz: return read_mtz(content, shown);
    }
  } catch (const IntegrationReadError&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    // What gemmi's readers throw on content they cannot take.
    throw IntegrationReadError(shown + " cannot be read: " + e.what());
  }
  throw IntegrationReadError(shown + ": unknown format");
}

IntegrationData read_integration_file(const std::filesystem::path& path, IntegrationFormat format,
                                      const std::string& shown) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw IntegrationReadError(shown + ": cannot be opened");
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw IntegrationReadError(shown + ": cannot be read");
  return read_integration_text(content, format, shown);
}

}  // namespace vorlane::input
