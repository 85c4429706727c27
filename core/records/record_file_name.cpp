#include "core/records/record_file_name.h"

#include "core/records/record_codec.h"

namespace paylark {
namespace {

constexpr std::string_view kFilePrefix = "duedate";
constexpr std::string_view kFileSuffix = ".due";

}  // namespace

// One allocation: a load names a million of them.
std::string RecordFileName(std::string_view recordId) {
  const std::string_view trimmed = TrimmedRecordId(recordId);
  std::string name;
  name.reserve(kFilePrefix.size() + trimmed.size() + kFileSuffix.size());
  name.append(kFilePrefix).append(trimmed).append(kFileSuffix);
  return name;
}

bool IsNamedAfter(std::string_view fileName, std::string_view recordId) {
  const std::string_view trimmed = TrimmedRecordId(recordId);
  return fileName.size() == kFilePrefix.size() + trimmed.size() + kFileSuffix.size() &&
         fileName.starts_with(kFilePrefix) && fileName.ends_with(kFileSuffix) &&
         fileName.substr(kFilePrefix.size(), trimmed.size()) == trimmed;
}

}  // namespace paylark
