// Dates as the disc formats write them: civil fields from seconds since 1970, in UTC.
#pragma once
#include <algorithm>
#include <cmath>

namespace vk {

struct Civil {
    int year, month, day, hour, minute, second;
};

// The civil date of a time in seconds from 1970, in UTC (from the days since 0000-03-01).
inline Civil ToCivil(long long t) {
    // What the short form holds: 1900 to 2155.
    t = std::clamp(t, -2208988800LL, 5869583999LL);
    // The day by floating point: exact in this range, and no 64-bit division in the program.
    const int days = static_cast<int>(std::floor(static_cast<double>(t) / 86400)) + 719468;
    const int secs = static_cast<int>(t - (days - 719468) * 86400LL);
    const int era = days / 146097; // days stay positive after 1900
    const int doe = days - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int month = mp < 10 ? mp + 3 : mp - 9;
    return {
        yoe + era * 400 + (month <= 2), month, doy - (153 * mp + 2) / 5 + 1, secs / 3600, secs / 60 % 60, secs % 60};
}

} // namespace vk
