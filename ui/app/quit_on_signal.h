#pragma once

#include <QObject>

class QSocketNotifier;

namespace paylark {

// Turns SIGTERM and SIGINT (a logout, Ctrl+C in a terminal) into a signal of the event loop, so
// the window closes as if the user closed it and saves what it saves at exit. The handlers only
// write a byte to a socket; everything else happens in the event loop. One per process.
class QuitOnSignal final : public QObject {
  Q_OBJECT

 public:
  explicit QuitOnSignal(QObject* parent = nullptr);
  ~QuitOnSignal() override;
  QuitOnSignal(const QuitOnSignal&) = delete;
  QuitOnSignal& operator=(const QuitOnSignal&) = delete;

  // False when the socket pair or a handler could not be set up; the signals then end the
  // program as they would without this object.
  bool installed() const { return installed_; }
  // Whether a signal has come. One that came while a start showed its progress was heard before
  // there was an event loop to end: the start asks once it is over.
  bool requested() const { return requested_; }

 signals:
  void QuitRequested(int signalNumber);

 private:
  void OnReadable();

  QSocketNotifier* notifier_ = nullptr;
  bool installed_ = false;
  bool requested_ = false;
};

}  // namespace paylark
