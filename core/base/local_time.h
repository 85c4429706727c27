#pragma once

#include <ctime>

#include "core/base/ole_date_time.h"

namespace paylark {

// The date and time as the C library's broken-down time, weekday included.
std::tm ToTm(const OleDateTime& dateTime);

// The local wall-clock date and time as a point in time, by the process's time zone (which
// decides whether daylight saving time applies).
std::time_t LocalToTimeT(const OleDateTime& local);

}  // namespace paylark
