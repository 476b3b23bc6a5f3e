#pragma once
// One record of the input reflection file, in either of its two fixed-column formats.
#include <array>
#include <string_view>

namespace vorlane::input {

struct InputRecord {
  std::array<int, 3> h{};
  // Zezor: the amplitude F and its sigma. SHELX: F squared and its sigma.
  float value = 0.0f;
  float sigma = 0.0f;
  float aux = 0.0f;                 // Zezor columns 26-35
  std::array<float, 4> angles{};    // Zezor: 2theta and three more angle values
  int batch = 0;                    // SHELX columns 29-32 (read, not used)
  std::array<float, 6> cosines{};   // SHELX columns 33-80
  bool cosine_columns = false;      // SHELX: the record reaches them (else all read as zero)
  int without_point = 0;            // SHELX: F squared and sigma fields holding a number
                                    // without a decimal point (read with two implied decimals)
};

// SHELX reads F squared and its sigma with the layout 3I4,2F8.2,I4: a field written without a
// decimal point ("  268870") holds hundredths (2688.70). Programs that write such fields
// follow that definition.
inline constexpr int SHELX_IMPLIED_DECIMALS = 2;

// Zezor abs: 3I3 (h, k, l), F10.3 (F), F6.3 (sigma F), F10.5 (auxiliary value), columns
// 36-45 skipped, 4F7.2 (angles); columns after 73 are ignored.
// False when a field is not a number of its kind (or reads as NaN or an infinity).
bool parse_zezor_record(std::string_view record, InputRecord& r);

// SHELX hkl: 3I4 (h, k, l), 2F8.2 (F squared, sigma), I4 (batch), 6F8.5 (direction cosines:
// for a*, b*, c* in turn the incident then the diffracted beam). A shorter record reads as if
// padded with blanks. False when a field is not a number of its kind.
bool parse_shelx_record(std::string_view record, InputRecord& r);

}  // namespace vorlane::input
