#include "frontend/cli_inputs.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "input/integration_input.hpp"
#include "input/shelx_equivalent.hpp"
#include "run/run_files.hpp"

namespace vorlane::frontend {

std::optional<input::IntegrationFormat> integration_format_for(int in_format_option,
                                                               const std::string& path) {
  switch (in_format_option) {
    case IN_FORMAT_XDS: return input::IntegrationFormat::xds;
    case IN_FORMAT_CIF: return input::IntegrationFormat::cif;
    case IN_FORMAT_MTZ: return input::IntegrationFormat::mtz;
    case 0:
    case 1: return std::nullopt;
    default: break;
  }
  if (const auto f = input::integration_format_from_content(input::file_head(path))) return f;
  return input::integration_format_from_name(path);
}

std::string default_output_file(const std::string& input, bool mtz) {
  std::filesystem::path p(input);
  p.replace_filename(p.stem().string() + (mtz ? "_merged.mtz" : "_merged.hkl"));
  return p.string();
}

std::string print_file_beside(const std::string& output) {
  std::filesystem::path p(output);
  const std::string name = p.filename().string();
  p.replace_filename(name.substr(0, name.find('.')) + ".lis");
  return p.string();
}

bool mtz_output(int out_format_option, const std::string& output) {
  if (out_format_option >= 0) return out_format_option == OUT_FORMAT_MTZ;
  std::string ext = std::filesystem::path(output).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".mtz";
}

std::optional<input::IntegrationData> attach_integration_input(
    run::RunState& rs, const std::string& path, input::IntegrationFormat format, std::ostream& err) {
  try {
    // Named by its base name: the reader's warnings go into 100-column print-file blocks.
    const std::string shown = run::base_name(path);
    input::IntegrationData data = input::read_integration_file(path, format, shown);
    std::string records = input::shelx_equivalent(data, shown);
    rs.files.in = std::make_unique<std::istringstream>(std::move(records));
    rs.files.INFMT = 1;
    rs.files.integration_format = data.format_name;
    rs.files.input_notes = data.warnings;
    return data;
  } catch (const input::IntegrationReadError& e) {
    err << "vorlane: " << e.what() << "\n";
  }
  return std::nullopt;
}

bool attach_integration_with_experiment(run::RunState& rs, const std::string& path,
                                        input::IntegrationFormat format, std::ostream& err) {
  const auto data = attach_integration_input(rs, path, format, err);
  if (!data) return false;
  const ExperimentText e = completed_experiment_text(experiment_file_text(rs), data->header,
                                                     header_name(*data, path));
  if (!e.error.empty()) {
    err << "vorlane: " << e.error << "\n";
    return false;
  }
  attach_experiment_text(rs, e, std::string());
  return true;
}

std::string header_name(const input::IntegrationData& data, const std::string& path) {
  return "the " + data.format_name + " header of " + run::base_name(path);
}

void attach_experiment_text(run::RunState& rs, const ExperimentText& e, const std::string& shown) {
  rs.files.exp = std::make_unique<std::istringstream>(e.text);
  rs.files.IEXPOPEN = 1;
  if (!shown.empty()) rs.files.FNAME[run::EXPERIMENT - 1] = shown;
  rs.ctl.cell_source = e.sources.cell;
  rs.ctl.wave_source = e.sources.wavelength;
  rs.ctl.symmetry_source = e.sources.symmetry;
  rs.files.input_notes.insert(rs.files.input_notes.end(), e.notes.begin(), e.notes.end());
}

std::string experiment_file_text(run::RunState& rs) {
  std::istream* in = rs.files.exp.get();
  if (in == nullptr) return {};
  in->clear();
  in->seekg(0);
  return std::string((std::istreambuf_iterator<char>(*in)), std::istreambuf_iterator<char>());
}

std::string write_text_file(const std::string& path, const std::string& text) {
  std::filesystem::path temp(path);
  temp += ".vorlane-tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
      std::error_code ec;
      std::filesystem::remove(temp, ec);
      return "cannot write '" + path + "'";
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return "cannot replace '" + path + "': " + ec.message();
  }
  return {};
}

}  // namespace vorlane::frontend
