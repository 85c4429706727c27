#pragma once

#include <cstdint>
#include <string_view>

#include "core/io/file_system.h"

namespace paylark {

// Paylark writes every file first under a temporary name, ".paylark-<process ID>-…", and renames
// it into place; a name left behind is a writer's that was stopped.
inline constexpr std::string_view kTempFilePrefix = ".paylark-";
// A temporary file this old is a leftover even when a process with its writer's ID runs.
inline constexpr std::int64_t kStaleTemporarySeconds = 3600;

// The process ID that `name` carries right after `prefix`, ended by "-" or "."; 0 when it carries
// none.
int WriterOf(std::string_view name, std::string_view prefix = kTempFilePrefix);
// The writer, when the name gave one, is another process that no longer runs.
bool WriterGone(const FileSystem& files, int writer);
// The one rule for every temporary file: stale once its writer is gone or once it is older than
// kStaleTemporarySeconds, whoever may run under its writer's ID by then.
bool IsStaleTemporary(const FileSystem& files, int writer, std::int64_t ageSeconds);

}  // namespace paylark
