#include "output/print_header.hpp"

#include <array>
#include <string>
#include <string_view>

#include "records/edit_list.hpp"
#include "run/version.hpp"

namespace vorlane::output {

namespace {

constexpr std::string_view kBanner =
    R"((1X,78("*"),/,3(" *",76X,"*",/),)"
    R"(" *",15X,"VORLANE PROGRAM - VERSION ",A4," OF OCTOBER-11 ",16X,"*",/,)"
    R"(" *",16X,A43,17X,"*",/,)"
    R"(3(" *",76X,"*",/),1X,78("*"),/,/))";

constexpr std::string_view kRunLine =
    R"((/,10X,"VORLANE RUN ON: ",A3,1X,A3,1X,I2,1X,I2.2,":",I2.2,":",I2.2,1X,I4,/,)"
    R"(10X,"EXPERIMENT FILE IS: ",A40,/))";

constexpr std::array<std::string_view, 7> kDays{"Sun", "Mon", "Tue", "Wed",
                                                "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

void PRINT_HEADER(run::RunState& rs) {
  PRINT_HEADER(rs, rs.clock.now ? rs.clock.now() : system_local_time());
}

void PRINT_HEADER(run::RunState& rs, const LocalTime& when) {
  auto& prt = rs.files.print;
  prt.put(records::EditList(kBanner), std::string_view(run::VERSION),
          std::string_view(BANNER_CREDIT));

  // The experiment file name as a blank-padded field: its first 40 characters.
  std::string name = rs.files.FNAME[0];
  name.resize(40, ' ');
  const auto day = kDays[static_cast<std::size_t>(((when.weekday % 7) + 7) % 7)];
  const auto month = kMonths[static_cast<std::size_t>(((when.month - 1) % 12 + 12) % 12)];
  prt.put(records::EditList(kRunLine), day, month, when.day, when.hour, when.minute,
          when.second, when.year, std::string_view(name));
}

}  // namespace vorlane::output
