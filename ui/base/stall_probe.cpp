#include "ui/base/stall_probe.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>

#include "ui/base/start_timeline.h"

namespace paylark {
namespace {

constexpr std::chrono::milliseconds kTick{1};

// A timer due every millisecond: any gap between its turns beyond that is a stall.
class StallProbe final : public QObject {
 public:
  StallProbe(QObject& owner, std::chrono::milliseconds span)
      : QObject(&owner), span_(std::chrono::nanoseconds(span).count()) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &StallProbe::Turned);
    clock_.start();
    timer_.start(kTick);
  }

 private:
  void Turned() {
    const qint64 now = clock_.nsecsElapsed();
    longest_ = std::max(longest_, now - last_ - std::chrono::nanoseconds(kTick).count());
    last_ = now;
    if (now < span_)
      return;
    timer_.stop();
    const QString mark =
        QStringLiteral("longest stall %1 ms").arg(static_cast<double>(longest_) / 1e6, 0, 'f', 1);
    MarkStart(mark.toUtf8().constData());
    deleteLater();
  }

  QTimer timer_;
  QElapsedTimer clock_;
  qint64 span_;
  qint64 last_ = 0;
  qint64 longest_ = 0;
};

}  // namespace

void ProbeStalls(QObject& owner, std::chrono::milliseconds span) {
  if (StartTimelineOn())
    new StallProbe(owner, span);
}

}  // namespace paylark
