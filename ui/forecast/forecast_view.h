#pragma once

#include <QDialog>
#include <memory>

#include "core/base/status.h"

namespace paylark {

class Clock;
class Prompt;
class RecordStore;

// The forecast window as the rest of the window sees it: its chart needs Qt Charts, which the
// program loads with the module that holds the window when it is first opened.
class ForecastView : public QDialog {
 public:
  using QDialog::QDialog;

  // Reads the balance entries again and computes anew, keeping the chosen account: for when the
  // records or the day changed while the window is open.
  virtual void Refresh() = 0;
};

// View → Forecast's window; an error when the module that holds it cannot be loaded.
[[nodiscard]] Result<std::unique_ptr<ForecastView>> MakeForecastWindow(RecordStore& store,
                                                                       const Clock& clock,
                                                                       Prompt& prompt,
                                                                       QWidget* parent);

}  // namespace paylark
