#pragma once

#include <QString>

#include "core/base/status.h"

namespace paylark {

// The first line of a file the user keeps a password or token in, where no secret service runs.
// Only a regular file that no one but its owner may read or write (mode 0600, or 0400) is read;
// any other is refused with what to do about it.
Result<QString> ReadSecretFile(const QString& path);

}  // namespace paylark
