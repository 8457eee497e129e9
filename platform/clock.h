// The local time of day, for names that say when a file was made.
#pragma once

namespace platform {

struct LocalTime {
  int year = 0;    // four digits
  int month = 0;   // 1 to 12
  int day = 0;     // 1 to 31
  int hour = 0;    // 0 to 23
  int minute = 0;  // 0 to 59
  int second = 0;  // 0 to 59 (60 in a leap second)
};

// Now, in the time zone the user's system is set to.
LocalTime LocalTimeNow();

}  // namespace platform
