#pragma once
// The controls of the main dialog (template 101) by their identifiers, and their fixed texts.
#include <array>
#include <string_view>

namespace vorlane::frontend::control {

inline constexpr int experiment_group = 1000;
inline constexpr int experiment_name = 1010;
inline constexpr int experiment_browse = 1001;
inline constexpr int print_group = 1005;
inline constexpr int print_name = 1008;
inline constexpr int print_browse = 1006;
inline constexpr int input_group = 1007;
inline constexpr int input_name = 1011;
inline constexpr int input_browse = 1012;
inline constexpr int output_group = 1013;
inline constexpr int output_name = 1014;
inline constexpr int output_browse = 1015;
inline constexpr int status_line = 1029;
inline constexpr int run = 1009;
inline constexpr int reset = 1004;
inline constexpr int exit = 3;
inline constexpr int credit_line = 1030;
inline constexpr int view_print = 1017;
inline constexpr int view_output = 1016;
inline constexpr int view_cif = 4;
inline constexpr int hidden_button = 2;

// Every control whose enabled state the run control changes.
inline constexpr std::array<int, 10> buttons = {experiment_browse, print_browse, input_browse,
                                                output_browse,     run,          reset,
                                                exit,              view_print,   view_output,
                                                view_cif};
inline constexpr std::array<int, 4> browse_buttons = {experiment_browse, print_browse, input_browse,
                                                      output_browse};
inline constexpr std::array<int, 4> name_labels = {experiment_name, print_name, input_name,
                                                   output_name};
inline constexpr std::array<int, 3> view_buttons = {view_print, view_cif, view_output};

}  // namespace vorlane::frontend::control

namespace vorlane::frontend::text {

inline constexpr std::string_view dialog_title = "Vorlane 2.22";
inline constexpr std::string_view no_file_selected = "No file selected";
inline constexpr std::string_view select_files = "SELECT FILES";
inline constexpr std::string_view run_program = "RUN PROGRAM";
inline constexpr std::string_view processing_data = "PROCESSING DATA";
inline constexpr std::string_view finished = "VORLANE FINISHED SUCCESSFULLY";
inline constexpr std::string_view halted = "VORLANE HALTED";

inline constexpr std::string_view experiment_group = "Experiment File";
inline constexpr std::string_view print_group = "Print File";
inline constexpr std::string_view input_group = "Input data file";
inline constexpr std::string_view output_group = "Output data file";
inline constexpr std::string_view view_group = "View Output Files";
inline constexpr std::string_view browse = "Browse";
inline constexpr std::string_view run = "Run";
inline constexpr std::string_view reset = "Reset";
inline constexpr std::string_view exit = "Exit";
inline constexpr std::string_view view_print = "Print File";
inline constexpr std::string_view view_output = "Output Data";
inline constexpr std::string_view view_cif = "Cif";
inline constexpr std::string_view hidden_button = "Button1";
inline constexpr std::string_view credit_line =
    "VORLANE 2.22: merging of single-crystal diffraction data with outlier and "
    "diamond-anvil-cell dip rejection";

}  // namespace vorlane::frontend::text
