#include "settings/user_settings.h"

#include <QSettings>
#include <QVariant>

namespace paylark {
namespace {

QSettings Open() {
  return QSettings(QString::fromLatin1(settings::kOrganization),
                   QString::fromLatin1(settings::kApplication));
}

QVariant Stored(const char* key) {
  return Open().value(QLatin1String(key));
}

void Store(const QString& key, const QVariant& value) {
  QSettings file = Open();
  file.setValue(key, value);
  file.sync();
}

void Store(const char* key, const QVariant& value) {
  Store(QLatin1String(key), value);
}

}  // namespace

int UserSettings::Read(const settings::NumberSetting& setting) {
  bool number = false;
  const long long stored = Stored(setting.key).toString().trimmed().toLongLong(&number);
  return number ? setting.Nearest(stored) : setting.fallback;
}

QString UserSettings::Read(const settings::TextSetting& setting) {
  return Stored(setting.key).toString();
}

bool UserSettings::Read(const settings::SwitchSetting& setting) {
  const QString stored = Stored(setting.key).toString().trimmed().toLower();
  if (stored == QLatin1String("true") || stored == QLatin1String("1"))
    return true;
  if (stored == QLatin1String("false") || stored == QLatin1String("0"))
    return false;
  return setting.fallback;
}

QByteArray UserSettings::Read(const settings::BytesSetting& setting) {
  return Stored(setting.key).toByteArray();
}

void UserSettings::Write(const settings::NumberSetting& setting, int value) {
  Store(setting.key, setting.Nearest(value));
}

void UserSettings::Write(const settings::TextSetting& setting, const QString& value) {
  Store(setting.key, value);
}

void UserSettings::Write(const settings::SwitchSetting& setting, bool value) {
  Store(setting.key, value);
}

void UserSettings::Write(const settings::BytesSetting& setting, const QByteArray& value) {
  Store(setting.key, value);
}

}  // namespace paylark
