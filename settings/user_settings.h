#pragma once

#include <QByteArray>
#include <QString>

#include "settings/setting_catalogue.h"

namespace paylark {

// The per-user settings file that the window and paylark-cli share, read and written by the
// declarations of settings/setting_catalogue.h. A read never fails: a missing, unreadable or
// out-of-range value reads as the declaration says. Every write is on disk when it returns.
class UserSettings final {
 public:
  UserSettings() = delete;

  [[nodiscard]] static int Read(const settings::NumberSetting& setting);
  [[nodiscard]] static QString Read(const settings::TextSetting& setting);
  [[nodiscard]] static bool Read(const settings::SwitchSetting& setting);
  [[nodiscard]] static QByteArray Read(const settings::BytesSetting& setting);

  // A number outside the range is stored as the nearest valid one.
  static void Write(const settings::NumberSetting& setting, int value);
  static void Write(const settings::TextSetting& setting, const QString& value);
  static void Write(const settings::SwitchSetting& setting, bool value);
  static void Write(const settings::BytesSetting& setting, const QByteArray& value);
};

}  // namespace paylark
