// libFuzzer target: the SHELX and the Zezor record readers, every line of the input through
// both.
#include <cstdint>
#include <string_view>

#include "input/input_record.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view record = text.substr(start, end - start);
    vorlane::input::InputRecord r;
    vorlane::input::parse_shelx_record(record, r);
    vorlane::input::InputRecord z;
    vorlane::input::parse_zezor_record(record, z);
    start = end + 1;
  }
  return 0;
}
