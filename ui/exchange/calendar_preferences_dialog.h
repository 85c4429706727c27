#pragma once

#include <QDialog>

#include "ui/exchange/caldav_keeper.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace paylark {

// Preferences > Calendar...: whether Paylark keeps a calendar file of the dues up to date, and
// where that file is; and whether it keeps a CalDAV calendar in step, on which server, as which
// user, with "Test connection" and the last sync's time and result. The password typed here is
// handed on, never shown again: it lives in the secret service or the file named.
class CalendarPreferencesDialog final : public QDialog {
  Q_OBJECT

 public:
  CalendarPreferencesDialog(bool keepFeed, const QString& feedPath, const CalDavSettings& calDav,
                            const QString& lastSync, QWidget* parent = nullptr);

  bool keepFeed() const;
  CalDavSettings calDavSettings() const;
  // What was typed; empty when the stored password stays.
  QString password() const;
  // Shows the outcome of a connection test and lets another one start.
  void ShowTestResult(const QString& text);

  QCheckBox& keepFeedBox() { return *keepFeed_; }
  QGroupBox& keepCalDavBox() { return *keepCalDav_; }
  QLineEdit& urlEdit() { return *url_; }
  QLineEdit& userEdit() { return *user_; }
  QLineEdit& passwordEdit() { return *password_; }
  QLineEdit& passwordFileEdit() { return *passwordFile_; }
  QPushButton& testButton() { return *test_; }
  QLabel& testResultLabel() { return *testResult_; }

 signals:
  // The user pressed "Test connection"; answer with ShowTestResult.
  void testRequested();

 private:
  QGroupBox* CalDavGroup(const CalDavSettings& calDav, const QString& lastSync);

  QCheckBox* keepFeed_;
  QGroupBox* keepCalDav_ = nullptr;
  QLineEdit* url_ = nullptr;
  QLineEdit* user_ = nullptr;
  QLineEdit* password_ = nullptr;
  QLineEdit* passwordFile_ = nullptr;
  QPushButton* test_ = nullptr;
  QLabel* testResult_ = nullptr;
};

}  // namespace paylark
