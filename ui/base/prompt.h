#pragma once

#include <QString>

#include "core/base/status.h"

class QWidget;

namespace paylark {

// kOpenShowClose: "Open" (the default), "Show in Folder" and "Close", after a file was written.
// kKeepMineTakeTheirs: "Keep Mine" answers kYes, "Take Theirs" kNo.
// kSeriesScope: "This due only" (the default) answers kNo, "This and later dues" kFromHere, "The
// whole series" kYes, Cancel kCancel.
enum class PromptButtons {
  kOk,
  kYesNo,
  kYesNoCancel,
  kOpenShowClose,
  kKeepMineTakeTheirs,
  kSeriesScope
};
enum class PromptAnswer { kOk, kYes, kNo, kCancel, kOpen, kShowInFolder, kFromHere };
enum class PromptIcon { kNone, kInformation, kWarning };

// Every message box of the window goes through a Prompt, so tests answer the questions without
// running a modal loop. The answer to a closed box is kCancel (kNo for Yes/No, kOk for OK).
class Prompt {
 public:
  virtual ~Prompt() = default;
  virtual PromptAnswer Ask(QWidget* parent, const QString& text, PromptButtons buttons,
                           PromptIcon icon = PromptIcon::kNone) = 0;

  // An OK box: the user can only acknowledge it.
  void Tell(QWidget* parent, const QString& text, PromptIcon icon = PromptIcon::kNone) {
    (void)Ask(parent, text, PromptButtons::kOk, icon);
  }
  // A warning with the failure's message, when `status` is one.
  void TellIfFailed(QWidget* parent, const Status& status) {
    if (!status.ok())
      Tell(parent, QString::fromStdString(status.message()), PromptIcon::kWarning);
  }
};

}  // namespace paylark
