#include "output/write_one_reflection.hpp"

#include <cmath>

#include "output/dynamic_ft.hpp"
#include "records/record_buffer.hpp"
#include "run/messages.hpp"

namespace vorlane::output {

namespace {

constexpr std::size_t BLOCK = 1 << 16;

void put_records(run::RunState& rs, ReflectionRecordLayouts& layouts) {
  if (layouts.pending().size() >= BLOCK) flush_records(rs, layouts);
}

void overflow(run::RunState& rs, ReflectionRecordLayouts& layouts, int& ISTAT) {
  if (layouts.holding_warnings()) {
    layouts.hold_warning();
  } else {
    run::warn(rs, OVERFLOW_WARNING);
  }
  ISTAT = 0;
}

}  // namespace

void WRITE_ONE_REFLECTION(run::RunState& rs, ReflectionRecordLayouts& layouts,
                          const std::array<int, 3>& H, float FSQ, float& SIG, float AUX,
                          int IFLAG, const std::array<float, 4>& ANG, int ISEQ, int& ISTAT) {
  ISTAT = 0;
  int d1 = 0;
  int d2 = 0;
  int iover = 0;
  if (rs.files.OUTFMT == 0) {
    // Zezor files carry the amplitude F and its sigma; a zero or negative intensity has no
    // amplitude and is written as F = 0 with unit sigma.
    float f = 0.0f;
    float sigf = 1.0f;
    if (FSQ > 0.0f) {
      f = std::sqrt(FSQ);
      sigf = SIG / 2.0f / f;
    }
    DYNAMIC_FT(ReflectionRecordLayouts::ZEZOR_F_WIDTH, f, d1, iover);
    if (iover != 0) return overflow(rs, layouts, ISTAT);
    DYNAMIC_FT(ReflectionRecordLayouts::ZEZOR_SIG_WIDTH, sigf, d2, iover);
    if (iover != 0) {
      d2 = 0;
      sigf = 9999.0f;
      SIG = sigf;
    }
    const records::Value values[] = {H[0],   H[1],   H[2],   f,      sigf, AUX,
                                     IFLAG, ANG[0], ANG[1], ANG[2], ANG[3], ISEQ};
    records::append_record_lines(layouts.zezor(d1, d2), values, layouts.pending());
  } else {
    DYNAMIC_FT(ReflectionRecordLayouts::SHELX_WIDTH, FSQ, d1, iover);
    if (iover != 0) return overflow(rs, layouts, ISTAT);
    DYNAMIC_FT(ReflectionRecordLayouts::SHELX_WIDTH, SIG, d2, iover);
    if (iover != 0) {
      d2 = 0;
      SIG = 999999.0f;
    }
    const records::Value values[] = {H[0], H[1], H[2], FSQ, SIG};
    records::append_record_lines(layouts.shelx(d1, d2), values, layouts.pending());
  }
  put_records(rs, layouts);
  ISTAT = 1;
}

void flush_records(run::RunState& rs, ReflectionRecordLayouts& layouts) {
  std::string& pending = layouts.pending();
  std::ostream* out = rs.files.out.get();
  if (out != nullptr && !pending.empty()) {
    out->write(pending.data(), static_cast<std::streamsize>(pending.size()));
  }
  pending.clear();
}

void WRITE_ONE_REFLECTION(run::RunState& rs, const std::array<int, 3>& H, float FSQ,
                          float& SIG, float AUX, int IFLAG, const std::array<float, 4>& ANG,
                          int ISEQ, int& ISTAT) {
  ReflectionRecordLayouts layouts;
  WRITE_ONE_REFLECTION(rs, layouts, H, FSQ, SIG, AUX, IFLAG, ANG, ISEQ, ISTAT);
  flush_records(rs, layouts);
}

}  // namespace vorlane::output
