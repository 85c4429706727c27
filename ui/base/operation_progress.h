#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <memory>

#include "core/base/messages.h"
#include "core/base/progress.h"

class QProgressDialog;
class QWidget;

namespace paylark {

// The progress of a many-record operation (creating, saving or deleting a long series): from
// kShownFrom records on, a window-modal progress dialog over parent counts them ("Deleting dues:
// 1200 of 3000"), and the windows go on repainting while the operation runs. Smaller operations
// show nothing. The dialog closes with the guard.
class OperationProgress final {
 public:
  // About half a second of writing or removing record files.
  static constexpr std::size_t kShownFrom = 250;

  // Reading this many record files takes about half a second even at the disk's pace.
  static constexpr std::size_t kLoadingShownFrom = 20'000;

  // label: kProgressCreating, kProgressSaving, kProgressDeleting or kProgressLoading.
  OperationProgress(QWidget* parent, MessageId label, std::size_t shownFrom = kShownFrom);
  ~OperationProgress();
  OperationProgress(const OperationProgress&) = delete;
  OperationProgress& operator=(const OperationProgress&) = delete;

  // What the core operation reports to; valid while the guard lives.
  Progress Reporter();

 private:
  void Update(std::size_t done, std::size_t total);

  QPointer<QWidget> parent_;
  MessageId label_;
  std::size_t shownFrom_;
  std::unique_ptr<QProgressDialog> dialog_;
  QElapsedTimer sinceUpdate_;
};

}  // namespace paylark
