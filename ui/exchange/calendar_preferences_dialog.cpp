#include "ui/exchange/calendar_preferences_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace paylark {

CalendarPreferencesDialog::CalendarPreferencesDialog(bool keepFeed, const QString& feedPath,
                                                     const CalDavSettings& calDav,
                                                     const QString& lastSync, QWidget* parent)
    : QDialog(parent),
      keepFeed_(new QCheckBox(QStringLiteral("&Keep a calendar file up to date"), this)) {
  setWindowTitle(QStringLiteral("Calendar"));
  keepFeed_->setChecked(keepFeed);
  auto* where = new QLabel(
      QStringLiteral("Dues from 90 days back to two years ahead are written to\n%1\nafter every "
                     "change. Subscribe to this file in your calendar, or let a sync program "
                     "carry it to your phone.")
          .arg(QDir::toNativeSeparators(feedPath)),
      this);
  where->setWordWrap(true);
  where->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(keepFeed_);
  layout->addWidget(where);
  layout->addWidget(CalDavGroup(calDav, lastSync));
  layout->addStretch(1);
  layout->addWidget(buttons);
  resize(520, 400);
}

QGroupBox* CalendarPreferencesDialog::CalDavGroup(const CalDavSettings& calDav,
                                                  const QString& lastSync) {
  keepCalDav_ = new QGroupBox(QStringLiteral("Keep a Cal&DAV calendar up to date"), this);
  keepCalDav_->setCheckable(true);
  keepCalDav_->setChecked(calDav.keep);
  url_ = new QLineEdit(calDav.url, keepCalDav_);
  url_->setPlaceholderText(QStringLiteral("https://cloud.example.org/remote.php/dav"));
  user_ = new QLineEdit(calDav.user, keepCalDav_);
  password_ = new QLineEdit(keepCalDav_);
  password_->setEchoMode(QLineEdit::Password);
  password_->setPlaceholderText(calDav.user.isEmpty() ? QString() : QStringLiteral("(unchanged)"));
  passwordFile_ = new QLineEdit(calDav.passwordFile, keepCalDav_);
  passwordFile_->setPlaceholderText(QStringLiteral("only where no secret service runs"));
  test_ = new QPushButton(QStringLiteral("&Test connection"), keepCalDav_);
  testResult_ = new QLabel(keepCalDav_);
  testResult_->setWordWrap(true);
  auto* last = new QLabel(lastSync, keepCalDav_);
  last->setWordWrap(true);
  auto* about = new QLabel(
      QStringLiteral("Every unpaid due becomes an event with alarms, on the server your phone "
                     "syncs with. The password is kept in the desktop's secret service; a "
                     "password file must be readable by you alone (chmod 600)."),
      keepCalDav_);
  about->setWordWrap(true);
  auto* form = new QFormLayout(keepCalDav_);
  form->addRow(about);
  form->addRow(QStringLiteral("Server or calendar &URL:"), url_);
  form->addRow(QStringLiteral("U&ser:"), user_);
  form->addRow(QStringLiteral("&Password:"), password_);
  form->addRow(QStringLiteral("Password &file:"), passwordFile_);
  auto* testRow = new QHBoxLayout;
  testRow->addWidget(test_);
  testRow->addWidget(testResult_, 1);
  form->addRow(testRow);
  form->addRow(last);
  connect(test_, &QPushButton::clicked, this, [this] {
    test_->setEnabled(false);
    testResult_->setText(QStringLiteral("Asking the server…"));
    emit testRequested();
  });
  return keepCalDav_;
}

bool CalendarPreferencesDialog::keepFeed() const {
  return keepFeed_->isChecked();
}

CalDavSettings CalendarPreferencesDialog::calDavSettings() const {
  return {keepCalDav_->isChecked(), url_->text().trimmed(), user_->text().trimmed(),
          passwordFile_->text().trimmed()};
}

QString CalendarPreferencesDialog::password() const {
  return password_->text();
}

void CalendarPreferencesDialog::ShowTestResult(const QString& text) {
  testResult_->setText(text);
  test_->setEnabled(true);
}

}  // namespace paylark
