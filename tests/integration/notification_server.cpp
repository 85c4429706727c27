// A notification server for tests: owns org.freedesktop.Notifications on the session bus named
// by DBUS_SESSION_BUS_ADDRESS, appends every Notify call to a log file as one JSON line, and
// answers as the file named by its second argument says at the time of the call: an action key
// (sent as ActionInvoked, then the notification is closed), "close" (closed unanswered), or
// nothing at all. Prints "ready" once it owns the name.
// Usage: notification_server LOG_FILE ANSWER_FILE

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>
#include <cstdio>

namespace {

class NotificationServer final : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

 public:
  NotificationServer(QString logPath, QString answerPath)
      : logPath_(std::move(logPath)), answerPath_(std::move(answerPath)) {}

 public slots:
  QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }

  uint Notify(const QString& appName, uint replacesId, const QString& appIcon,
              const QString& summary, const QString& body, const QStringList& actions,
              const QVariantMap& hints, int expireTimeout) {
    const uint id = ++lastId_;
    QJsonObject hintValues;
    QJsonObject hintTypes;
    for (auto hint = hints.begin(); hint != hints.end(); ++hint) {
      // A byte (the urgency) would read as a one-character string.
      const bool byte = hint.value().typeId() == QMetaType::UChar;
      hintValues.insert(hint.key(), byte ? QJsonValue(hint.value().toInt())
                                         : QJsonValue::fromVariant(hint.value()));
      hintTypes.insert(hint.key(), QString::fromLatin1(hint.value().typeName()));
    }
    const QJsonObject call{{QStringLiteral("app"), appName},
                           {QStringLiteral("replaces"), static_cast<int>(replacesId)},
                           {QStringLiteral("icon"), appIcon},
                           {QStringLiteral("summary"), summary},
                           {QStringLiteral("body"), body},
                           {QStringLiteral("actions"), QJsonArray::fromStringList(actions)},
                           {QStringLiteral("hints"), hintValues},
                           {QStringLiteral("hintTypes"), hintTypes},
                           {QStringLiteral("timeout"), expireTimeout}};
    QFile log(logPath_);
    if (log.open(QIODevice::Append))
      log.write(QJsonDocument(call).toJson(QJsonDocument::Compact) + '\n');
    Answer(id);
    return id;
  }

  // Each call is noted as a line "<id>" in <log file>.closed.
  void CloseNotification(uint id) {
    QFile closed(logPath_ + QStringLiteral(".closed"));
    if (closed.open(QIODevice::Append))
      closed.write(QByteArray::number(id) + '\n');
    emit NotificationClosed(id, 3);
  }

 signals:
  void ActionInvoked(uint id, const QString& actionKey);
  void NotificationClosed(uint id, uint reason);

 private:
  // After the reply to Notify has gone out, as a real server answers when the user clicks.
  void Answer(uint id) {
    QFile file(answerPath_);
    const QString answer =
        file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
    if (answer.isEmpty())
      return;
    QTimer::singleShot(0, this, [this, id, answer] {
      if (answer != QLatin1String("close"))
        emit ActionInvoked(id, answer);
      emit NotificationClosed(id, 2);
    });
  }

  QString logPath_;
  QString answerPath_;
  uint lastId_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: notification_server LOG_FILE ANSWER_FILE\n");
    return 2;
  }
  NotificationServer server(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server,
                          QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals) ||
      !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
    std::fprintf(stderr, "notification_server: %s\n", qPrintable(bus.lastError().message()));
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  return application.exec();
}

#include "notification_server.moc"
