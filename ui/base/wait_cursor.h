#pragma once

#include <QApplication>

namespace paylark {

// Shows the wait cursor for the lifetime of the guard.
class WaitCursor final {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

  // Shows the normal cursor again for its lifetime, inside a WaitCursor: a question asked
  // mid-operation is answered with the ordinary pointer.
  class Pause final {
   public:
    Pause() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~Pause() { QApplication::restoreOverrideCursor(); }
    Pause(const Pause&) = delete;
    Pause& operator=(const Pause&) = delete;
  };
};

}  // namespace paylark
