#pragma once
// What differs between the four Browse buttons: dialog title, filters, default extension,
// dialog flags, the message of a failed open and the label left after it.
#include <string_view>

#include "frontend/file_picker.hpp"

namespace vorlane::frontend {

struct FileKind {
  int slot;                  // run::FileSlot
  int browse_button;         // control id
  int name_label;            // control id
  std::string_view open_error;    // "ERROR OPENING EXPERIMENT FILE"
  std::string_view failed_label;  // label text after a failed open
};

// The kind of slot 1..4 (experiment, print, input data, output data).
const FileKind& file_kind(int slot);

// The file dialog of slot 1..4, its name field holding `initial_name`.
FileRequest file_request(int slot, std::string initial_name);

}  // namespace vorlane::frontend
