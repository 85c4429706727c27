#include "ui/sync/syncthing_config_reader.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>

namespace paylark {
namespace {

std::string Text(QStringView text) {
  return text.toString().toStdString();
}

SyncthingConfig::Gui ReadGui(QXmlStreamReader& reader) {
  SyncthingConfig::Gui gui;
  gui.enabled = reader.attributes().value(QLatin1String("enabled")) != u"false";
  gui.tls = reader.attributes().value(QLatin1String("tls")) == u"true";
  while (reader.readNextStartElement()) {
    if (reader.name() == u"address")
      gui.address = reader.readElementText().toStdString();
    else if (reader.name() == u"apikey")
      gui.apiKey = reader.readElementText().toStdString();
    else
      reader.skipCurrentElement();
  }
  return gui;
}

}  // namespace

std::optional<SyncthingConfig> ReadSyncthingConfig(const QByteArray& xml) {
  QXmlStreamReader reader(xml);
  if (!reader.readNextStartElement() || reader.name() != u"configuration")
    return std::nullopt;
  SyncthingConfig config;
  while (reader.readNextStartElement()) {
    if (reader.name() == u"folder") {
      const QXmlStreamAttributes attributes = reader.attributes();
      config.folders.push_back({Text(attributes.value(QLatin1String("id"))),
                                Text(attributes.value(QLatin1String("path"))),
                                attributes.value(QLatin1String("paused")) == u"true"});
      reader.skipCurrentElement();
    } else if (reader.name() == u"device") {
      const QXmlStreamAttributes attributes = reader.attributes();
      config.devices.push_back({Text(attributes.value(QLatin1String("id"))),
                                Text(attributes.value(QLatin1String("name")))});
      reader.skipCurrentElement();
    } else if (reader.name() == u"gui" && !config.gui) {
      config.gui = ReadGui(reader);
    } else {
      reader.skipCurrentElement();
    }
  }
  if (reader.hasError())
    return std::nullopt;
  return config;
}

std::optional<SyncthingConfig> ReadInstalledSyncthingConfig() {
  for (const std::string& name : SyncthingConfigPaths()) {
    QFile file(QString::fromStdString(name));
    if (file.open(QIODevice::ReadOnly))
      return ReadSyncthingConfig(file.readAll());
  }
  return std::nullopt;
}

std::optional<SyncthingFolder> FindSyncthingFolder(const std::string& path) {
  const std::optional<SyncthingConfig> config = ReadInstalledSyncthingConfig();
  if (!config)
    return std::nullopt;
  return FindSyncthingFolder(*config, path, QDir::homePath().toStdString());
}

}  // namespace paylark
