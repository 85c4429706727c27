#pragma once

#include <QString>

namespace paylark {

class DesktopServices;

// Reminders while the window is closed: the systemd user timer paylark-remind.timer where
// systemd manages the user's services, else an autostart entry that reminds at login.
class BackgroundReminders final {
 public:
  explicit BackgroundReminders(DesktopServices& desktop) : desktop_(desktop) {}

  // Whether the timer is enabled or the autostart entry exists.
  bool IsOn() const;
  // Enables and starts the timer; where systemctl cannot, writes the autostart entry. False
  // when neither worked.
  bool TurnOn();
  // Disables and stops the timer and removes the autostart entry.
  void TurnOff();

  // $XDG_CONFIG_HOME/autostart/org.paylark.Paylark-remind.desktop
  static QString AutostartPath();

 private:
  int RunSystemctl(const QString& verb, const QString& option) const;
  bool WriteAutostartEntry() const;

  DesktopServices& desktop_;
};

}  // namespace paylark
