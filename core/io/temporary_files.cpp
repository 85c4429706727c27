#include "core/io/temporary_files.h"

#include <charconv>

namespace paylark {

int WriterOf(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix))
    return 0;
  name.remove_prefix(prefix.size());
  int processId = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), processId);
  if (error != std::errc() || end == name.data() || end == name.data() + name.size() ||
      (*end != '-' && *end != '.'))
    return 0;
  return processId;
}

bool WriterGone(const FileSystem& files, int writer) {
  return writer > 0 && writer != files.ProcessId() && !files.ProcessRunning(writer);
}

bool IsStaleTemporary(const FileSystem& files, int writer, std::int64_t ageSeconds) {
  return WriterGone(files, writer) || ageSeconds > kStaleTemporarySeconds;
}

}  // namespace paylark
