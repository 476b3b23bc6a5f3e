#include "symmetry/syminv.hpp"

#include <cmath>
#include <string>

#include "records/program_stop.hpp"
#include "symmetry/trinv3.hpp"

namespace vorlane::symmetry {

void SYMINV(SpaceGroup& sg, int MODE, records::PrintFile& prt) {
  if (sg.IMATMODE == MODE) return;
  for (int k = 1; k <= sg.NSYMOP; ++k) {
    Mat3& r = sg.SYMROT[static_cast<std::size_t>(k - 1)];
    Mat3 probe = r;
    float d = 0.0f;
    TRINV3(probe, d);
    if (std::fabs(d) < 0.0001f) {
      const records::EditList layout("\" symmetry matrix number\",I4,\" is singular\"");
      prt.put(layout, k);
      const auto text = records::write_records(layout, std::vector<records::Value>{k});
      throw records::ProgramStop(text.empty() ? std::string() : text.front(), false);
    }
    // A reflection h (a row vector) goes to h·R under the operator; written as a column that
    // is the transpose of R times h. For an orthogonal R the transpose is the inverse, which
    // is the classic form; the trigonal and hexagonal matrices need the transpose itself.
    // The same swap brings the reflection form back to the position form.
    Mat3 t{};
    for (int i = 1; i <= 3; ++i) {
      for (int j = 1; j <= 3; ++j) elem(t, i, j) = elem(r, j, i);
    }
    r = t;
  }
  sg.IMATMODE = MODE;
}

}  // namespace vorlane::symmetry
