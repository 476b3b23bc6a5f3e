#include "input/read_mtz.hpp"

#include <gemmi/mtz.hpp>

#include <charconv>
#include <cstring>
#include <cmath>

namespace vorlane::input {
namespace {

// An MTZ file: an 80-byte block, the data (4 bytes per column and row), then 80-byte header
// records up to END, then history and batch headers.
constexpr std::size_t RECORD = 80;
// The header of one batch takes at least three 80-byte records.
constexpr std::size_t BATCH_HEADER_MIN = 3 * RECORD;
constexpr long long MAX_COLUMNS = 1000;

// gemmi's MemoryStream with every access kept inside the bytes: a seek outside them fails,
// and an empty read copies nothing (gemmi reads empty batch-header arrays).
class BoundedStream {
 public:
  explicit BoundedStream(std::string_view bytes) : bytes_(bytes) {}
  bool read(void* buf, std::size_t len) {
    if (len > bytes_.size() - pos_) return false;
    if (len != 0) std::memcpy(buf, bytes_.data() + pos_, len);
    pos_ += len;
    return true;
  }
  std::string read_rest() {
    std::string rest(bytes_.substr(pos_));
    pos_ = bytes_.size();
    return rest;
  }
  int seek(std::ptrdiff_t offset) {
    if (offset < 0 || static_cast<std::size_t>(offset) >= bytes_.size()) return 0;
    pos_ = static_cast<std::size_t>(offset);
    return 1;
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

[[noreturn]] void fail(const std::string& file, const std::string& what) {
  throw IntegrationReadError("MTZ file " + file + ": " + what);
}

long long number_after(std::string_view record, std::size_t& pos) {
  while (pos < record.size() && record[pos] == ' ') ++pos;
  long long v = -1;
  const auto [end, ec] = std::from_chars(record.data() + pos, record.data() + record.size(), v);
  if (ec != std::errc()) return -1;
  pos = static_cast<std::size_t>(end - record.data());
  return v;
}

// The counts of the NCOL record, checked against the size of the file before gemmi sizes its
// tables by them.
void check_header_counts(std::string_view bytes, std::int64_t header_offset, const std::string& file) {
  if (header_offset < 21 || header_offset > static_cast<std::int64_t>(bytes.size() / 4) + 1) {
    fail(file, "the header position " + std::to_string(header_offset) +
                   " lies inside the first 80 bytes or beyond the file's " +
                   std::to_string(bytes.size()) + " bytes (truncated?)");
  }
  const std::size_t start = 4 * static_cast<std::size_t>(header_offset - 1);
  if (start > bytes.size() || bytes.size() - start < RECORD) {
    fail(file, "the header position " + std::to_string(header_offset) + " lies beyond the file's " +
                   std::to_string(bytes.size()) + " bytes (truncated?)");
  }
  // gemmi takes the counts of the last NCOL record before END: every one is checked.
  bool found = false;
  for (std::size_t at = start; at + RECORD <= bytes.size(); at += RECORD) {
    const std::string_view record = bytes.substr(at, RECORD);
    if (record.substr(0, 3) == "END") break;
    if (record.substr(0, 4) != "NCOL") continue;
    found = true;
    std::size_t pos = 4;
    const long long ncol = number_after(record, pos);
    const long long nref = number_after(record, pos);
    long long nbatch = number_after(record, pos);
    if (nbatch < 0) nbatch = 0;  // a header without the count: no batches
    if (ncol < 3 || ncol > MAX_COLUMNS || nref < 0) {
      fail(file, "the NCOL record '" + std::string(record.substr(0, 40)) + "' gives impossible counts");
    }
    const std::size_t data_bytes = start - RECORD;
    if (static_cast<unsigned long long>(ncol) * static_cast<unsigned long long>(nref) * 4 > data_bytes) {
      fail(file, std::to_string(nref) + " rows of " + std::to_string(ncol) +
                     " columns do not fit the " + std::to_string(data_bytes) +
                     " bytes before the header (truncated?)");
    }
    if (static_cast<unsigned long long>(nbatch) * BATCH_HEADER_MIN > bytes.size() - start) {
      fail(file, std::to_string(nbatch) + " batch headers do not fit the rest of the file (truncated?)");
    }
  }
  if (!found) fail(file, "the header has no NCOL record");
}

const gemmi::Mtz::Column* column_of(const gemmi::Mtz& mtz, std::initializer_list<const char*> labels,
                                    char type) {
  for (const char* label : labels) {
    const gemmi::Mtz::Column* c = mtz.column_with_label(label);
    if (c != nullptr && c->type == type) return c;
  }
  for (const gemmi::Mtz::Column& c : mtz.columns) {
    if (c.type == type) return &c;
  }
  return nullptr;
}

void read_header(const gemmi::Mtz& mtz, const gemmi::Mtz::Column& intensity, FileHeader& header) {
  // The cell and wavelength of the intensity's dataset, else the file's cell.
  gemmi::UnitCell cell = mtz.cell;
  double wavelength = 0.0;
  for (const gemmi::Mtz::Dataset& d : mtz.datasets) {
    if (d.id != intensity.dataset_id) continue;
    if (d.cell.a > 0.0) cell = d.cell;
    wavelength = d.wavelength;
  }
  // The header writes them as text with four (cell) and five (wavelength) decimals.
  if (cell.a > 0.0 && cell.b > 0.0 && cell.c > 0.0 && cell.alpha > 0.0 && cell.beta > 0.0 &&
      cell.gamma > 0.0) {
    const double values[6] = {cell.a, cell.b, cell.c, cell.alpha, cell.beta, cell.gamma};
    std::array<HeaderValue, 6> c{};
    for (std::size_t i = 0; i < 6; ++i) c[i] = {values[i], 0.00005 + 1e-6 * values[i]};
    header.cell = c;
  }
  if (wavelength > 0.0 && std::isfinite(wavelength)) header.wavelength = HeaderValue{wavelength, 0.000005};
  if (mtz.spacegroup != nullptr) {
    header.space_group = mtz.spacegroup->hm;
    header.space_group_number = mtz.spacegroup->number;
  }
}

}  // namespace

bool looks_like_mtz(std::string_view bytes) { return bytes.substr(0, 4) == "MTZ "; }

IntegrationData read_mtz(std::string_view bytes, const std::string& file) {
  if (bytes.size() < RECORD || !looks_like_mtz(bytes)) {
    fail(file, "it does not start with 'MTZ ' and an 80-byte first block");
  }
  gemmi::Mtz mtz;
  try {
    BoundedStream stream(bytes);
    mtz.read_first_bytes(stream);
    check_header_counts(bytes, mtz.header_offset, file);
    mtz.read_main_headers(stream);
    mtz.read_history_and_batch_headers(stream);
    mtz.setup_spacegroup();
    mtz.read_raw_data(stream);
  } catch (const IntegrationReadError&) {
    throw;
  } catch (const std::exception& e) {
    fail(file, e.what());
  }
  if (mtz.columns.size() < 3 || mtz.data.size() != mtz.columns.size() * static_cast<std::size_t>(mtz.nreflections)) {
    fail(file, "its header's columns (" + std::to_string(mtz.columns.size()) +
                   ") and rows do not match its data");
  }
  IntegrationData data;
  data.format_name = "MTZ";
  data.merged = mtz.batches.empty();
  const std::size_t width = mtz.columns.size();
  for (int i = 0; i < 3; ++i) {
    if (mtz.columns[static_cast<std::size_t>(i)].type != 'H') {
      fail(file, "column " + std::to_string(i + 1) + " (" + mtz.columns[static_cast<std::size_t>(i)].label +
                     ") is not an index column (type H)");
    }
  }
  long long unknown = 0, partials = 0, negative = 0, zero = 0;
  auto take = [&](std::size_t row, std::array<int, 3> h, float i, float s, int batch) {
    if (std::isnan(i) || std::isnan(s)) {
      ++unknown;
      return;
    }
    if (!std::isfinite(i) || !std::isfinite(s)) {
      fail(file, "row " + std::to_string(row + 1) + " holds an infinite intensity or sigma");
    }
    if (s < 0.0f) {
      ++negative;
      return;
    }
    if (h[0] == 0 && h[1] == 0 && h[2] == 0) {
      ++zero;
      return;
    }
    data.measurements.push_back({h, i, s, batch});
  };
  auto index_at = [&](std::size_t row, std::size_t col) {
    const float v = mtz.data[row * width + col];
    if (!(std::fabs(v) <= 999.0f) || v != std::nearbyint(v)) {
      fail(file, "row " + std::to_string(row + 1) + ", column " + mtz.columns[col].label +
                     ": the index " + std::to_string(v) + " is not a whole number from -999 to 999");
    }
    return static_cast<int>(v);
  };
  const auto nrows = static_cast<std::size_t>(mtz.nreflections);
  if (!data.merged) {
    const gemmi::Mtz::Column* misym = column_of(mtz, {"M/ISYM"}, 'Y');
    const gemmi::Mtz::Column* batch = column_of(mtz, {"BATCH"}, 'B');
    const gemmi::Mtz::Column* ic = column_of(mtz, {"I", "IPR"}, 'J');
    const gemmi::Mtz::Column* sc = column_of(mtz, {"SIGI", "SIGIPR"}, 'Q');
    if (misym == nullptr) fail(file, "the unmerged file has no M/ISYM column (type Y)");
    if (batch == nullptr) fail(file, "the unmerged file has no BATCH column (type B)");
    if (ic == nullptr) fail(file, "the unmerged file has no intensity column (I, type J)");
    if (sc == nullptr) fail(file, "the unmerged file has no sigma column (SIGI, type Q)");
    if (mtz.symops.empty()) fail(file, "the unmerged file lists no symmetry operators (SYMM)");
    read_header(mtz, *ic, data.header);
    std::vector<gemmi::Op> inverse;
    for (const gemmi::Op& op : mtz.symops) inverse.push_back(op.inverse());
    for (std::size_t r = 0; r < nrows; ++r) {
      const float* row = &mtz.data[r * width];
      const float code = row[misym->idx];
      if (!(code >= 0.0f && code < 65536.0f) || code != std::nearbyint(code)) {
        fail(file, "row " + std::to_string(r + 1) + ", column M/ISYM: " + std::to_string(code) +
                       " is not an M/ISYM code");
      }
      const int misym_code = static_cast<int>(code);
      const int isym = misym_code & 0xFF;
      // The M flag marks a partial reflection, whose intensity is only part of the whole.
      if ((misym_code >> 8) != 0) {
        ++partials;
        continue;
      }
      if (isym < 1 || static_cast<std::size_t>((isym - 1) / 2) >= inverse.size()) {
        fail(file, "row " + std::to_string(r + 1) + ", column M/ISYM: ISYM " + std::to_string(isym) +
                       " names no operator of the " + std::to_string(inverse.size()) + " listed");
      }
      // The original indices: the inverse of the operator that took them into the asymmetric
      // unit; an even ISYM says the Friedel mate was taken.
      const gemmi::Op::Miller asu = {index_at(r, 0), index_at(r, 1), index_at(r, 2)};
      const gemmi::Op::Miller o = inverse[static_cast<std::size_t>((isym - 1) / 2)].apply_to_hkl(asu);
      const int sign = (isym & 1) != 0 ? 1 : -1;
      const float b = row[batch->idx];
      if (!(std::fabs(b) < 1e9f) || b != std::nearbyint(b)) {
        fail(file, "row " + std::to_string(r + 1) + ", column BATCH: " + std::to_string(b) +
                       " is not a batch number");
      }
      const std::array<int, 3> h = {sign * o[0], sign * o[1], sign * o[2]};
      for (int v : h) {
        if (std::abs(v) > 999) fail(file, "row " + std::to_string(r + 1) + ": original index beyond 999");
      }
      take(r, h, row[ic->idx], row[sc->idx], static_cast<int>(b));
    }
    if (partials > 0) {
      data.warnings.push_back(std::to_string(partials) + " partial reflections (M flag) of MTZ file " +
                              file + " left out");
    }
  } else {
    const gemmi::Mtz::Column* ic = column_of(mtz, {"IMEAN", "I"}, 'J');
    const gemmi::Mtz::Column* sc = column_of(mtz, {"SIGIMEAN", "SIGI"}, 'Q');
    const gemmi::Mtz::Column* ip = mtz.column_with_label("I(+)");
    const gemmi::Mtz::Column* sp = mtz.column_with_label("SIGI(+)");
    const gemmi::Mtz::Column* im = mtz.column_with_label("I(-)");
    const gemmi::Mtz::Column* sm = mtz.column_with_label("SIGI(-)");
    if (ic != nullptr && sc != nullptr) {
      read_header(mtz, *ic, data.header);
      for (std::size_t r = 0; r < nrows; ++r) {
        const float* row = &mtz.data[r * width];
        take(r, {index_at(r, 0), index_at(r, 1), index_at(r, 2)}, row[ic->idx], row[sc->idx], 1);
      }
    } else if (ip != nullptr && sp != nullptr && im != nullptr && sm != nullptr) {
      read_header(mtz, *ip, data.header);
      for (std::size_t r = 0; r < nrows; ++r) {
        const float* row = &mtz.data[r * width];
        const std::array<int, 3> h = {index_at(r, 0), index_at(r, 1), index_at(r, 2)};
        take(r, h, row[ip->idx], row[sp->idx], 1);
        take(r, {-h[0], -h[1], -h[2]}, row[im->idx], row[sm->idx], 1);
      }
    } else {
      fail(file, "the merged file has no intensities (IMEAN and SIGIMEAN, or I(+), SIGI(+), I(-) and SIGI(-))");
    }
    data.warnings.push_back("MTZ file " + file + " holds merged data (no batches): the data are already merged");
  }
  if (unknown > 0) data.warnings.push_back(std::to_string(unknown) + " rows of MTZ file " + file + " without intensity or sigma left out");
  if (negative > 0) data.warnings.push_back(std::to_string(negative) + " rows of MTZ file " + file + " with a negative sigma left out");
  if (zero > 0) data.warnings.push_back(std::to_string(zero) + " rows of MTZ file " + file + " with indices 0 0 0 left out");
  if (data.measurements.empty()) fail(file, "it holds no usable reflection");
  fit_batches_to_four_columns(data, file);
  return data;
}

}  // namespace vorlane::input
