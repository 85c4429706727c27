#include "ui/sync/empty_restore_question.h"

#include <QString>

#include "ui/base/prompt.h"

namespace paylark {

bool ConfirmRestoreOfEmptyBackup(Prompt& prompt, QWidget* parent, std::size_t currentDues) {
  if (currentDues == 0)
    return true;
  const QString text =
      QStringLiteral("This backup holds no dues. Restoring it removes all %1 dues.")
          .arg(static_cast<qulonglong>(currentDues));
  return prompt.Ask(parent, text, PromptButtons::kYesNo, PromptIcon::kWarning) ==
         PromptAnswer::kYes;
}

}  // namespace paylark
