// libFuzzer target: the writers of the files beside the output (the stats JSON, the rejection
// ledger CSV, the HTML report with its Symmetry section, the CIF fragment) on arbitrary figures
// (NaN, infinities, huge counts, negative sums) and arbitrary texts (titles, warnings, file
// names and space-group symbols of any bytes).
// Checks: the JSON parses back; the CSV has the header's number of fields on every row; the
// HTML is valid UTF-8 and a text adds no "<" of its own; the Symmetry section of empty texts
// holds no "nan" or "inf"; the CIF parses (a checker of the CIF
// 1.1 syntax the fragment uses: comments, blank lines, text fields between lines starting with
// ";", and one data name with one value a line) and every numeric item holds a number, "?" or
// ".". (gemmi's CIF parser does not compile with clang 14 in C++20 against libstdc++ 12.)
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "output/create_cif_vorlane.hpp"
#include "report/html_report.hpp"
#include "report/rejection_ledger.hpp"
#include "report/stats_json.hpp"
#include "report/symmetry_section.hpp"
#include "report/svg_plot.hpp"
#include "run/run_state.hpp"
#include "symmetry_analysis/analysis.hpp"

namespace {

using namespace vorlane;

// Takes values from the input in turn; zeros once it is used up.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  double real() {
    // Mostly ordinary figures, sometimes any bit pattern (NaN, infinities, denormals).
    const std::uint8_t kind = byte();
    if (kind < 200) return (static_cast<double>(word()) - 2147483648.0) / (1 + (kind & 15) * 1000.0);
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits = bits << 8 | byte();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  std::int64_t count() {
    const std::uint8_t kind = byte();
    if (kind < 128) return kind;
    return static_cast<std::int64_t>(word()) * (kind & 7) - (kind > 250 ? 1 : 0);
  }
  // A text up to a NUL byte (or 200 bytes).
  std::string text() {
    std::string s;
    while (at_ < size_ && data_[at_] != 0 && s.size() < 200) s += static_cast<char>(data_[at_++]);
    if (at_ < size_) ++at_;
    return s;
  }

 private:
  std::uint32_t word() {
    std::uint32_t w = 0;
    for (int i = 0; i < 4; ++i) w = w << 8 | byte();
    return w;
  }
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

bool valid_utf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t n = report::utf8_sequence_length(s, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

void fail(const char* what, const std::string& text) {
  std::fprintf(stderr, "fuzz_writers: %s\n%s\n", what, text.substr(0, 4000).c_str());
  std::abort();
}

statistics::ShellRow shell(Bytes& b) {
  statistics::ShellRow r;
  r.d_max = b.real();
  r.d_min = b.real();
  r.n_obs = b.count();
  r.n_unique = b.count();
  r.multiplicity = b.real();
  r.completeness = b.real();
  r.dac_completeness = b.real();
  r.n_possible = b.count();
  r.n_accessible = b.count();
  r.n_unique_accessible = b.count();
  r.i_over_sigma = b.real();
  r.r_int = b.real();
  r.r_sigma = b.real();
  r.r_meas = b.real();
  r.r_pim = b.real();
  r.cc_half = b.real();
  r.chi2 = b.real();
  return r;
}

// The symmetry found from the data, with arbitrary figures and texts; `blank` a copy with every
// text empty (the operator of a reindexing kept: it decides whether a paragraph is written).
void symmetry_analysis_of(Bytes& b, symmetry_analysis::Analysis& a,
                          symmetry_analysis::Analysis& blank) {
  namespace sa = symmetry_analysis;
  auto figures = [&b] {
    return sa::ClassFigures{static_cast<int>(b.count()), static_cast<int>(b.count()), b.real(),
                            b.real()};
  };
  a.reason = b.text();
  a.n_measurements = static_cast<int>(b.count());
  a.n_unique = static_cast<int>(b.count());
  for (double& v : a.crystal.cell) v = b.real();
  a.reindexing = b.byte() & 1 ? b.text() : std::string();
  a.centring.all = figures();
  for (int n = b.byte() % 9; n > 0; --n)
    a.centring.rows.push_back({b.text(), figures(), static_cast<bool>(b.byte() & 1)});
  a.centring.chosen = b.text();
  a.lattice.proper.resize(b.byte() % 8);
  a.lattice.highest = {b.text(), b.text(), {}};
  a.lattice.lattice_beyond_settings = b.byte() & 1;
  for (int n = b.byte() % 4; n > 0; --n) a.lattice.candidates.push_back({b.text(), b.text(), {}});
  a.elements.n_identity_pairs = static_cast<int>(b.count());
  a.elements.cc_identity = b.real();
  a.elements.n_friedel_pairs = static_cast<int>(b.count());
  a.elements.cc_friedel = b.real();
  a.elements.cc_expected = b.real();
  for (int n = b.byte() % 6; n > 0; --n) {
    sa::ElementScore e;
    e.order = b.byte();
    e.axis = {b.byte() - 128, b.byte() - 128, b.byte() - 128};
    e.n_pairs = static_cast<int>(b.count());
    e.cc = b.real();
    e.likelihood = b.real();
    a.elements.elements.push_back(e);
  }
  for (int n = b.byte() % 4; n > 0; --n) {
    sa::LaueRow r;
    r.candidate = {b.text(), b.text(), {}};
    r.probability = b.real();
    a.laue.push_back(r);
  }
  for (int n = b.byte() % 4; n > 0; --n)
    a.space_groups.conditions.push_back({b.text(), static_cast<int>(b.count()), figures()});
  for (int n = b.byte() % 5; n > 0; --n) {
    sa::SpaceGroupRow r;
    r.symbol = b.text();
    r.number = static_cast<int>(b.count());
    r.probability = b.real();
    for (int t = b.byte() % 3; t > 0; --t) r.ties.push_back(b.text());
    r.absent = figures();
    a.space_groups.rows.push_back(r);
  }
  // The analysis gives probabilities in [0, 1]; the closing line prints the first one.
  if (!a.space_groups.rows.empty()) {
    double& p = a.space_groups.rows.front().probability;
    p = std::isfinite(p) ? std::fabs(std::fmod(p, 1.0)) : 0.0;
  }
  a.determinable = (b.byte() & 1) && !a.space_groups.rows.empty();
  auto& st = a.statistics;
  st.n_general = static_cast<int>(b.count());
  st.n_used = static_cast<int>(b.count());
  st.reliable = b.byte() & 1;
  st.mean_abs_e2_minus_1 = b.real();
  st.second_moment = b.real();
  for (double& v : st.nz) v = b.real();
  st.n_l_pairs = static_cast<int>(b.count());
  st.mean_abs_l = b.real();
  for (double& v : st.nl) v = b.real();
  for (int n = b.byte() % 12; n > 0; --n)
    st.wilson.push_back({b.real(), b.real(), static_cast<int>(b.count())});
  st.wilson_b = b.real();
  st.twinning_suspected = b.byte() & 1;
  if (b.byte() & 1) st.centrosymmetric_likely = static_cast<bool>(b.byte() & 1);

  blank = a;
  blank.reason.clear();
  for (auto& r : blank.centring.rows) r.name.clear();
  blank.centring.chosen.clear();
  blank.lattice.highest = {};
  for (auto& c : blank.lattice.candidates) c = {};
  for (auto& r : blank.laue) r.candidate = {};
  for (auto& c : blank.space_groups.conditions) c.op.clear();
  for (auto& r : blank.space_groups.rows) {
    r.symbol.clear();
    for (auto& t : r.ties) t.clear();
  }
}

std::size_t count_char(const std::string& s, char c) {
  std::size_t n = 0;
  for (char x : s) n += x == c ? 1 : 0;
  return n;
}

// The numeric items of the fragment: each must hold a number, or "?" / ".".
bool numeric_item(const std::string& tag) {
  return tag.rfind("_diffrn_reflns_limit_", 0) == 0 || tag == "_diffrn_reflns_number" ||
         tag.rfind("_diffrn_reflns_theta_", 0) == 0 ||
         tag.rfind("_diffrn_measured_fraction_", 0) == 0 || tag.find("_fraction_") != std::string::npos ||
         tag == "_reflns_Friedel_coverage" || tag == "_diffrn_reflns_av_R_equivalents" ||
         tag == "_diffrn_reflns_av_unetI/netI" || tag == "_reflns_number_total" ||
         tag == "_reflns_number_gt";
}

bool cif_number(const std::string& v) {
  if (v == "?" || v == ".") return true;
  std::size_t i = 0;
  if (i < v.size() && (v[i] == '-' || v[i] == '+')) ++i;
  bool digits = false;
  while (i < v.size() && v[i] >= '0' && v[i] <= '9') ++i, digits = true;
  if (i < v.size() && v[i] == '.') {
    ++i;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9') ++i, digits = true;
  }
  return digits && i == v.size();
}

// A value of CIF 1.1: bare (no blank, not starting with a quote, "_", "#", "$", "[" or "]"),
// or quoted with ' or " (the closing quote followed by a blank or the end of the line).
bool cif_value(const std::string& v) {
  if (v.empty()) return false;
  if (v[0] == '\'' || v[0] == '"') {
    const auto close = v.find(v[0], 1);
    return close != std::string::npos && close + 1 >= v.find_last_not_of(' ') + 1;
  }
  if (std::strchr("_#$[]", v[0]) != nullptr) return false;
  return v.find(' ') == std::string::npos;
}

void check_cif(const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  bool in_text = false;
  bool value_due = false;  // a data name alone on its line: a text field follows
  int numbers = 0;
  while (std::getline(lines, line)) {
    for (char c : line)
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t') fail("control character", text);
    if (!line.empty() && line[0] == ';') {
      if (!in_text && !value_due) fail("text field without a data name", text);
      in_text = !in_text;
      value_due = false;
      continue;
    }
    if (in_text) continue;
    const auto first = line.find_first_not_of(' ');
    if (first == std::string::npos || line[first] == '#') continue;
    if (value_due || line[first] != '_') fail(("not a data item: " + line).c_str(), text);
    const auto end_name = line.find(' ', first);
    const std::string name = line.substr(first, end_name - first);
    const auto value_at = end_name == std::string::npos ? std::string::npos
                                                        : line.find_first_not_of(' ', end_name);
    if (value_at == std::string::npos) {
      value_due = true;
      continue;
    }
    const std::string value = line.substr(value_at);
    if (!cif_value(value)) fail(("not a CIF value: " + line).c_str(), text);
    if (numeric_item(name)) {
      ++numbers;
      std::string bare = value.substr(0, value.find_last_not_of(' ') + 1);
      if (!cif_number(bare)) fail(("not a number: " + line).c_str(), text);
    }
  }
  if (in_text || value_due) fail("text field not closed", text);
  if (numbers < 20) fail("numeric items missing", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes b(data, size);
  statistics::Statistics st;
  const std::uint8_t flags = b.byte();
  st.has_shells = flags & 1;
  st.has_dac = flags & 2;
  st.no_shells_reason = b.text();
  for (int n = b.byte() % 12; n > 0; --n) st.shells.push_back(shell(b));
  st.overall = shell(b);
  for (int n = b.byte() % 8; n > 0; --n)
    st.batches.push_back({static_cast<std::int32_t>(b.count()), b.count(), b.real(), b.real(),
                          b.count(), b.count()});
  st.normal_probability.slope = b.real();
  st.normal_probability.intercept = b.real();
  for (int n = b.byte() % 16; n > 0; --n) {
    st.normal_probability.expected.push_back(b.real());
    st.normal_probability.observed.push_back(b.real());
  }
  // Up to a few thousand set sizes: the chart gathers them into a few hundred bars.
  st.set_size_histogram.resize(static_cast<std::size_t>(b.byte()) * 16);
  for (auto& v : st.set_size_histogram) v = b.byte();
  st.rejections = {b.count(), b.count(), b.count(), b.count(), b.count(), b.count(), b.count()};

  report::RunFigures f;
  f.title = b.text();
  f.wavelength = b.real();
  f.reflections_read = static_cast<long>(b.count());
  f.sets = static_cast<long>(b.count());
  f.singlets = static_cast<long>(b.count());
  f.r_int_all = b.real();
  f.r_sigma_all = b.real();
  f.r_known = flags & 4;
  f.completeness_max = b.real();
  f.completeness_full = b.real();
  f.dac_opening = b.real();
  for (int n = b.byte() % 4; n > 0; --n) f.warnings.push_back(b.text());
  f.print_file = b.text();
  f.output_file = b.text();
  f.cif_file = b.text();
  symmetry_analysis::Analysis analysis, analysis_blank;
  if (flags & 64) {
    symmetry_analysis_of(b, analysis, analysis_blank);
    f.symmetry = std::make_shared<const symmetry_analysis::Analysis>(analysis);
  }

  // The JSON parses back.
  const std::string json = report::stats_json(st, f);
  if (!nlohmann::json::accept(json)) fail("JSON does not parse", json);

  // The HTML: valid UTF-8, and the texts bring no "<" of their own (the same page with every
  // text empty has as many).
  const std::string html = report::html_report(st, f);
  if (!valid_utf8(html)) fail("HTML is not UTF-8", html);
  report::RunFigures blank = f;
  blank.title.clear();
  for (auto& w : blank.warnings) w.clear();
  blank.print_file.clear();
  blank.output_file.clear();
  blank.cif_file.clear();
  if (f.symmetry) blank.symmetry = std::make_shared<const symmetry_analysis::Analysis>(analysis_blank);
  statistics::Statistics plain = st;
  plain.no_shells_reason.clear();
  if (count_char(html, '<') != count_char(report::html_report(plain, blank), '<'))
    fail("a text added markup to the HTML", html);
  if (f.symmetry) {
    std::string section = report::symmetry_section(analysis_blank);
    for (char& c : section) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (section.find("nan") != std::string::npos || section.find("inf") != std::string::npos)
      fail("a figure that is not a number in the Symmetry section", section);
  }

  // The ledger: the header's number of fields on every row (a text field never splits).
  run::ReflectionList list;
  expfile::RunControls ctl;
  ctl.LTHRESH = static_cast<float>(b.real());
  for (int s = b.byte() % 6; s > 0; --s) {
    run::EquivSet set;
    set.first = static_cast<std::uint32_t>(list.members.size());
    set.NEQ = 1 + b.byte() % 4;
    set.FAVE = static_cast<float>(b.real());
    set.SIGAVE = static_cast<float>(b.real());
    set.IABS = b.byte() % 4;
    set.IGT = b.byte() & 1;
    for (int m = 0; m < set.NEQ; ++m) {
      run::Member mem;
      mem.IHKL = run::Indices(b.byte() - 128, b.byte() - 128, b.byte() - 128);
      mem.hkl_read = mem.IHKL;
      mem.batch = static_cast<std::int16_t>(b.count());
      mem.IREJ = static_cast<std::int8_t>(b.byte() % 3);
      mem.FSQ = static_cast<float>(b.real());
      mem.SIGFSQ = static_cast<float>(b.real());
      mem.REFANG[0] = static_cast<float>(b.real());
      mem.line = static_cast<std::uint32_t>(b.count());
      list.members.push_back(mem);
    }
    list.sets.push_back(set);
  }
  const std::string csv = report::rejection_ledger(list, ctl);
  std::istringstream rows(csv);
  std::string row;
  const std::size_t fields = count_char(report::LEDGER_HEADER, ',');
  while (std::getline(rows, row))
    if (count_char(row, ',') != fields) fail("CSV row of another width", csv);

  // The CIF fragment, through the writer a run uses, into a folder of its own.
  static const std::filesystem::path folder = [] {
    auto p = std::filesystem::temp_directory_path() / ("fuzz_writers_" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    return p;
  }();
  run::RunState rs;
  auto print = std::make_unique<std::ostringstream>();
  rs.files.print_stream = std::move(print);
  rs.files.print.open(*rs.files.print_stream);
  rs.files.IPRTOPEN = 1;
  rs.files.paths[run::OUTPUT - 1] = folder / "fuzz.hkl";
  rs.files.FNAME[run::OUTPUT - 1] = "fuzz.hkl";
  rs.ctl.LTHRESH = ctl.LTHRESH;
  rs.res.RINT_ALL = static_cast<float>(f.r_int_all);
  rs.res.RSIG_ALL = static_cast<float>(f.r_sigma_all);
  rs.res.rint_known = f.r_known && std::isfinite(rs.res.RINT_ALL) && std::isfinite(rs.res.RSIG_ALL);
  rs.stats = st;
  averaging::DataFigures fig;
  fig.reflections = static_cast<int>(b.count());
  for (int k = 0; k < 3; ++k) {
    fig.hkl_min[static_cast<std::size_t>(k)] = static_cast<int>(b.count()) - 100000;
    fig.hkl_max[static_cast<std::size_t>(k)] = static_cast<int>(b.count());
  }
  fig.theta_known = flags & 8;
  fig.theta_min = static_cast<float>(b.byte()) / 3.0f;
  fig.theta_max = static_cast<float>(b.byte()) / 1.5f;
  fig.theta_full = fig.theta_max;
  fig.lines_total = static_cast<int>(b.count());
  fig.lines_gt = static_cast<int>(b.count());
  fig.completeness_known = flags & 16;
  fig.centrosymmetric = flags & 32;
  for (averaging::Coverage* c : {&fig.laue_max, &fig.laue_full, &fig.point_group_max,
                                 &fig.point_group_full, &fig.friedel_max, &fig.friedel_full}) {
    c->possible = static_cast<int>(b.count());
    c->measured = static_cast<int>(b.count());
  }
  // Only finite, non-negative figures reach the CIF as numbers in a run (NaN R values are
  // "cannot be formed"); the threshold is a card's value, finite.
  if (!std::isfinite(rs.ctl.LTHRESH)) rs.ctl.LTHRESH = 2.0f;
  output::CREATE_CIF_VORLANE(rs, fig);
  if (rs.res.cif_written) {
    const std::filesystem::path cif = folder / "fuzz_vorlane.cif";
    if (!rs.files.staged.commit().empty()) fail("CIF not put in place", "");
    std::ifstream in(cif, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    check_cif(text);
    std::filesystem::remove(cif);
  }
  return 0;
}
