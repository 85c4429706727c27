#pragma once

#include <QObject>
#include <QTimer>

namespace paylark {

class FeatureHost;
class PaylarkApp;
class StartLoad;

// View → Forecast: opens the forecast of the working directory's records over the window. It
// also keeps the caption strip's low-balance warning: computed again when the records change,
// when the forecast window closes (a balance may have been entered) and at midnight; a click on
// the warning opens the forecast.
class ForecastCommand final : public QObject {
  Q_OBJECT

 public:
  ForecastCommand(PaylarkApp& app, FeatureHost& window);

  void Open();
  void UpdateWarning();
  // A start from the snapshot learns of the balance files with its folder check: the warning
  // follows it.
  void FollowStart(StartLoad& load);

 private:
  PaylarkApp& app_;
  FeatureHost& window_;
  QTimer nextDay_;
};

}  // namespace paylark
