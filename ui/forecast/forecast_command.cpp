#include "ui/forecast/forecast_command.h"

#include <QAction>
#include <algorithm>

#include "core/forecast/balance_book.h"
#include "core/forecast/low_balance_warning.h"
#include "settings/user_settings.h"
#include "ui/base/paylark_app.h"
#include "ui/base/start_load.h"
#include "ui/forecast/forecast_view.h"
#include "ui/shell/command_registry.h"
#include "ui/shell/feature_host.h"

namespace paylark {
namespace {

constexpr std::int64_t kSecondsPerDay = std::int64_t{24} * 60 * 60;
// The key of the caption strip's low-balance notice.
const QString kBalanceWarning = QStringLiteral("balanceWarning");

}  // namespace

ForecastCommand::ForecastCommand(PaylarkApp& app, FeatureHost& window)
    : QObject(&window.dialogParent()), app_(app), window_(window) {
  nextDay_.setSingleShot(true);
  nextDay_.setTimerType(Qt::CoarseTimer);
  connect(&nextDay_, &QTimer::timeout, this, &ForecastCommand::UpdateWarning);
  QAction* command = window.commandRegistry().Add(
      {QStringLiteral("forecast"), QStringLiteral("F&orecast..."),
       QStringLiteral("Show the balance day by day and when it runs low\nForecast"),
       MenuPlace::kView, QKeySequence(QStringLiteral("Ctrl+Shift+F"))});
  connect(command, &QAction::triggered, this, &ForecastCommand::Open);
  // A forecast of every account looks at every due: it follows the first painted month.
  window.FollowRecordsChanged(*this, [this] {
    if (window_.monthPainted())
      UpdateWarning();
  });
  window.FollowFirstPaint(*this, [this] { UpdateWarning(); });
  window.FollowPreferencesChanged(*this, [this] { UpdateWarning(); });
  window.FollowCaptionNotice(*this, kBalanceWarning, [this] { Open(); });
}

void ForecastCommand::FollowStart(StartLoad& load) {
  connect(&load, &StartLoad::Checked, this, &ForecastCommand::UpdateWarning);
}

void ForecastCommand::Open() {
  QWidget* parent = &window_.dialogParent();
  Result<std::unique_ptr<ForecastView>> made =
      MakeForecastWindow(app_.store(), app_.clock(), app_.prompt(), parent);
  app_.prompt().TellIfFailed(parent, made.status());
  if (!made.ok())
    return;
  {
    const std::unique_ptr<ForecastView> forecast = std::move(made).value();
    window_.FollowRecordsChanged(*forecast, [&forecast] { forecast->Refresh(); });
    connect(&nextDay_, &QTimer::timeout, forecast.get(), [&forecast] { forecast->Refresh(); });
    forecast->exec();
  }
  UpdateWarning();
}

void ForecastCommand::UpdateWarning() {
  const RecordStore& store = app_.store();
  BalanceBook balances(store.files(), RecordsFolderPath(store.workingDirectory()));
  balances.Load(store.listing().balanceFiles);
  const OleDateTime now = app_.clock().Now();
  const int days = UserSettings::Read(settings::kReminderDaysAhead) + kWarningDaysBeyondReminders;
  const Cents level = Cents{UserSettings::Read(settings::kForecastWarnBelow)} * 100;
  const std::optional<LowBalanceWarning> warning =
      FindLowBalanceWarning(balances.entries(), store.map(), now, level, days);
  window_.ShowCaptionNotice(
      kBalanceWarning,
      warning ? QString::fromStdString(LowBalanceWarningText(*warning)) : QString(),
      QStringLiteral("Open the forecast"));

  const std::int64_t secondsToMidnight =
      kSecondsPerDay - (now.LinearSeconds() - now.DateOnly().LinearSeconds());
  nextDay_.start(static_cast<int>(std::max<std::int64_t>(secondsToMidnight, 1) * 1000));
}

}  // namespace paylark
