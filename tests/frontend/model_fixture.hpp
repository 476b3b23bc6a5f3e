#pragma once
// A main-dialog model over real files in a temporary folder, with a scripted picker, the
// fake dialogs and a run function each test chooses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "frontend/control_ids.hpp"
#include "frontend/main_dialog_model.hpp"
#include "frontend/scripted_picker.hpp"
#include "support/fake_dialogs.hpp"
#include "support/test_support.hpp"

namespace vorlane::testing {

class ModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = make_temp_dir("model");
    write(path("run.exp"), "TITLE test\n");
    write(path("data.hkl"), "   1   2   3   105.20    3.10   1\n");
  }
  void TearDown() override {
    model.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  std::string path(const std::string& name) const {
    return (std::filesystem::path(dir) / name).string();
  }
  static void write(const std::string& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
  }

  frontend::MainDialogModel& make(frontend::MainDialogModel::RunFunction run = {}) {
    if (!run) run = [](run::RunState&) {};
    model = std::make_unique<frontend::MainDialogModel>(rs, dialogs, picker, std::move(run));
    model->set_repaint([this] { ++repaints; });
    return *model;
  }

  // Chooses the four files through their Browse handlers.
  void choose_all(const std::string& out_name = "result.avg") {
    picker.answers = {path("run.exp"), path("run.prt"), path("data.hkl"), path(out_name)};
    model->OPEN_EXP();
    model->OPEN_PRINT();
    model->OPEN_INPUTDATA();
    model->OPEN_OUTPUTDATA();
  }

  // The controls enabled now.
  std::set<int> enabled_controls() const {
    std::set<int> on;
    for (int id : frontend::control::buttons)
      if (model->enabled(id)) on.insert(id);
    return on;
  }

  std::string dir;
  run::RunState rs;
  FakeDialogs dialogs;
  ScriptedPicker picker;
  std::unique_ptr<frontend::MainDialogModel> model;
  int repaints = 0;
};

}  // namespace vorlane::testing
