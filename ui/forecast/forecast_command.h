#pragma once

#include <QObject>

namespace paylark {

class MainWindow;
class PaylarkApp;

// View → Forecast: opens the forecast of the working directory's records over the window.
class ForecastCommand final : public QObject {
  Q_OBJECT

 public:
  ForecastCommand(PaylarkApp& app, MainWindow& window);

  void Open();

 private:
  PaylarkApp& app_;
  MainWindow& window_;
};

}  // namespace paylark
