#include "core/base/local_time.h"

namespace paylark {

std::tm ToTm(const OleDateTime& dateTime) {
  const CivilDateTime c = dateTime.ToCivil();
  std::tm tm{};
  tm.tm_year = c.year - 1900;
  tm.tm_mon = c.month - 1;
  tm.tm_mday = c.day;
  tm.tm_hour = c.hour;
  tm.tm_min = c.minute;
  tm.tm_sec = c.second;
  tm.tm_wday = c.dayOfWeek - 1;
  return tm;
}

std::time_t LocalToTimeT(const OleDateTime& local) {
  std::tm tm = ToTm(local);
  tm.tm_isdst = -1;
  return std::mktime(&tm);
}

}  // namespace paylark
