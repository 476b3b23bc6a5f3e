#pragma once
// The controls and fixed texts of the four message and question dialogs: fatal error (103),
// warning (104), file format (105) and sigma ratio (106).
#include <string_view>

namespace vorlane::frontend::fatal_dialog {
inline constexpr int title_id = 1021, message_id = 1020, halted_id = 1022, ok_id = 1;
inline constexpr std::string_view title = "FATAL ERROR";
inline constexpr std::string_view halted = "VORLANE WILL BE HALTED";
}  // namespace vorlane::frontend::fatal_dialog

namespace vorlane::frontend::warning_dialog {
inline constexpr int title_id = 1020, message_id = 1048, continue_id = 1022, ok_id = 1;
inline constexpr std::string_view title = "WARNING !!!!!";
inline constexpr std::string_view will_continue = "PROGRAM EXECUTION WILL CONTINUE";
}  // namespace vorlane::frontend::warning_dialog

namespace vorlane::frontend::format_dialog {
inline constexpr int question_id = 1049, name_id = 1050, zezor_id = 1051, shelx_id = 1052,
                     ok_id = 1;
inline constexpr std::string_view question = "File extension not recognised for file";
inline constexpr std::string_view group = "Select File Format";
inline constexpr std::string_view zezor = "Zezor abs/avg";
inline constexpr std::string_view shelx = "Shelx hkl";
}  // namespace vorlane::frontend::format_dialog

namespace vorlane::frontend::sigma_dialog {
inline constexpr int ratio_id = 1054, question_id = 1057, yes_id = 1055, no_id = 1056,
                     explanation_id = 1058, remember_id = 1059;
// The question of the command line, in the words of the print file.
inline constexpr std::string_view question =
    "Do you want this ratio applied to the sig(Fsq) of the singlet reflections?";
// The window's question, in plain words.
inline constexpr std::string_view plain_question =
    "Multiply the σ of the reflections measured only once by this ratio?";
inline constexpr std::string_view explanation =
    "A reflection measured only once has no spread of repeated measurements, so its σ is "
    "that of its one measurement. Over the reflections measured more than once and observed, "
    "the σ given to an average is on average this ratio times the σ of its "
    "measurements. Yes multiplies the σ of every reflection measured only once by the "
    "ratio, so that all σ of the output are on the same footing; No keeps them as "
    "measured. Intensities do not change.";
inline constexpr std::string_view remember = "Remember this answer";
inline constexpr std::string_view yes = "Yes";
inline constexpr std::string_view no = "No";
}  // namespace vorlane::frontend::sigma_dialog
