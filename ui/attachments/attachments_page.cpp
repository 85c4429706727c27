#include "ui/attachments/attachments_page.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QLocale>
#include <QMimeData>
#include <QVBoxLayout>

#include "core/attachments/attachment_store.h"
#include "core/base/messages.h"
#include "core/sync/backups.h"
#include "ui/attachments/attach_files.h"
#include "ui/attachments/attachment_preview.h"
#include "ui/base/desktop_services.h"
#include "ui/base/paylark_app.h"
#include "ui/widgets/styled_button.h"

namespace paylark {
namespace {

StyledButton* MakeButton(const QString& caption, const QString& name) {
  auto* button = new StyledButton(caption);
  button->setObjectName(name);
  button->SetStyleBorder(3);
  button->ShowText(true);
  return button;
}

QString Text(const Message& message) {
  return QString::fromStdString(MessageText(message));
}

}  // namespace

AttachmentsPage::AttachmentsPage(PaylarkApp& app, QWidget* parent)
    : QWidget(parent),
      app_(app),
      list_(new QListWidget),
      open_(MakeButton(QStringLiteral("Open"), QStringLiteral("open"))),
      remove_(MakeButton(QStringLiteral("Remove"), QStringLiteral("remove"))),
      preview_(new AttachmentPreview) {
  setAcceptDrops(true);
  list_->setObjectName(QStringLiteral("attachments"));
  list_->setAccessibleName(QStringLiteral("Attachments"));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  StyledButton* add = MakeButton(QStringLiteral("Add…"), QStringLiteral("add"));
  connect(add, &QPushButton::clicked, this, &AttachmentsPage::ChooseFiles);
  connect(open_, &QPushButton::clicked, this, &AttachmentsPage::OpenSelected);
  connect(remove_, &QPushButton::clicked, this, &AttachmentsPage::RemoveSelected);
  connect(list_, &QListWidget::itemActivated, this, &AttachmentsPage::OpenSelected);
  connect(list_, &QListWidget::currentRowChanged, this, &AttachmentsPage::SelectionChanged);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(add);
  buttons->addWidget(open_);
  buttons->addWidget(remove_);
  buttons->addStretch(1);
  auto* left = new QVBoxLayout;
  left->addWidget(list_, 1);
  left->addLayout(buttons);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addWidget(preview_);
  SelectionChanged();
}

void AttachmentsPage::SetRecordId(std::string recordId) {
  recordId_ = std::move(recordId);
  Refresh();
}

void AttachmentsPage::Refresh(const QString& select) {
  list_->clear();
  const AttachmentStore attachments(app_.store().files(), app_.workingDirectory());
  const Result<std::vector<Attachment>> listed = attachments.List(recordId_);
  if (!listed.ok()) {
    auto* item = new QListWidgetItem(QString::fromStdString(listed.status().message()), list_);
    item->setFlags(Qt::NoItemFlags);
    SelectionChanged();
    return;
  }
  const QLocale locale;
  for (const Attachment& attachment : listed.value()) {
    const QString name = QString::fromStdString(attachment.name);
    auto* item = new QListWidgetItem(
        name + QStringLiteral("  (") +
            locale.formattedDataSize(static_cast<qint64>(attachment.size)) + QStringLiteral(")"),
        list_);
    item->setData(Qt::UserRole, name);
    if (name == select)
      list_->setCurrentItem(item);
  }
  if (!list_->currentItem() && list_->count() > 0)
    list_->setCurrentRow(0);
  SelectionChanged();
}

QString AttachmentsPage::SelectedName() const {
  const QListWidgetItem* item = list_->currentItem();
  return item ? item->data(Qt::UserRole).toString() : QString();
}

void AttachmentsPage::SelectionChanged() {
  const QString name = SelectedName();
  open_->setEnabled(!name.isEmpty());
  remove_->setEnabled(!name.isEmpty());
  const AttachmentStore attachments(app_.store().files(), app_.workingDirectory());
  preview_->Show(name.isEmpty()
                     ? QString()
                     : QString::fromStdString(attachments.PathOf(recordId_, name.toStdString())));
}

void AttachmentsPage::AddFiles(const QStringList& paths) {
  if (paths.isEmpty())
    return;
  const QStringList kept = AttachFiles(app_, this, recordId_, paths);
  Refresh(kept.isEmpty() ? SelectedName() : kept.last());
  if (!kept.isEmpty())
    emit AttachmentsChanged();
}

void AttachmentsPage::ChooseFiles() {
  const QString path = app_.desktop().ChooseOpenPath(
      this, QStringLiteral("Attach a File"), QStringLiteral("All Files (*)"), QDir::homePath());
  if (!path.isEmpty())
    AddFiles({path});
}

void AttachmentsPage::OpenSelected() {
  const QString name = SelectedName();
  if (name.isEmpty())
    return;
  const AttachmentStore attachments(app_.store().files(), app_.workingDirectory());
  const QString path = QString::fromStdString(attachments.PathOf(recordId_, name.toStdString()));
  DesktopServices& desktop = app_.desktop();
  if (desktop.CanOpen(path) && desktop.OpenFile(path))
    return;
  const std::string folder = QFileInfo(path).absolutePath().toStdString();
  app_.prompt().Tell(this, Text(Message{MessageId::kNoProgramOpens, name.toStdString(), 0, folder}),
                     PromptIcon::kInformation);
}

void AttachmentsPage::RemoveSelected() {
  const QString name = SelectedName();
  if (name.isEmpty())
    return;
  if (app_.prompt().Ask(
          this, Text(Message{MessageId::kConfirmRemoveAttachment, name.toStdString(), 0, {}}),
          PromptButtons::kYesNo) != PromptAnswer::kYes) {
    return;
  }
  AttachmentStore attachments(app_.store().files(), app_.workingDirectory());
  const Status status =
      attachments.Remove(recordId_, name.toStdString(), BackupsFolder(app_.workingDirectory()));
  if (!status.ok()) {
    app_.prompt().Tell(this,
                       Text(Message{MessageId::kAttachmentRemoveFailed, {}, 0, status.message()}),
                       PromptIcon::kWarning);
  }
  Refresh();
  emit AttachmentsChanged();
}

void AttachmentsPage::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFiles(event->mimeData()->urls()).isEmpty())
    event->acceptProposedAction();
}

void AttachmentsPage::dragMoveEvent(QDragMoveEvent* event) {
  if (!LocalFiles(event->mimeData()->urls()).isEmpty())
    event->acceptProposedAction();
}

void AttachmentsPage::dropEvent(QDropEvent* event) {
  const QStringList paths = LocalFiles(event->mimeData()->urls());
  if (paths.isEmpty())
    return;
  event->acceptProposedAction();
  AddFiles(paths);
}

}  // namespace paylark
