#pragma once

namespace paylark {

struct ShellHooks;

// Hands the window the New Due wizard and the series-aware Modify flow.
void InstallEditorHooks(ShellHooks& hooks);

}  // namespace paylark
