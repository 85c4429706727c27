#pragma once

#include <QDialog>

class QCheckBox;

namespace paylark {

// Preferences > Calendar...: whether Paylark keeps a calendar file of the dues up to date, and
// where that file is, for a calendar program or a sync engine to pick up.
class CalendarPreferencesDialog final : public QDialog {
  Q_OBJECT

 public:
  CalendarPreferencesDialog(bool keepFeed, const QString& feedPath, QWidget* parent = nullptr);

  bool keepFeed() const;
  QCheckBox& keepFeedBox() { return *keepFeed_; }

 private:
  QCheckBox* keepFeed_;
};

}  // namespace paylark
