#include "input/read_xds_ascii.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "input/text_numbers.hpp"

namespace vorlane::input {
namespace {

constexpr std::string_view FORMAT_TAG = "!FORMAT=XDS_ASCII";
// The frames a batch spans within one ISET: scale and decay vary slowly over the rotation.
constexpr double FRAMES_PER_BATCH = 100.0;

std::string_view without_bom(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return text;
}

// Lines with LF, CR LF or CR ends.
class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {}
  bool next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const std::size_t end = text_.find_first_of("\r\n", pos_);
    if (end == std::string_view::npos) {
      line = text_.substr(pos_);
      pos_ = text_.size();
    } else {
      line = text_.substr(pos_, end - pos_);
      pos_ = end + 1;
      if (text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    }
    ++number_;
    return true;
  }
  int number() const { return number_; }
  // The line last given is the text's last and has no line end: the file may be cut short.
  bool cut_short() const {
    return pos_ >= text_.size() && !text_.empty() && text_.back() != '\n' && text_.back() != '\r';
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  int number_ = 0;
};

// A header line's keywords: "KEY=value" or "KEY= value value ..." (words after a keyword up to
// the next one are its values).
std::vector<std::pair<std::string_view, std::vector<std::string_view>>> keywords_of(
    std::string_view line) {
  std::vector<std::pair<std::string_view, std::vector<std::string_view>>> keys;
  for (std::string_view w : words_of(line)) {
    const std::size_t eq = w.find('=');
    if (eq != std::string_view::npos) {
      keys.emplace_back(w.substr(0, eq), std::vector<std::string_view>{});
      if (eq + 1 < w.size()) keys.back().second.push_back(w.substr(eq + 1));
    } else if (!keys.empty()) {
      keys.back().second.push_back(w);
    }
  }
  return keys;
}

class XdsReader {
 public:
  XdsReader(std::string_view text, const std::string& file) : lines_(text), file_(file) {}

  IntegrationData read();

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw IntegrationReadError("XDS_ASCII file " + file_ + ", line " +
                               std::to_string(lines_.number()) + ": " + what +
                               (lines_.cut_short() ? " (the file ends within it: truncated?)" : ""));
  }
  void header_line(std::string_view line);
  void data_line(std::string_view line);
  int column(std::string_view item) const {
    const auto it = items_.find(std::string(item));
    return it == items_.end() ? 0 : it->second;
  }

  Lines lines_;
  const std::string& file_;
  IntegrationData data_;
  std::map<std::string, int> items_;  // ITEM_name -> its column (from 1)
  int nitems_ = 0;
  int current_iset_ = 0;  // the ISET an "!ISET=" line speaks of
  std::map<int, HeaderValue> iset_wavelength_;
  std::vector<std::pair<int, long long>> batch_keys_;  // (ISET, ZD block) per measurement
  long long misfits_ = 0;
  long long zero_indices_ = 0;
  // Columns, once the header has ended.
  int ch_ = 0, ck_ = 0, cl_ = 0, ci_ = 0, cs_ = 0, czd_ = 0, ciset_ = 0;
};

void XdsReader::header_line(std::string_view line) {
  for (const auto& [key, values] : keywords_of(line.substr(1))) {
    auto one_value = [&, k = key, &v = values]() -> std::string_view {
      if (v.empty()) fail(std::string(k) + "= without a value");
      return v.front();
    };
    if (key == "MERGE") {
      data_.merged = one_value() == "TRUE";
    } else if (key == "FRIEDEL'S_LAW") {
      const std::string_view v = one_value();
      if (v != "TRUE" && v != "FALSE") fail("FRIEDEL'S_LAW=" + std::string(v) + " is neither TRUE nor FALSE");
      data_.header.friedel_law = v == "TRUE";
    } else if (key == "SPACE_GROUP_NUMBER") {
      int n = 0;
      if (!parse_whole(one_value(), n) || n < 1 || n > 230) {
        fail("SPACE_GROUP_NUMBER=" + std::string(one_value()) + " is not a number from 1 to 230");
      }
      data_.header.space_group_number = n;
    } else if (key == "UNIT_CELL_CONSTANTS") {
      if (current_iset_ != 0) continue;  // an ISET's own cell: the file's cell is the one used
      std::array<HeaderValue, 6> cell{};
      if (values.size() < 6) fail("UNIT_CELL_CONSTANTS= needs six numbers");
      for (std::size_t i = 0; i < 6; ++i) {
        if (!parse_header_value(values[i], cell[i]) || !(cell[i].value > 0.0)) {
          fail("UNIT_CELL_CONSTANTS= holds '" + std::string(values[i]) + "', not a cell constant");
        }
      }
      data_.header.cell = cell;
    } else if (key == "X-RAY_WAVELENGTH") {
      HeaderValue w;
      if (!parse_header_value(one_value(), w)) {
        fail("X-RAY_WAVELENGTH=" + std::string(one_value()) + " is not a number");
      }
      // XSCALE writes -1 for a wavelength it does not know.
      if (!(w.value > 0.0)) continue;
      if (current_iset_ != 0) iset_wavelength_[current_iset_] = w;
      else data_.header.wavelength = w;
    } else if (key == "ISET") {
      if (!parse_whole(one_value(), current_iset_)) fail("ISET=" + std::string(one_value()) + " is not a number");
    } else if (key == "NUMBER_OF_ITEMS_IN_EACH_DATA_RECORD") {
      if (!parse_whole(one_value(), nitems_) || nitems_ < 5 || nitems_ > 100) {
        fail("NUMBER_OF_ITEMS_IN_EACH_DATA_RECORD=" + std::string(one_value()) +
             " is not a number of columns from 5 to 100");
      }
    } else if (key.substr(0, 5) == "ITEM_") {
      int c = 0;
      if (!parse_whole(one_value(), c) || c < 1 || c > 100) {
        fail(std::string(key) + "=" + std::string(one_value()) + " is not a column number");
      }
      items_[std::string(key.substr(5))] = c;
    }
  }
}

void XdsReader::data_line(std::string_view line) {
  const std::vector<std::string_view> w = words_of(line);
  if (w.empty()) return;
  if (static_cast<int>(w.size()) < nitems_) {
    fail("expected " + std::to_string(nitems_) + " numbers, found " + std::to_string(w.size()) +
         " in '" + shown_text(line) + "'");
  }
  auto word = [&](int c) { return w[static_cast<std::size_t>(c - 1)]; };
  IntegrationMeasurement m;
  const int index_columns[3] = {ch_, ck_, cl_};
  for (int i = 0; i < 3; ++i) {
    if (!parse_whole(word(index_columns[i]), m.h[static_cast<std::size_t>(i)]) ||
        std::abs(m.h[static_cast<std::size_t>(i)]) > 999) {
      fail("the index '" + std::string(word(index_columns[i])) +
           "' is not a whole number from -999 to 999");
    }
  }
  if (!parse_real(word(ci_), m.intensity)) {
    fail("IOBS '" + std::string(word(ci_)) + "' is not a number");
  }
  if (!parse_real(word(cs_), m.sigma)) {
    fail("SIGMA(IOBS) '" + std::string(word(cs_)) + "' is not a number");
  }
  double zd = 0.0;
  // A frame number: within a billion frames (a batch number must follow from it).
  if (czd_ != 0 && (!parse_real(word(czd_), zd) || !(std::fabs(zd) < 1e9))) {
    fail("ZD '" + std::string(word(czd_)) + "' is not a frame number");
  }
  int iset = 1;
  if (ciset_ != 0 && !parse_whole(word(ciset_), iset)) {
    fail("ISET '" + std::string(word(ciset_)) + "' is not a whole number");
  }
  // CORRECT and XSCALE mark the reflections they rejected as misfits by a negative sigma.
  if (m.sigma < 0.0) {
    ++misfits_;
    return;
  }
  // 0 0 0 is no reflection (and would end the equivalent SHELX file).
  if (m.h[0] == 0 && m.h[1] == 0 && m.h[2] == 0) {
    ++zero_indices_;
    return;
  }
  data_.measurements.push_back(m);
  batch_keys_.emplace_back(iset, static_cast<long long>(std::floor(zd / FRAMES_PER_BATCH)));
}

IntegrationData XdsReader::read() {
  std::string_view line;
  if (!lines_.next(line) || line.substr(0, FORMAT_TAG.size()) != FORMAT_TAG) {
    fail("expected '!FORMAT=XDS_ASCII', found '" + shown_text(line) + "'");
  }
  data_.format_name = "XDS_ASCII";
  header_line(line);
  bool header_ended = false;
  bool data_ended = false;
  while (lines_.next(line)) {
    if (!header_ended) {
      if (line.substr(0, 14) == "!END_OF_HEADER") {
        header_ended = true;
        if (nitems_ == 0) fail("the header ends without NUMBER_OF_ITEMS_IN_EACH_DATA_RECORD");
        const std::pair<const char*, int*> needed[] = {
            {"H", &ch_}, {"K", &ck_}, {"L", &cl_}, {"IOBS", &ci_}, {"SIGMA(IOBS)", &cs_}};
        for (const auto& [name, col] : needed) {
          *col = column(name);
          if (*col == 0) fail(std::string("the header names no column ITEM_") + name);
        }
        czd_ = column("ZD");
        ciset_ = column("ISET");
        for (const auto& [name, c] : items_) {
          if (c > nitems_) {
            fail("ITEM_" + name + "=" + std::to_string(c) + " lies beyond the " +
                 std::to_string(nitems_) + " columns of a record");
          }
        }
        continue;
      }
      if (!line.empty() && line[0] == '!') {
        header_line(line);
        continue;
      }
      if (words_of(line).empty()) continue;
      fail("a data record before !END_OF_HEADER: '" + shown_text(line) + "'");
    }
    if (!line.empty() && line[0] == '!') {
      if (line.substr(0, 12) == "!END_OF_DATA") {
        data_ended = true;
        break;
      }
      continue;  // a comment among the records
    }
    data_line(line);
  }
  if (!header_ended) fail("the file ends without !END_OF_HEADER (truncated?)");
  if (!data_ended) fail("the file ends without !END_OF_DATA (truncated?)");
  if (data_.measurements.empty()) {
    throw IntegrationReadError("XDS_ASCII file " + file_ + " holds no usable reflection");
  }
  // A wavelength given only per ISET stands for the file when all ISETs agree.
  if (!data_.header.wavelength && !iset_wavelength_.empty()) {
    const HeaderValue first = iset_wavelength_.begin()->second;
    const bool same = std::all_of(iset_wavelength_.begin(), iset_wavelength_.end(),
                                  [&](const auto& e) { return e.second.value == first.value; });
    if (same) data_.header.wavelength = first;
    else data_.warnings.push_back("XDS_ASCII file " + file_ +
                                  ": its ISETs have different wavelengths; none is taken");
  }
  // Batches: (ISET, block of frames) pairs numbered from 1 in ascending order.
  std::vector<std::pair<int, long long>> keys = batch_keys_;
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  if (keys.size() > 9999) {
    throw IntegrationReadError("XDS_ASCII file " + file_ + ": " + std::to_string(keys.size()) +
                               " batches (ISET and 100-frame blocks), more than 9999");
  }
  for (std::size_t i = 0; i < batch_keys_.size(); ++i) {
    data_.measurements[i].batch =
        static_cast<int>(std::lower_bound(keys.begin(), keys.end(), batch_keys_[i]) - keys.begin()) + 1;
  }
  if (misfits_ > 0) {
    data_.warnings.push_back(std::to_string(misfits_) + " misfits (negative sigma) of XDS_ASCII file " +
                             file_ + " left out");
  }
  if (zero_indices_ > 0) {
    data_.warnings.push_back(std::to_string(zero_indices_) + " records with indices 0 0 0 of " +
                             file_ + " left out");
  }
  if (data_.merged) {
    data_.warnings.push_back("XDS_ASCII file " + file_ + " says MERGE=TRUE: the data are already merged");
  }
  return std::move(data_);
}

}  // namespace

IntegrationData read_xds_ascii(std::string_view text, const std::string& file) {
  return XdsReader(without_bom(text), file).read();
}

bool looks_like_xds_ascii(std::string_view text) {
  return without_bom(text).substr(0, FORMAT_TAG.size()) == FORMAT_TAG;
}

}  // namespace vorlane::input
