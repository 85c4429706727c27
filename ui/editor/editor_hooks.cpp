#include "ui/editor/editor_hooks.h"

#include "ui/app/shell_hooks.h"
#include "ui/editor/modify_command.h"
#include "ui/editor/new_due_command.h"

namespace paylark {

void InstallEditorHooks(ShellHooks& hooks) {
  hooks.newDue = [](CPaylarkApp& app, QWidget* parent) { return NewDue(app, parent); };
  hooks.modifyDue = [](CPaylarkApp& app, QWidget* parent, const std::string& recordId) {
    return ModifyDue(app, parent, recordId);
  };
}

}  // namespace paylark
