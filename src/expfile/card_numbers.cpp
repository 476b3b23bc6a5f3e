#include "expfile/card_numbers.hpp"

#include <cmath>

namespace vorlane::expfile {

namespace {
Got classify(records::ReadStatus status) {
  switch (status) {
    case records::ReadStatus::ok: return Got::value;
    case records::ReadStatus::end: return Got::missing;
    default: return Got::bad;
  }
}
}  // namespace

Got next_number(records::FreeReader& reader, float& value) {
  float v = value;
  const Got got = classify(reader.read(v));
  if (got != Got::value) return got;
  if (!std::isfinite(v)) return Got::infinite;
  value = v;
  return Got::value;
}

Got next_number(records::FreeReader& reader, int& value) {
  return classify(reader.read(value));
}

}  // namespace vorlane::expfile
