// The main dialog's run control: enabled controls, labels and status line through file
// choices, runs that finish and runs that halt.
#include <gtest/gtest.h>

#include <stdexcept>

#include "frontend/model_fixture.hpp"
#include "pipeline/run_vorlane.hpp"
#include "run/messages.hpp"
#include "support/test_support.hpp"

namespace vorlane::testing {
namespace {

namespace control = frontend::control;
using frontend::DialogState;

const std::set<int> selecting_without_run = {1001, 1006, 1012, 1015, 1004, 3};
const std::set<int> selecting_with_run = {1001, 1006, 1012, 1015, 1004, 3, 1009};

TEST_F(ModelTest, StartsSelectingWithRunAndViewsDisabled) {
  rs.msg.IHALT = 1;  // left over from an earlier run in this state object
  auto& m = make();
  EXPECT_EQ(rs.msg.IHALT, 0);
  EXPECT_EQ(m.state(), DialogState::Selecting);
  EXPECT_EQ(enabled_controls(), selecting_without_run);
  EXPECT_EQ(m.text(control::status_line), "SELECT FILES");
  for (int id : {1010, 1008, 1011, 1014}) EXPECT_EQ(m.text(id), "No file selected");
}

TEST_F(ModelTest, RunIsEnabledOnlyWithTheFourthFile) {
  auto& m = make();
  picker.answers = {path("run.exp"), path("run.prt"), path("data.hkl"), path("result.avg")};
  m.OPEN_EXP();
  m.OPEN_PRINT();
  m.OPEN_INPUTDATA();
  EXPECT_FALSE(m.enabled(control::run));
  EXPECT_EQ(m.text(control::status_line), "SELECT FILES");
  m.OPEN_OUTPUTDATA();
  EXPECT_TRUE(m.enabled(control::run));
  EXPECT_EQ(m.text(control::status_line), "RUN PROGRAM");
  EXPECT_EQ(enabled_controls(), selecting_with_run);
  // Labels show base names; the open flags and names are set.
  EXPECT_EQ(m.text(1010), "run.exp");
  EXPECT_EQ(m.text(1008), "run.prt");
  EXPECT_EQ(m.text(1011), "data.hkl");
  EXPECT_EQ(m.text(1014), "result.avg");
  EXPECT_EQ(rs.files.IEXPOPEN + rs.files.IPRTOPEN + rs.files.IINOPEN + rs.files.IOUTOPEN, 4);
  EXPECT_EQ(rs.files.FNAME[2], "data.hkl");
}

TEST_F(ModelTest, FailedOpenWarnsBlanksTheLabelAndDisablesRunAgain) {
  auto& m = make();
  choose_all();
  ASSERT_TRUE(m.enabled(control::run));
  const std::string missing = path("missing.exp");
  picker.answers = {missing};
  m.OPEN_EXP();
  EXPECT_FALSE(m.enabled(control::run));
  EXPECT_EQ(m.text(control::status_line), "SELECT FILES");
  EXPECT_EQ(m.text(1010), " ");
  EXPECT_EQ(rs.files.IEXPOPEN, 0);
  EXPECT_EQ(rs.files.FNAME[0], "");
  // The warning text ends at the first blank of the padding (one trailing blank).
  ASSERT_EQ(dialogs.warning_texts.size(), 1u);
  EXPECT_EQ(dialogs.warning_texts[0], "ERROR OPENING EXPERIMENT FILE ");
  // The dialog keeps the path that failed for next time.
  EXPECT_EQ(m.name_field(1), missing);
  // The print file is open, so the warning is logged there, right-justified in 100 columns
  // after 5 blanks (of which the first is the carriage control, not part of the line).
  m.RESET_FILES();
  const auto lines = split_lines(read_text_file(path("run.prt")));
  const std::string text = "ERROR OPENING EXPERIMENT FILE ";
  const std::string expected = std::string(4 + 100 - text.size(), ' ') + text;
  EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end());
}

TEST_F(ModelTest, AFileChosenForTwoRolesIsRefusedBeforeItIsOpened) {
  auto& m = make();
  const std::string data = read_text_file(path("data.hkl"));
  // The input data file chosen as output, then the print file chosen as the CIF fragment of
  // the output chosen after it.
  picker.answers = {path("run.exp"), path("run.prt"), path("data.hkl"), path("data.hkl"),
                    path("result_vorlane.cif"), path("result.avg")};
  m.OPEN_EXP();
  m.OPEN_PRINT();
  m.OPEN_INPUTDATA();
  m.OPEN_OUTPUTDATA();
  EXPECT_EQ(rs.files.IOUTOPEN, 0);
  EXPECT_EQ(read_text_file(path("data.hkl")), data);  // not truncated
  m.OPEN_PRINT();
  m.OPEN_OUTPUTDATA();
  EXPECT_FALSE(m.enabled(control::run));
  ASSERT_EQ(dialogs.warning_texts.size(), 2u);
  EXPECT_EQ(dialogs.warning_texts[0],
            "the input data file and the output data file are the same file ");
  EXPECT_EQ(dialogs.warning_texts[1], "the print file and the CIF fragment are the same file ");
}

TEST_F(ModelTest, FailedOpenOfTheOtherKindsShowsNoFileSelected) {
  auto& m = make();
  std::filesystem::create_directory(path("afolder"));
  picker.answers = {path("afolder"), path("nothere.hkl"), path("afolder")};
  m.OPEN_PRINT();
  m.OPEN_INPUTDATA();
  m.OPEN_OUTPUTDATA();
  EXPECT_EQ(m.text(1008), "No file selected");
  EXPECT_EQ(m.text(1011), "No file selected");
  EXPECT_EQ(m.text(1014), "No file selected");
  const std::vector<std::string> expected = {"ERROR OPENING PRINT FILE ",
                                             "ERROR OPENING INPUT DATA FILE ",
                                             "ERROR OPENING OUTPUT DATA FILE "};
  EXPECT_EQ(dialogs.warning_texts, expected);
  // The failed choices were not cancelled, so the check ran: Reset and Exit are enabled.
  EXPECT_EQ(enabled_controls(), selecting_without_run);
}

TEST_F(ModelTest, ReselectionClosesTheFileFirstAndStartsFromIt) {
  auto& m = make();
  choose_all();
  int flag_while_dialog_shows = -1;
  picker.on_pick = [&](const frontend::FileRequest&) {
    flag_while_dialog_shows = rs.files.IINOPEN;
  };
  write(path("other.hkl"), "");
  picker.answers = {path("other.hkl")};
  m.OPEN_INPUTDATA();
  EXPECT_EQ(flag_while_dialog_shows, 0);
  ASSERT_FALSE(picker.requests.empty());
  EXPECT_EQ(run::base_name(picker.requests.back().initial_name), "data.hkl");
  EXPECT_EQ(m.text(1011), "other.hkl");
  EXPECT_EQ(rs.files.IINOPEN, 1);
  EXPECT_TRUE(m.enabled(control::run));
}

TEST_F(ModelTest, CancelledReselectionKeepsThePreviousFile) {
  auto& m = make();
  choose_all();
  picker.answers = {std::nullopt};
  m.OPEN_OUTPUTDATA();
  EXPECT_EQ(rs.files.IOUTOPEN, 1);
  EXPECT_EQ(rs.files.FNAME[3], "result.avg");
  EXPECT_EQ(m.text(1014), "result.avg");
  EXPECT_TRUE(m.enabled(control::run));
  EXPECT_EQ(m.text(control::status_line), "RUN PROGRAM");
  EXPECT_TRUE(dialogs.warning_texts.empty());
}

TEST_F(ModelTest, CancelledReselectionOfAVanishedFileWarnsAndDisablesRun) {
  auto& m = make();
  choose_all();
  picker.on_pick = [&](const frontend::FileRequest&) {
    std::filesystem::remove(path("data.hkl"));
  };
  picker.answers = {std::nullopt};
  m.OPEN_INPUTDATA();
  EXPECT_EQ(rs.files.IINOPEN, 0);
  EXPECT_EQ(m.text(1011), "No file selected");
  EXPECT_FALSE(m.enabled(control::run));
  ASSERT_EQ(dialogs.warning_texts.size(), 1u);
  EXPECT_EQ(dialogs.warning_texts[0], "ERROR OPENING INPUT DATA FILE ");
}

TEST_F(ModelTest, CancelWithoutAFileChangesNothing) {
  auto& m = make();
  picker.answers = {std::nullopt};
  m.OPEN_EXP();
  EXPECT_EQ(m.text(1010), "No file selected");
  EXPECT_EQ(rs.files.IEXPOPEN, 0);
  EXPECT_EQ(m.text(control::status_line), "SELECT FILES");
  EXPECT_TRUE(dialogs.warning_texts.empty());
  EXPECT_EQ(picker.requests.back().initial_name, "");
}

TEST_F(ModelTest, ResetForgetsTheFiles) {
  auto& m = make();
  choose_all();
  m.RESET_FILES();
  EXPECT_EQ(enabled_controls(), selecting_without_run);
  EXPECT_EQ(m.text(control::status_line), "SELECT FILES");
  for (int id : {1010, 1008, 1011, 1014}) EXPECT_EQ(m.text(id), "No file selected");
  EXPECT_EQ(rs.files.IEXPOPEN + rs.files.IPRTOPEN + rs.files.IINOPEN + rs.files.IOUTOPEN, 0);
  for (const auto& name : rs.files.FNAME) EXPECT_EQ(name, "");
  EXPECT_FALSE(rs.files.exp);
  EXPECT_FALSE(rs.files.print.is_open());
  m.RUN_PROG();  // not possible without files
  EXPECT_EQ(m.state(), DialogState::Selecting);
}

TEST_F(ModelTest, SuccessfulRunEndsFinishedWithTheViewButtons) {
  std::set<int> during;
  std::string status_during;
  DialogState state_during = DialogState::Selecting;
  int repaints_before = 0;
  auto& m = make([&](run::RunState& r) {
    during = enabled_controls();
    status_during = model->text(control::status_line);
    state_during = model->state();
    repaints_before = repaints;
    r.files.print.write_record(" listing of this run");
    *r.files.out << "output record\n";
  });
  write(path("run.prt"), "earlier listing\n");
  write(path("result.avg"), "stale output\n");
  choose_all();
  m.RUN_PROG();
  EXPECT_TRUE(during.empty());
  EXPECT_EQ(status_during, "PROCESSING DATA");
  EXPECT_EQ(state_during, DialogState::Running);
  EXPECT_GE(repaints_before, 1);
  EXPECT_EQ(m.state(), DialogState::Finished);
  EXPECT_EQ(m.text(control::status_line), "VORLANE FINISHED SUCCESSFULLY");
  EXPECT_EQ(enabled_controls(), (std::set<int>{3, 1004, 1009, 1017, 4, 1016}));
  EXPECT_EQ(rs.files.IEXPOPEN + rs.files.IPRTOPEN + rs.files.IINOPEN + rs.files.IOUTOPEN, 0);
  // The print file was appended to, the output file replaced.
  EXPECT_EQ(read_text_file(path("run.prt")), "earlier listing\nlisting of this run\n");
  EXPECT_EQ(read_text_file(path("result.avg")), "output record\n");
  // A finished window takes no file choice, but a second run on the same files.
  picker.answers = {path("run.exp")};
  m.OPEN_EXP();
  EXPECT_EQ(picker.requests.size(), 4u);
  m.RUN_PROG();
  EXPECT_EQ(m.state(), DialogState::Finished);
  EXPECT_EQ(read_text_file(path("run.prt")),
            "earlier listing\nlisting of this run\nlisting of this run\n");
  EXPECT_EQ(read_text_file(path("result.avg")), "output record\n");
  m.RESET_FILES();
  EXPECT_EQ(m.state(), DialogState::Selecting);
  EXPECT_EQ(enabled_controls(), selecting_without_run);
}

TEST_F(ModelTest, EverySecondRunStartsFromAFreshRunState) {
  std::vector<std::string> titles_seen;
  std::vector<int> halt_seen;
  int runs = 0;
  auto& m = make([&](run::RunState& r) {
    titles_seen.push_back(r.ctl.TITLE.substr(0, 5));
    halt_seen.push_back(r.msg.IHALT);
    r.ctl.TITLE = "CHANGED";
    r.refl.members.emplace_back();
    if (++runs == 1) run::warn(r, "FIRST WARNING");
    run::warn(r, "ANOTHER WARNING");
    if (runs == 1) run::fatal(r, "STOPPED");
  });
  choose_all();
  m.RUN_PROG();
  ASSERT_EQ(m.state(), DialogState::Halted);
  EXPECT_EQ(enabled_controls(), (std::set<int>{3, 1004, 1009, 1017}));
  // No warning of a run stops it in a box; the list keeps them all.
  EXPECT_TRUE(dialogs.warning_texts.empty());
  EXPECT_EQ(m.run_warnings(), (std::vector<std::string>{"FIRST WARNING ", "ANOTHER WARNING "}));
  EXPECT_EQ(dialogs.fatal_texts.size(), 1u);
  m.RUN_PROG();
  EXPECT_EQ(m.state(), DialogState::Finished);
  EXPECT_EQ(titles_seen, (std::vector<std::string>{"     ", "     "}));
  EXPECT_EQ(halt_seen, (std::vector<int>{0, 0}));
  EXPECT_EQ(rs.refl.members.size(), 1u);
  EXPECT_EQ(m.run_warnings().size(), 1u);
  EXPECT_TRUE(dialogs.warning_texts.empty());
}

TEST_F(ModelTest, PickingAnOutputFileChecksItButLeavesItWhole) {
  auto& m = make();
  write(path("old.avg"), "earlier averaged data\n");
  picker.answers = {path("old.avg"), dir};
  m.OPEN_OUTPUTDATA();
  EXPECT_EQ(m.text(control::output_name), "old.avg");
  EXPECT_EQ(read_text_file(path("old.avg")), "earlier averaged data\n");
  m.OPEN_OUTPUTDATA();  // a folder cannot be written as a file
  EXPECT_EQ(m.text(control::output_name), "No file selected");
  EXPECT_EQ(rs.files.IOUTOPEN, 0);
  ASSERT_EQ(dialogs.warning_texts.size(), 1u);
  EXPECT_NE(dialogs.warning_texts[0].find("ERROR OPENING OUTPUT DATA FILE"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(path("new.avg")));
  picker.answers = {path("new.avg")};
  m.OPEN_OUTPUTDATA();
  EXPECT_FALSE(std::filesystem::exists(path("new.avg")));  // created when a run starts
}

TEST_F(ModelTest, ViewButtonsOpenPrintOutputAndTheCifBesideTheOutput) {
  auto& m = make();
  choose_all("my.data.hkl");
  m.RUN_PROG();
  namespace fs = std::filesystem;
  EXPECT_EQ(m.view_path(control::view_print), fs::path(path("run.prt")));
  EXPECT_EQ(m.view_path(control::view_output), fs::path(path("my.data.hkl")));
  EXPECT_EQ(m.view_path(control::view_cif), fs::path(path("my_vorlane.cif")));
}

TEST_F(ModelTest, FatalErrorEndsHaltedWithOnlyExitAndThePrintView) {
  int calls_after_error = 0;
  auto& m = make([&](run::RunState& r) {
    run::fatal(r, "NO SYMMETRY CARD FOUND");
    ++calls_after_error;
  });
  choose_all();
  m.RUN_PROG();
  EXPECT_EQ(m.state(), DialogState::Halted);
  EXPECT_EQ(rs.msg.IHALT, 1);
  EXPECT_EQ(m.text(control::status_line), "VORLANE HALTED");
  EXPECT_EQ(enabled_controls(), (std::set<int>{3, 1004, 1009, 1017}));
  ASSERT_EQ(dialogs.fatal_texts.size(), 1u);
  EXPECT_EQ(dialogs.fatal_texts[0], "NO SYMMETRY CARD FOUND ");
  EXPECT_EQ(rs.files.IEXPOPEN + rs.files.IPRTOPEN + rs.files.IINOPEN + rs.files.IOUTOPEN, 0);
  const auto lines = split_lines(read_text_file(path("run.prt")));
  ASSERT_GE(lines.size(), 4u);
  // 5X,A100 with the carriage-control blank dropped; the message is left-justified.
  std::string message = "NO SYMMETRY CARD FOUND";
  message.resize(100, ' ');
  EXPECT_EQ(lines[lines.size() - 4], "    " + message);
  EXPECT_EQ(lines[lines.size() - 2], "****PROGRAM WILL HALT");
  m.RUN_PROG();
  EXPECT_EQ(m.state(), DialogState::Halted);
}

TEST_F(ModelTest, ExceptionFromTheRunIsReportedAndHalts) {
  auto& m = make([](run::RunState&) { throw std::runtime_error("disk on fire"); });
  choose_all();
  m.RUN_PROG();
  EXPECT_EQ(m.state(), DialogState::Halted);
  EXPECT_EQ(rs.msg.IHALT, 1);
  EXPECT_EQ(m.text(control::status_line), "VORLANE HALTED");
  ASSERT_EQ(dialogs.fatal_texts.size(), 1u);
  EXPECT_EQ(dialogs.fatal_texts[0], "INTERNAL ERROR: disk on fire ");
  EXPECT_EQ(enabled_controls(), (std::set<int>{3, 1004, 1009, 1017}));
  EXPECT_NE(read_text_file(path("run.prt")).find("INTERNAL ERROR: disk on fire"),
            std::string::npos);
}

TEST_F(ModelTest, OutputThatCannotBeWrittenCompletelyIsNoSuccess) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "needs /dev/full";
  auto& m = make([](run::RunState& r) { *r.files.out << "averaged record\n"; });
  picker.answers = {path("run.exp"), path("run.prt"), path("data.hkl"), "/dev/full"};
  m.OPEN_EXP();
  m.OPEN_PRINT();
  m.OPEN_INPUTDATA();
  m.OPEN_OUTPUTDATA();
  ASSERT_TRUE(m.enabled(control::run));
  m.RUN_PROG();
  EXPECT_EQ(m.state(), DialogState::Halted);
  EXPECT_EQ(m.text(control::status_line), "VORLANE HALTED");
  EXPECT_EQ(rs.msg.IHALT, 1);
  ASSERT_EQ(dialogs.fatal_texts.size(), 1u);
  // The output is completed when the run finishes, before anything is put in place.
  EXPECT_EQ(dialogs.fatal_texts[0], "FILE COULD NOT BE WRITTEN OR PUT IN PLACE: /dev/full ");
  EXPECT_EQ(enabled_controls(), (std::set<int>{3, 1004, 1009, 1017}));
}

TEST_F(ModelTest, FormatsAreDecidedBeforeTheRunStarts) {
  int infmt_seen = -1, outfmt_seen = -1;
  auto& m = make([&](run::RunState& r) {
    infmt_seen = r.files.INFMT;
    outfmt_seen = r.files.OUTFMT;
  });
  write(path("data.txt"), "");
  picker.answers = {path("run.exp"), path("run.prt"), path("data.txt"), path("result.hkl")};
  m.OPEN_EXP();
  m.OPEN_PRINT();
  m.OPEN_INPUTDATA();
  m.OPEN_OUTPUTDATA();
  dialogs.format_answers = {1};
  m.RUN_PROG();
  ASSERT_EQ(dialogs.format_questions.size(), 1u);
  EXPECT_EQ(dialogs.format_questions[0], "data.txt");
  EXPECT_EQ(infmt_seen, 1);
  EXPECT_EQ(outfmt_seen, 1);
  EXPECT_EQ(m.state(), DialogState::Finished);
}

TEST_F(ModelTest, RunStateDialogsIsTheWindowsDuringTheRun) {
  run::Dialogs* seen = nullptr;
  auto& m = make([&](run::RunState& r) { seen = r.dialogs; });
  choose_all();
  rs.dialogs = nullptr;
  m.RUN_PROG();
  // The run talks to the window's dialogs through the list that keeps its warnings; a
  // warning goes to that list (the Warnings tab), never to a box.
  ASSERT_NE(seen, nullptr);
  seen->warning_box("W");
  seen->warning_box("V");
  EXPECT_TRUE(dialogs.warning_texts.empty());
  EXPECT_EQ(m.run_warnings(), (std::vector<std::string>{"W", "V"}));
  // Fatal errors and questions still reach the window's dialogs.
  seen->fatal_box("F");
  EXPECT_EQ(dialogs.fatal_texts, std::vector<std::string>{"F"});
}

// An integration program's file is read as on the command line: the whole run merges the
// measurements of an XDS_ASCII file whose name says SHELX; one cut short halts the window with
// the reader's message, not a SHELX misreading.
TEST_F(ModelTest, RunsOnAnIntegrationProgramsFile) {
  const std::string data = std::string(VORLANE_TEST_DATA) + "/integration/";
  std::string exp = read_text_file(data + "p-1.exp");
  exp.erase(exp.find("CELL"), exp.find("WAVEL") - exp.find("CELL"));  // the header gives it
  write(path("run.exp"), exp);
  const std::string xds = read_text_file(data + "XDS_ASCII.HKL");
  write(path("data.hkl"), xds);
  auto& m = make([](run::RunState& r) { run::RUN_VORLANE(r); });
  choose_all("result.hkl");
  m.RUN_PROG();
  ASSERT_EQ(m.state(), DialogState::Finished) << rs.msg.ERRMSG;
  EXPECT_EQ(rs.files.integration_format, "XDS_ASCII");
  EXPECT_EQ(rs.refl.members.size(), 2936u);
  EXPECT_EQ(split_lines(read_text_file(path("result.hkl"))).size(), 1397u);  // one per set

  m.RESET_FILES();
  write(path("data.hkl"), xds.substr(0, xds.size() / 2));
  choose_all("result.hkl");
  m.RUN_PROG();
  EXPECT_EQ(m.state(), DialogState::Halted);
  ASSERT_EQ(dialogs.fatal_texts.size(), 1u);
  EXPECT_NE(dialogs.fatal_texts[0].find("XDS_ASCII file data.hkl"), std::string::npos)
      << dialogs.fatal_texts[0];
}

}  // namespace
}  // namespace vorlane::testing
