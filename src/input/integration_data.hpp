#pragma once
// What the readers of integration programs' files (XDS_ASCII, reflection CIF, MTZ) give: the
// measurements as a SHELX hkl file would hold them, and what the file's header says about the
// experiment.
#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vorlane::input {

enum class IntegrationFormat { xds, cif, mtz };

// One measurement: the indices as measured, the intensity and its sigma, and a batch (1-9999).
struct IntegrationMeasurement {
  std::array<int, 3> h{};
  double intensity = 0.0;
  double sigma = 0.0;
  int batch = 0;
};

// A number of the header with the precision the file gives it (half a unit of its last
// decimal for text, the precision of single precision for binary files).
struct HeaderValue {
  double value = 0.0;
  double precision = 0.0;
};

struct FileHeader {
  std::optional<std::array<HeaderValue, 6>> cell;  // a, b, c in Angstrom, angles in degrees
  std::optional<HeaderValue> wavelength;           // Angstrom
  std::string space_group;       // the Hermann-Mauguin symbol as the file gives it, or empty
  int space_group_number = 0;    // 1-230, 0 when the file gives none
  // The file's Friedel flag: false says Friedel's law does not hold (anomalous data: keep the
  // mates apart). Unset when the file says nothing.
  std::optional<bool> friedel_law;
};

struct IntegrationData {
  std::string format_name;  // "XDS_ASCII", "mmCIF", "core CIF", "MTZ"
  FileHeader header;
  std::vector<IntegrationMeasurement> measurements;
  bool merged = false;                 // the file says its data are merged
  std::vector<std::string> warnings;   // what the reader left out or doubts, for the print file
};

// Content a reader cannot take: the message names the file, the line, row or column, and what
// was found.
class IntegrationReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Batch numbers of a SHELX record have four columns: numbers the file gives that are all in
// 1-9999 are kept, otherwise every distinct number is replaced by its rank in ascending order.
// Throws when there are more than 9999 distinct batches.
void fit_batches_to_four_columns(IntegrationData& data, const std::string& file);

}  // namespace vorlane::input
