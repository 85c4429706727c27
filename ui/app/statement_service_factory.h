#pragma once

#include "ui/statements/statement_services.h"

namespace paylark {

class PaylarkApp;

// The statement core over the application's working directory: its files, its dues and its
// balance entries. The application object must outlive what this returns.
StatementServices MakeStatementServices(PaylarkApp& app);

}  // namespace paylark
