// The four file dialogs: titles, filters, default extensions, flags, and the per-kind texts.
#include <gtest/gtest.h>

#include "frontend/control_ids.hpp"
#include "frontend/file_kinds.hpp"

namespace vorlane::frontend {
namespace {

TEST(FileRequests, EachKindHasItsTitleFiltersAndDefaultExtension) {
  struct Expected {
    int slot;
    const char* title;
    std::vector<std::string> patterns;
    std::vector<std::string> names;
    const char* extension;
    bool save, must_exist, overwrite;
  };
  const Expected table[] = {
      {1, "Open Experiment File", {"*", "*.exp"}, {"All Files", "Experiment"}, "exp", false,
       true, false},
      {2, "Open Print File", {"*", "*.prt", "*.log"}, {"All Files", "Print", "Log"}, "prt",
       false, false, false},
      {3, "Open Input Data File", {"*", "*.abs", "*.hkl"}, {"All Files", "Zezor", "SHELX hkl"},
       "abs", false, true, false},
      {4, "Open Output Data File", {"*", "*.avg", "*.hkl"}, {"All Files", "Zezor", "SHELX hkl"},
       "avg", true, false, true},
  };
  for (const auto& e : table) {
    SCOPED_TRACE(e.title);
    const FileRequest r = file_request(e.slot, "start.name");
    EXPECT_EQ(r.slot, e.slot);
    EXPECT_EQ(r.title, e.title);
    ASSERT_EQ(r.filters.size(), e.patterns.size());
    for (std::size_t i = 0; i < e.patterns.size(); ++i) {
      EXPECT_EQ(r.filters[i].pattern, e.patterns[i]);
      EXPECT_EQ(r.filters[i].display, e.names[i]);
    }
    // The second filter, the kind's own extension, is selected at start.
    EXPECT_EQ(r.selected_filter, 2);
    EXPECT_EQ(r.default_extension, e.extension);
    EXPECT_EQ(r.save, e.save);
    EXPECT_EQ(r.must_exist, e.must_exist);
    EXPECT_EQ(r.overwrite_prompt, e.overwrite);
    EXPECT_EQ(r.initial_name, "start.name");
  }
}

TEST(FileRequests, FailedOpensHaveTheirMessagesAndLabels) {
  EXPECT_EQ(file_kind(1).open_error, "ERROR OPENING EXPERIMENT FILE");
  EXPECT_EQ(file_kind(2).open_error, "ERROR OPENING PRINT FILE");
  EXPECT_EQ(file_kind(3).open_error, "ERROR OPENING INPUT DATA FILE");
  EXPECT_EQ(file_kind(4).open_error, "ERROR OPENING OUTPUT DATA FILE");
  // The experiment label is left as a single blank, the others say no file is selected.
  EXPECT_EQ(file_kind(1).failed_label, " ");
  for (int slot = 2; slot <= 4; ++slot) EXPECT_EQ(file_kind(slot).failed_label, "No file selected");
  EXPECT_EQ(file_kind(1).browse_button, 1001);
  EXPECT_EQ(file_kind(1).name_label, 1010);
  EXPECT_EQ(file_kind(2).browse_button, 1006);
  EXPECT_EQ(file_kind(2).name_label, 1008);
  EXPECT_EQ(file_kind(3).browse_button, 1012);
  EXPECT_EQ(file_kind(3).name_label, 1011);
  EXPECT_EQ(file_kind(4).browse_button, 1015);
  EXPECT_EQ(file_kind(4).name_label, 1014);
}

TEST(FileRequests, SlotsOutsideOneToFourAreRefused) {
  EXPECT_THROW(file_kind(0), std::out_of_range);
  EXPECT_THROW(file_request(5, ""), std::out_of_range);
}

}  // namespace
}  // namespace vorlane::frontend
