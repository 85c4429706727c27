#include "ui/app/quit_on_signal.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace paylark {
namespace {

// [0] is read in the event loop, [1] written by the handler.
int signalSockets[2] = {-1, -1};

void OnSignal(int signalNumber) {
  const auto byte = static_cast<unsigned char>(signalNumber);
  // Nothing can be done about a full socket inside a handler; the first byte is enough.
  (void)!::write(signalSockets[1], &byte, 1);
}

bool Handle(int signalNumber) {
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  return ::sigaction(signalNumber, &action, nullptr) == 0;
}

void Restore(int signalNumber) {
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  (void)::sigaction(signalNumber, &action, nullptr);
}

}  // namespace

QuitOnSignal::QuitOnSignal(QObject* parent) : QObject(parent) {
  if (signalSockets[0] >= 0 ||
      ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSockets) != 0) {
    return;
  }
  notifier_ = new QSocketNotifier(signalSockets[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &QuitOnSignal::OnReadable);
  installed_ = Handle(SIGTERM) && Handle(SIGINT);
}

QuitOnSignal::~QuitOnSignal() {
  if (!notifier_)
    return;
  Restore(SIGTERM);
  Restore(SIGINT);
  ::close(signalSockets[0]);
  ::close(signalSockets[1]);
  signalSockets[0] = signalSockets[1] = -1;
}

void QuitOnSignal::OnReadable() {
  unsigned char byte = 0;
  int last = 0;
  while (::read(signalSockets[0], &byte, 1) == 1)
    last = byte;
  if (last == 0)
    return;
  requested_ = true;
  emit QuitRequested(last);
}

}  // namespace paylark
