#pragma once

#include <QStringList>
#include <functional>

class QObject;
class QWidget;

namespace paylark {

class CommandRegistry;

// What the main window lends a feature that lives beside it. A feature adds its commands to the
// registry and works through these; it never reaches into the window's widgets, so the window
// may rearrange them freely.
class FeatureHost {
 public:
  virtual ~FeatureHost() = default;

  virtual CommandRegistry& commandRegistry() = 0;
  // The widget a feature's dialogs and questions belong to.
  virtual QWidget& dialogParent() = 0;
  // Shows a message at the left of the status bar until the next one; an empty one clears it.
  virtual void ShowStatusMessage(const QString& message) = 0;
  // Shows the feature's notice in red beside the caption, known by key; toolTip says what a click
  // does. An empty text hides it.
  virtual void ShowCaptionNotice(const QString& key, const QString& text,
                                 const QString& toolTip) = 0;
  // Calls clicked when the notice known by key is clicked, while receiver lives.
  virtual void FollowCaptionNotice(QObject& receiver, const QString& key,
                                   std::function<void()> clicked) = 0;
  // Call before changing records: whoever listens (the day's backup) acts first.
  virtual void AnnounceChange() = 0;
  // Call after records changed: the month list follows, the selected due stays selected.
  virtual void AnnounceRecordsChanged() = 0;
  // Shows the due's month and selects the due; false when no due has the ID.
  virtual bool GoToDue(const QString& recordId) = 0;
  // Whether the month list has been painted and that frame handed to the screen.
  virtual bool monthPainted() const = 0;
  // Runs work once the month list has been painted (at once when it has), while receiver lives:
  // work that can wait lets the first frame come sooner.
  virtual void FollowFirstPaint(QObject& receiver, std::function<void()> work) = 0;
  // Calls changed after records changed (the month list has followed), while receiver lives.
  virtual void FollowRecordsChanged(QObject& receiver, std::function<void()> changed) = 0;
  // Calls changed after the preferences changed, while receiver lives.
  virtual void FollowPreferencesChanged(QObject& receiver, std::function<void()> changed) = 0;
  // Hands open the files dropped on the month list outside any row, while receiver lives.
  virtual void FollowFilesDroppedOutsideRows(QObject& receiver,
                                             std::function<void(const QStringList&)> open) = 0;
};

}  // namespace paylark
