#include "ui/shell/working_directory_dialog.h"

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSvgRenderer>

#include "core/base/messages.h"
#include "core/records/record_files.h"
#include "ui/base/desktop_services.h"
#include "ui/base/paylark_app.h"
#include "ui/base/prompt.h"
#include "ui/shell/help_sync.h"
#include "ui/widgets/display_style.h"
#include "ui/widgets/image_button.h"

namespace paylark {
namespace {

constexpr QSize kDialogSize(305, 265);
constexpr QSize kButtonSize(72, 26);

QString Text(MessageId id) {
  return QString::fromStdString(MessageText(id));
}

// The background picture, drawn under every control.
class Background final : public QWidget {
 public:
  explicit Background(QWidget* parent) : QWidget(parent) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), GuiDrawLayer::GetRGBColorFace(kDisplayStyle));
    QSvgRenderer image(QStringLiteral(":/icons/workdir-background.svg"));
    if (image.isValid())
      image.render(&painter, QRectF(rect()));
  }
};

}  // namespace

bool PathExists(const QString& path) {
  if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
    return false;
  struct stat info;
  return ::stat(path.toUtf8().constData(), &info) == 0;
}

QString WithoutRecordsFolder(const QString& path) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  const QByteArray last = path.mid(slash + 1).toUtf8();
  if (last != QByteArray(kRecordsFolderName.data(), kRecordsFolderName.size()))
    return path;
  return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

WorkingDirectoryDialog::WorkingDirectoryDialog(Prompt& prompt, DesktopServices& desktop,
                                               std::function<void()> help, QWidget* parent)
    : QDialog(parent), prompt_(prompt), desktop_(desktop), help_(std::move(help)) {
  setWindowTitle(QStringLiteral("Working Directory"));
  setFixedSize(kDialogSize);
  UseFaceBackground(*this);
  auto* background = new Background(this);
  background->setGeometry(rect());

  auto* caption = new QLabel(QStringLiteral("Working directory:"), this);
  caption->setGeometry(16, 82, 273, 20);

  field_ = new QLineEdit(this);
  field_->setReadOnly(true);
  field_->setAccessibleName(QStringLiteral("Working directory"));
  field_->setGeometry(16, 104, 195, 26);

  auto* browse = new ImageButton(QStringLiteral(":/icons/workdir-browse.svg"),
                                 QStringLiteral("Browse"), kButtonSize, this);
  browse->move(217, 104);
  auto* note = new QLabel(
      QStringLiteral("Your dues are kept in the folder \"Paylark Files\" inside it."), this);
  note->setGeometry(16, 136, 273, 36);
  note->setWordWrap(true);

  ok_ = new ImageButton(QStringLiteral(":/icons/workdir-ok.svg"), QStringLiteral("OK"), kButtonSize,
                        this);
  ok_->setEnabled(false);
  auto* cancel = new ImageButton(QStringLiteral(":/icons/workdir-cancel.svg"),
                                 QStringLiteral("Cancel"), kButtonSize, this);
  auto* helpButton = new ImageButton(QStringLiteral(":/icons/workdir-help.svg"),
                                     QStringLiteral("Help"), kButtonSize, this);
  ok_->move(24, 222);
  cancel->move(116, 222);
  helpButton->move(209, 222);

  connect(browse, &QAbstractButton::clicked, this, &WorkingDirectoryDialog::OnBrowse);
  connect(ok_, &QAbstractButton::clicked, this, &WorkingDirectoryDialog::accept);
  connect(cancel, &QAbstractButton::clicked, this, &WorkingDirectoryDialog::reject);
  connect(helpButton, &QAbstractButton::clicked, this, &WorkingDirectoryDialog::OnHelp);
  browse->setFocus();
}

void WorkingDirectoryDialog::SetPath(const QString& path) {
  path_ = path;
  field_->setText(path);
  ok_->setEnabled(!path_.isEmpty());
}

void WorkingDirectoryDialog::OnBrowse() {
  // The picker starts at the current working directory, else at home.
  const QString start = QFileInfo(path_).isDir() ? path_ : QDir::homePath();
  const QString chosen =
      desktop_.ChooseDirectory(nullptr, Text(MessageId::kPickDirectoryTitle), start);
  if (chosen.isEmpty())
    return;
  SetPath(WithoutRecordsFolder(chosen));
  if (!PathExists(path_)) {
    prompt_.Tell(this, Text(MessageId::kDirectoryNotFound));
    SetPath({});
  }
}

void WorkingDirectoryDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void WorkingDirectoryDialog::accept() {
  // Without a folder there is nothing to confirm: the dialog stays open (Cancel leaves it).
  if (path_.isEmpty())
    return;
  QDialog::accept();
}

QString AskForWorkingDirectory(PaylarkApp& app, const QString& initial) {
  QWidget* over = nullptr;  // the dialog, once it exists: help's messages stand over it
  WorkingDirectoryDialog dialog(app.prompt(), app.desktop(),
                                [&app, &over] { OpenHelp(app.desktop(), app.prompt(), over); });
  over = &dialog;
  dialog.SetPath(initial);
  if (dialog.exec() != QDialog::Accepted)
    return {};
  // A failure is left to the store's reads and writes to report.
  (void)RecordFolder(SystemFileSystem(), RecordsFolderPath(dialog.path().toStdString())).Create();
  return dialog.path();
}

}  // namespace paylark
