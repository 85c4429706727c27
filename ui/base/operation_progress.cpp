#include "ui/base/operation_progress.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace paylark {
namespace {

// How often the dialog is brought up to date and the windows repaint.
constexpr qint64 kUpdateMilliseconds = 40;

}  // namespace

OperationProgress::OperationProgress(QWidget* parent, MessageId label, std::size_t shownFrom)
    : parent_(parent), label_(label), shownFrom_(shownFrom) {}

OperationProgress::~OperationProgress() = default;

Progress OperationProgress::Reporter() {
  return [this](std::size_t done, std::size_t total) { Update(done, total); };
}

void OperationProgress::Update(std::size_t done, std::size_t total) {
  if (!dialog_) {
    if (std::max(done, total) < shownFrom_)
      return;
    dialog_ = std::make_unique<QProgressDialog>(parent_.data());
    dialog_->setWindowTitle(QStringLiteral("Paylark"));
    dialog_->setWindowModality(parent_ ? Qt::WindowModal : Qt::ApplicationModal);
    dialog_->setCancelButton(nullptr);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setMinimumDuration(0);
    dialog_->setMinimumWidth(320);
    dialog_->show();
  } else if (done != total && sinceUpdate_.isValid() &&
             sinceUpdate_.elapsed() < kUpdateMilliseconds) {
    return;
  }
  sinceUpdate_.start();
  // An unknown total turns the bar into a busy indicator.
  dialog_->setMaximum(static_cast<int>(total));
  dialog_->setValue(total == 0 ? 0 : static_cast<int>(done));
  dialog_->setLabelText(QString::fromStdString(
      MessageText(Message{label_,
                          {},
                          static_cast<long long>(done),
                          total == 0 ? std::string() : std::to_string(total)})));
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace paylark
