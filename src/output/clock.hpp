#pragma once
// The local date and time for the run line of the print file, from a clock that a test (or a
// front end) can replace, so that a listing can be reproduced exactly.
#include <functional>

namespace vorlane::output {

struct LocalTime {
  int year = 1970;
  int month = 1;    // 1 = January
  int day = 1;      // day of the month
  int hour = 0;
  int minute = 0;
  int second = 0;
  int weekday = 4;  // 0 = Sunday
};

// The system clock read in the local time zone.
LocalTime system_local_time();

// Composed into the run state as `clock`; empty means the system clock.
struct Clock {
  std::function<LocalTime()> now;
};

}  // namespace vorlane::output
