#pragma once

#include "ui/base/prompt.h"

namespace paylark {

// The real prompt: a modal QMessageBox titled "Paylark" with exactly the requested buttons.
class MessageBoxPrompt final : public Prompt {
 public:
  PromptAnswer Ask(QWidget* parent, const QString& text, PromptButtons buttons,
                   PromptIcon icon) override;
};

}  // namespace paylark
