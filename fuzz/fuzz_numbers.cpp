// libFuzzer target: the fixed-column and the free-format number readers. The first byte picks
// the field width and the implied decimals; the rest is the field, or the free-format list.
#include <cstdint>
#include <string_view>

#include "records/fixed_reader.hpp"
#include "records/free_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int decimals = data[0] & 15;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  int i = 0;
  float f = 0.0f;
  double d = 0.0;
  vorlane::records::read_I(text, i);
  vorlane::records::read_F(text, decimals, f);
  vorlane::records::read_F(text, decimals, d);
  // Free format: a list of mixed reads until the list ends.
  vorlane::records::FreeReader reader(text);
  for (int n = 0; n < 4096; ++n) {
    vorlane::records::ReadStatus st;
    switch (((data[0] >> 4) + n) % 3) {
      case 0: st = reader.read(i); break;
      case 1: st = reader.read(f); break;
      default: st = reader.read(d); break;
    }
    if (st != vorlane::records::ReadStatus::ok) break;
  }
  return 0;
}
