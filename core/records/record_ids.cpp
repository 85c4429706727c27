#include "core/records/record_ids.h"

#include <algorithm>
#include <cstdio>

namespace paylark {
namespace {

constexpr int kLastMemberSuffix = 99;

std::string FormatStamp(std::int64_t linearSecond) {
  const CivilDateTime c =
      OleDateTime::FromLinearSeconds(linearSecond).value_or(OleDateTime()).ToCivil();
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", c.year, c.month, c.day, c.hour,
                c.minute, c.second);
  return text;
}

}  // namespace

std::string RecordIds::NextRecordId(int suffix, const Refuses& taken) {
  char suffixText[16];
  std::snprintf(suffixText, sizeof suffixText, "%02d", suffix);
  recordSecond_ = std::max(recordSecond_, clock_.Now().LinearSeconds());
  for (;; ++recordSecond_) {
    std::string id = FormatStamp(recordSecond_) + suffixText;
    if (!taken(id))
      return id;
  }
}

int RecordIds::NextMemberSuffix() {
  const int suffix = ++memberCounter_;
  if (memberCounter_ == kLastMemberSuffix)
    memberCounter_ = 0;
  return suffix;
}

std::string RecordIds::NextSeriesId(const Refuses& taken) {
  seriesSecond_ = std::max(seriesSecond_, clock_.Now().LinearSeconds());
  for (;; ++seriesSecond_) {
    std::string id = "recId" + FormatStamp(seriesSecond_);
    if (!taken(id))
      return id;
  }
}

}  // namespace paylark
