#include "remote/desktop_notification.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QEventLoop>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>
#include <optional>

namespace paylark {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kApplicationId = QStringLiteral("org.paylark.Paylark");
constexpr int kCallTimeoutMs = 25'000;
// Some servers report the notification closed before the action that closed it: after a close,
// an action still counts when it follows within this time.
constexpr int kActionAfterCloseMs = 1'000;

// Collects the server's ActionInvoked and NotificationClosed signals. It listens before the
// notification is sent, so an answer that comes back at once is not missed.
class SignalListener final : public QObject {
  Q_OBJECT

 public:
  struct Event {
    uint id;
    NotificationOutcome outcome;
    QString action;
  };

  // The action chosen for the notification, else its closing, else nothing yet.
  std::optional<Event> For(uint id) const {
    std::optional<Event> closed;
    for (const Event& event : events_) {
      if (event.id != id)
        continue;
      if (event.outcome == NotificationOutcome::kAction)
        return event;
      closed = event;
    }
    return closed;
  }

 signals:
  void Arrived();

 public slots:
  void OnActionInvoked(uint id, const QString& action) {
    events_.push_back({id, NotificationOutcome::kAction, action});
    emit Arrived();
  }
  void OnClosed(uint id, uint /*reason*/) {
    events_.push_back({id, NotificationOutcome::kClosed, {}});
    emit Arrived();
  }

 private:
  std::vector<Event> events_;
};

QDBusMessage Call(const QString& method, const QVariantList& arguments) {
  QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
  message.setArguments(arguments);
  return QDBusConnection::sessionBus().call(message, QDBus::Block, kCallTimeoutMs);
}

QString BodyFor(const QDBusConnection& bus, const std::string& body) {
  const QString text = QString::fromStdString(body);
  QDBusMessage ask = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                    QStringLiteral("GetCapabilities"));
  const QDBusReply<QStringList> capabilities = bus.call(ask, QDBus::Block, kCallTimeoutMs);
  const bool markup =
      capabilities.isValid() && capabilities.value().contains(QStringLiteral("body-markup"));
  return markup ? text.toHtmlEscaped() : text;
}

QVariantList NotifyArguments(const Notification& notification, const QString& body) {
  QStringList actions;
  for (const auto& [key, label] : notification.actions)
    actions << QString::fromStdString(key) << QString::fromStdString(label);
  QVariantMap hints;
  hints.insert(QStringLiteral("urgency"),
               QVariant::fromValue(static_cast<uchar>(notification.critical ? 2 : 1)));
  hints.insert(QStringLiteral("desktop-entry"), kApplicationId);
  return {QStringLiteral("Paylark"),
          static_cast<uint>(notification.replaces),
          kApplicationId,
          QString::fromStdString(notification.summary),
          body,
          actions,
          hints,
          -1};
}

void WaitFor(const SignalListener& listener, uint id, int waitSeconds) {
  if (waitSeconds <= 0)
    return;
  QEventLoop loop;
  QTimer deadline;
  QTimer afterClose;
  for (QTimer* timer : {&deadline, &afterClose}) {
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  }
  const auto answered = [&] {
    const auto event = listener.For(id);
    if (event && event->outcome == NotificationOutcome::kAction)
      return true;
    if (event && !afterClose.isActive())
      afterClose.start(kActionAfterCloseMs);
    return false;
  };
  if (answered())
    return;
  QObject::connect(&listener, &SignalListener::Arrived, &loop, [&] {
    if (answered())
      loop.quit();
  });
  deadline.start(waitSeconds * 1000);
  loop.exec();
}

}  // namespace

NotificationAnswer ShowNotification(const Notification& notification, int waitSeconds) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected())
    return {NotificationOutcome::kNoBus, {}, {}};
  SignalListener listener;
  bus.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"), &listener,
              SLOT(OnActionInvoked(uint, QString)));
  bus.connect(QString(), kPath, kInterface, QStringLiteral("NotificationClosed"), &listener,
              SLOT(OnClosed(uint, uint)));

  const QDBusReply<uint> sent = Call(
      QStringLiteral("Notify"), NotifyArguments(notification, BodyFor(bus, notification.body)));
  if (!sent.isValid())
    return {NotificationOutcome::kNoServer, {}, sent.error().message().toStdString()};

  const uint id = sent.value();
  WaitFor(listener, id, waitSeconds);
  const auto event = listener.For(id);
  if ((event && event->outcome == NotificationOutcome::kAction) || (!event && waitSeconds > 0))
    Call(QStringLiteral("CloseNotification"), {id});
  if (event)
    return {event->outcome, event->action.toStdString(), {}, id};
  return {NotificationOutcome::kNoAnswer, {}, {}, id};
}

}  // namespace paylark

#include "desktop_notification.moc"
