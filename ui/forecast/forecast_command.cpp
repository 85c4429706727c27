#include "ui/forecast/forecast_command.h"

#include <QAction>

#include "ui/base/paylark_app.h"
#include "ui/forecast/forecast_window.h"
#include "ui/shell/commands.h"
#include "ui/shell/main_window.h"

namespace paylark {

ForecastCommand::ForecastCommand(PaylarkApp& app, MainWindow& window)
    : QObject(&window), app_(app), window_(window) {
  connect(window.commands().forecast, &QAction::triggered, this, &ForecastCommand::Open);
}

void ForecastCommand::Open() {
  ForecastWindow forecast(app_.store(), app_.clock(), &window_);
  forecast.exec();
}

}  // namespace paylark
