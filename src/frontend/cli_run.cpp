#include "frontend/cli_run.hpp"

#include <filesystem>
#include <sstream>
#include <system_error>

#include "frontend/cli_dialogs.hpp"
#include "frontend/cli_inputs.hpp"
#include "frontend/cli_options.hpp"
#include "frontend/cli_symmetry.hpp"
#include "frontend/run_file_checks.hpp"
#include "frontend/run_summary.hpp"
#include "input/content_check.hpp"
#include "output/write_mtz.hpp"
#include "run/messages.hpp"
#include "run/run_files.hpp"
#include "run/run_state.hpp"
#include "run/settle_outputs.hpp"
#include "pipeline/run_vorlane.hpp"
#include "run/version.hpp"

namespace vorlane::frontend {
namespace {

const char* const kRole[] = {"experiment file", "print file", "input data file", "output data file"};
const char* const kOpenMessage[] = {"ERROR OPENING EXPERIMENT FILE", "ERROR OPENING PRINT FILE",
                                    "ERROR OPENING INPUT DATA FILE",
                                    "ERROR OPENING OUTPUT DATA FILE"};

void report_open_error(int slot, const std::string& path, const std::string& why,
                       std::ostream& err) {
  err << "vorlane: " << kOpenMessage[slot - 1] << ": cannot open " << kRole[slot - 1] << " '"
      << path << "' (" << why << ")\n";
}

// Whether a run file can play its role, said on standard error when it cannot. Nothing is
// opened.
bool usable_or_report(int slot, const std::string& path, std::ostream& err) {
  const bool read = slot == run::EXPERIMENT || slot == run::INPUT;
  const std::string why = read ? unreadable_reason(path) : unwritable_reason(path);
  if (why.empty()) return true;
  report_open_error(slot, path, why, err);
  return false;
}

// Opens one run file; on failure says why on standard error.
bool open_or_report(run::RunState& rs, int slot, const std::string& path, std::ostream& err) {
  if (run::open_run_file(rs.files, slot, path)) return true;
  const bool read = slot == run::EXPERIMENT || slot == run::INPUT;
  std::string why = read ? unreadable_reason(path) : unwritable_reason(path);
  if (why.empty()) why = "permission denied";
  report_open_error(slot, path, why, err);
  return false;
}

// Decides a reflection-file format: the option, else the name, else the terminal.
bool decide_format(int slot, int option, const std::string& path, run::RunState& rs,
                   TerminalDialogs& dialogs, bool interactive, std::ostream& err, int& format) {
  if (option >= 0) {
    format = option;
    return true;
  }
  const std::string name = run::base_name(path);
  const int f = run::format_from_name(name, slot);
  if (f >= 0) {
    format = f;
    return true;
  }
  const char* option_name = slot == run::INPUT ? "--in-format" : "--out-format";
  if (!interactive) {
    err << "vorlane: cannot tell the format of " << kRole[slot - 1] << " '" << path
        << "' from its name (use " << (slot == run::INPUT ? ".abs or .hkl" : ".avg, .abs or .hkl")
        << ", or give " << option_name
        << (slot == run::INPUT ? " zezor|shelx|xds|cif|mtz)\n" : " zezor|shelx|mtz)\n");
    return false;
  }
  const std::string shown = name.size() <= 40 ? name : name.substr(name.size() - 40);
  format = dialogs.ask_format(slot, shown, slot == run::INPUT ? rs.files.INFMT : rs.files.OUTFMT);
  return true;
}

// The input file's first lines against the format it is about to be read in.
bool content_fits_format(const std::string& path, int infmt, std::ostream& err) {
  const std::string message = input::content_check_message(path, infmt);
  if (message.empty()) return true;
  err << "vorlane: " << message << "\n";
  return false;
}

}  // namespace

int run_cli(const std::vector<std::string>& args, CliStreams io) {
  if (!args.empty() && args.front() == "symmetry")
    return run_symmetry_cli(std::vector<std::string>(args.begin() + 1, args.end()), io);
  const CliParse parsed = parse_cli(args);
  if (!parsed.error.empty()) {
    io.err << "vorlane: " << parsed.error << "\n" << cli_usage() << "Try 'vorlane --help'.\n";
    return 2;
  }
  const CliOptions& o = parsed.options;
  if (o.help) {
    io.out << cli_help();
    return 0;
  }
  if (o.version) {
    io.out << "vorlane " << run::VERSION << "\n";
    return 0;
  }

  run::RunState rs;
  const SigmaRatioAnswer sigma =
      o.sigma_ratio.value_or(io.interactive ? SigmaRatioAnswer::ask : SigmaRatioAnswer::keep);
  TerminalDialogs dialogs(io.in, io.out, io.err, io.interactive, sigma);
  rs.dialogs = &dialogs;

  // Without an experiment file the cards come from the options and INFILE's header; OUTFILE
  // may be left to its default, and the print file is NAME.lis beside it.
  const bool direct = o.exp_file.empty();
  const bool out_mtz =
      mtz_output(o.out_format, direct && o.output_file.empty() ? std::string() : o.output_file);
  const std::string output_file =
      direct && o.output_file.empty() ? default_output_file(o.input_file, out_mtz) : o.output_file;
  const std::string print_file = direct ? print_file_beside(output_file) : o.print_file;
  const std::string& write_exp = o.settings.write_exp;

  // Every file is checked before any is opened, and the formats are settled before a file is
  // opened for writing: a run that cannot start creates, truncates or appends to nothing.
  const int slots[] = {run::EXPERIMENT, run::INPUT, run::PRINT, run::OUTPUT};
  const std::string* paths[] = {&o.exp_file, &o.input_file, &print_file, &output_file};
  for (int i = 0; i < 4; ++i) {
    if (direct && slots[i] == run::EXPERIMENT) continue;
    if (!usable_or_report(slots[i], *paths[i], io.err)) return 2;
  }
  if (!write_exp.empty()) {
    const std::string why = unwritable_reason(write_exp);
    if (!why.empty()) {
      io.err << "vorlane: cannot write the experiment file '" << write_exp << "' (" << why << ")\n";
      return 2;
    }
  }
  std::vector<RunFileRole> roles =
      run_file_roles(direct ? write_exp : o.exp_file, print_file, o.input_file, output_file);
  if (direct && write_exp.empty()) roles.erase(roles.begin());
  const std::string shared = shared_file_message(roles);
  if (!shared.empty()) {
    io.err << "vorlane: " << shared << "; nothing was run\n";
    return 2;
  }
  if ((!direct && !open_or_report(rs, run::EXPERIMENT, o.exp_file, io.err)) ||
      !open_or_report(rs, run::INPUT, o.input_file, io.err)) {
    run::close_run_files(rs.files);
    return 2;
  }
  // Files of integration programs are read whole here and given to the run as the SHELX
  // records of the same measurements.
  const auto integration = integration_format_for(o.in_format, o.input_file);
  std::optional<input::IntegrationData> data;
  if (integration) {
    data = attach_integration_input(rs, o.input_file, *integration, io.err);
    if (!data) {
      run::close_run_files(rs.files);
      return 1;
    }
  } else if (!decide_format(run::INPUT, o.in_format, o.input_file, rs, dialogs, io.interactive,
                            io.err, rs.files.INFMT)) {
    run::close_run_files(rs.files);
    return 2;
  }
  if (out_mtz) {
    rs.files.OUTFMT = 1;  // the averaged records, turned into MTZ once the run has finished
  } else if (!decide_format(run::OUTPUT, o.out_format, output_file, rs, dialogs, io.interactive,
                            io.err, rs.files.OUTFMT)) {
    run::close_run_files(rs.files);
    return 2;
  }
  if (!integration && !content_fits_format(o.input_file, rs.files.INFMT, io.err)) {
    run::close_run_files(rs.files);
    return 1;
  }
  if (direct || data) {
    const std::string header = data ? header_name(*data, o.input_file) : std::string();
    const ExperimentText e =
        direct ? experiment_text(o.settings, data ? &data->header : nullptr, header,
                                 run::base_name(o.input_file))
               : completed_experiment_text(experiment_file_text(rs), data->header, header);
    if (!e.error.empty()) {
      io.err << "vorlane: " << e.error << "\n";
      run::close_run_files(rs.files);
      return 2;
    }
    if (!write_exp.empty()) {
      const std::string why = write_text_file(write_exp, e.text);
      if (!why.empty()) {
        io.err << "vorlane: " << why << "\n";
        run::close_run_files(rs.files);
        return 2;
      }
    }
    attach_experiment_text(rs, e,
                           direct ? (write_exp.empty() ? std::string("(options)")
                                                       : run::base_name(write_exp))
                                  : std::string());
  }
  if (o.friedel >= 0) rs.ctl.friedel_option = o.friedel;
  if (o.sigma >= 0) rs.ctl.sigma_option = o.sigma;
  std::error_code ec;
  const bool print_existed = std::filesystem::exists(print_file, ec);
  if (!open_or_report(rs, run::PRINT, print_file, io.err) ||
      (!out_mtz && !open_or_report(rs, run::OUTPUT, output_file, io.err))) {
    run::close_run_files(rs.files);
    // A print file made by this attempt is taken away again: the run did not start.
    if (!print_existed) std::filesystem::remove(print_file, ec);
    return 2;
  }
  if (out_mtz) {
    rs.files.out = std::make_unique<std::ostringstream>();
    rs.files.IOUTOPEN = 1;
    rs.files.FNAME[run::OUTPUT - 1] = run::base_name(output_file);
    rs.files.paths[run::OUTPUT - 1] = output_file;
  }

  rs.report.shells = o.shells;
  rs.report.html = o.html_report;
  run::RUN_VORLANE(rs);
  if (out_mtz && rs.msg.IHALT == 0) {
    // The averaged records become the MTZ file; the run finished, so it replaces the old one.
    const std::string why =
        rs.ctl.IOUTAVE != 1
            ? "MTZ output holds averaged reflections; OUTPUT INDIVIDUAL needs a SHELX or Zezor file"
            : output::write_mtz(rs, static_cast<std::ostringstream&>(*rs.files.out).str(),
                                output_file);
    if (!why.empty()) {
      run::fatal(rs, "ERROR WRITING OUTPUT DATA FILE " + run::base_name(output_file) + ": " + why);
    }
  }
  run::settle_outputs(rs);
  const bool halted = rs.msg.IHALT != 0;
  const RunOutcome outcome = describe_outcome(rs);
  const bool closed = run::close_run_files(rs.files);
  if (!closed) {
    io.err << "vorlane: the print file or the output data file could not be written completely\n";
    return 1;
  }
  if (halted) {
    io.err << "vorlane: VORLANE HALTED; the print file '" << print_file
           << "' holds the listing up to the error\n";
    return 1;
  }
  io.out << summary_text(outcome);
  return 0;
}

}  // namespace vorlane::frontend
