#pragma once
// A main dialog over files in a temporary folder; the test answers its file dialogs and
// message boxes through a ScriptedRunner and may replace the run itself.
#include <gtest/gtest.h>

#include <QUrl>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

#include "frontend/control_ids.hpp"
#include "frontend/qt/main_dialog.hpp"
#include "qt/qt_test_support.hpp"
#include "support/test_support.hpp"

namespace vorlane::testing {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qt_app();
    dir = make_temp_dir("window");
  }
  void TearDown() override {
    window.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  std::string path(const std::string& name) const {
    return (std::filesystem::path(dir) / name).string();
  }
  static void write(const std::string& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
  }

  // The window; `run` replaces the data reduction when given.
  frontend::qt::MainDialog& make(frontend::MainDialogModel::RunFunction run = {}) {
    frontend::qt::MainDialogOptions options;
    options.runner = script.runner();
    options.open_url = [this](const QUrl& url) {
      opened.push_back(url);
      return true;
    };
    options.run = std::move(run);
    options.settings_file = QString::fromStdString(path("settings.ini"));
    window = std::make_unique<frontend::qt::MainDialog>(options);
    window->show();
    return *window;
  }

  // Chooses a file through its Browse button and the file dialog.
  void browse(int button, const std::string& file) {
    script.answers.push_back(type_file_name(file));
    click(*window, button);
  }

  // Chooses placeholder files for all four kinds (their content does not matter). The output
  // file must not exist yet: the save dialog would ask before replacing it.
  void browse_all(const std::string& output = "result.avg") {
    write(path("run.exp"), "TITLE placeholder\n");
    write(path("data.hkl"), "");
    browse(frontend::control::experiment_browse, path("run.exp"));
    browse(frontend::control::print_browse, path("run.prt"));
    browse(frontend::control::input_browse, path("data.hkl"));
    browse(frontend::control::output_browse, path(output));
  }

  // The buttons enabled on the screen now.
  std::set<int> enabled_buttons() const {
    std::set<int> on;
    for (int id : frontend::control::buttons) {
      auto* w = find_control(*window, id);
      if (w != nullptr && w->isEnabled()) on.insert(id);
    }
    return on;
  }

  std::string status() const { return label_text(*window, frontend::control::status_line); }

  std::string dir;
  ScriptedRunner script;
  std::vector<QUrl> opened;
  std::unique_ptr<frontend::qt::MainDialog> window;
};

}  // namespace vorlane::testing
