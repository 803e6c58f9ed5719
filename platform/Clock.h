#pragma once

namespace platform {

struct LocalTime {
    int year;
    int month;   // 1 to 12
    int day;     // 1 to 31
    int hour;
    int minute;
    int second;
    int millisecond;
};

LocalTime CurrentLocalTime();

}  // namespace platform
