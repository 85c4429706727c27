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
};

}  // namespace paylark
