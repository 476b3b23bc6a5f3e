#include "symmetry/sincos.hpp"

#include <cmath>
#include <string>
#include <vector>

#include "records/program_stop.hpp"

namespace vorlane::symmetry {

void SINCOS(float& CS, float& SN, int LOC, records::PrintFile& prt) {
  const float a = std::fabs(CS);
  if (a - 0.0001f > 1.0f) {
    const records::EditList layout(
        "\" sin or cos greater than  unity, value is\",E12.4,\" loc =\",I5");
    const std::vector<records::Value> values{CS, LOC};
    prt.write(layout, values);
    const auto text = records::write_records(layout, values);
    throw records::ProgramStop(text.empty() ? std::string() : text.front(), false);
  }
  if (a >= 1.0f) {
    CS = CS > 0.0f ? 1.0f : -1.0f;
    SN = 0.0f;
    return;
  }
  SN = std::sqrt(1.0f - CS * CS);
}

}  // namespace vorlane::symmetry
