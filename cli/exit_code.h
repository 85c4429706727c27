#pragma once

namespace paylark::cli {

enum ExitCode : int {
  kExitSuccess = 0,
  kExitFailed = 1,   // the operation failed: missing working directory, unknown ID, I/O
  kExitInvalid = 2,  // invalid arguments or a validation failure
};

}  // namespace paylark::cli
