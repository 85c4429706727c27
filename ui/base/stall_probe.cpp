#include "ui/base/stall_probe.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>

#include "ui/base/start_timeline.h"

namespace paylark {
namespace {

constexpr std::chrono::milliseconds kTick{1};
constexpr std::chrono::milliseconds kFrame{16};

QByteArray StallText(const QString& pattern, qint64 nanoseconds) {
  return pattern.arg(static_cast<double>(nanoseconds) / 1e6, 0, 'f', 1).toUtf8();
}

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
    const qint64 stall = now - last_ - std::chrono::nanoseconds(kTick).count();
    longest_ = std::max(longest_, stall);
    last_ = now;
    // Each stall that costs a frame is marked where it ends, among the start's other steps.
    if (stall > std::chrono::nanoseconds(kFrame).count())
      MarkStart(StallText(QStringLiteral("stall %1 ms"), stall).constData());
    if (now < span_)
      return;
    timer_.stop();
    MarkStart(StallText(QStringLiteral("longest stall %1 ms"), longest_).constData());
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
