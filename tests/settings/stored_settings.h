#pragma once

#include <QSettings>
#include <QString>
#include <filesystem>
#include <fstream>
#include <string>

#include "settings/setting_catalogue.h"
#include "tests/support/scratch_folder.h"

namespace paylark::testing {

// Writes the settings file under config and points the settings at it. Each file takes a folder
// of its own, so no cached copy of an earlier file is read.
inline void StoreSettings(const ScratchFolder& config, const std::string& text) {
  const std::filesystem::path file =
      config.path() / settings::kOrganization / (std::string(settings::kApplication) + ".conf");
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file) << text;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromStdString(config.path().string()));
}

}  // namespace paylark::testing
