#pragma once
// A file picker for tests: records every dialog request and answers from a script.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "frontend/file_picker.hpp"

namespace vorlane::testing {

class ScriptedPicker : public frontend::FilePicker {
 public:
  std::vector<frontend::FileRequest> requests;
  std::deque<std::optional<std::string>> answers;  // nullopt: the user cancels
  std::function<void(const frontend::FileRequest&)> on_pick;  // runs while the dialog "shows"

  std::optional<std::string> pick(const frontend::FileRequest& request) override {
    requests.push_back(request);
    if (on_pick) on_pick(request);
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
};

}  // namespace vorlane::testing
