#pragma once

#include <QWidget>
#include <vector>

class QBoxLayout;
class QToolButton;

namespace paylark {

// The slim strip above the month list: one 32-pixel picture and a caption. Image 0 is the
// application, 1 a single due, 2 a due of a series.
class CaptionStrip final : public QWidget {
  Q_OBJECT

 public:
  enum Image { kApplication = 0, kDue = 1, kSeries = 2 };

  explicit CaptionStrip(QWidget* parent = nullptr);
  // Shows five blanks and text, with text alone as the tooltip.
  void ShowCaption(const QString& text, Image image);
  QString caption() const;
  Image image() const { return image_; }
  // The reminder count at the right ("2 overdue · 1 due soon"), red when overdue is true;
  // hidden when text is empty.
  void ShowReminders(const QString& text, bool overdue);
  QString reminders() const;
  // A feature's notice ("Balance below $0.00 on 15 Dec 2026"), known by its key, in red beside
  // the reminder count, with toolTip saying what a click does; hidden when text is empty.
  void ShowNotice(const QString& key, const QString& text, const QString& toolTip);
  QString notice(const QString& key) const;

 signals:
  void RemindersClicked();
  void NoticeClicked(const QString& key);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitLinks();
  QToolButton* NoticeNamed(const QString& key) const;

  QToolButton* button_;
  QToolButton* reminders_;
  std::vector<QToolButton*> notices_;
  QBoxLayout* row_ = nullptr;
  QBoxLayout* links_ = nullptr;
  Image image_ = kApplication;
};

}  // namespace paylark
