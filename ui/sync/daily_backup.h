#pragma once

#include <QObject>
#include <QString>

namespace paylark {

class BackupJob;
class PaylarkApp;

// The backup policy: one backup of the working directory a day, taken behind the window when
// the window has shown its month and every ten minutes after (so a day that begins with the window
// open has one too), and waited for before the day's first change. Keeps Backups/Keep backups.
class DailyBackup final : public QObject {
  Q_OBJECT

 public:
  DailyBackup(PaylarkApp& app, QObject* parent);

  // Begins today's backup behind the window unless there is one or one is being taken.
  void Start();
  // Takes today's backup unless there is one, and waits for it: before a change.
  void TakeBeforeChange();
  // Waits for the backup being taken, if any (it may be another working directory's).
  void Finish();

 signals:
  void Failed(const QString& note);

 private:
  PaylarkApp& app_;
  BackupJob* job_;
};

}  // namespace paylark
