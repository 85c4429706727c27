#pragma once

#include <QByteArray>
#include <optional>
#include <string>

#include "core/sync/syncthing_config.h"

namespace paylark {

// Syncthing's config.xml through Qt's XML reader: the GUI element and the folder elements
// directly under <configuration> (the folder under <defaults> describes no folder). Nothing
// when the text is not well-formed or not a Syncthing configuration.
std::optional<SyncthingConfig> ReadSyncthingConfig(const QByteArray& xml);

// The first config.xml of SyncthingConfigPaths() that can be read; nothing when none can, or
// when it is no Syncthing configuration.
std::optional<SyncthingConfig> ReadInstalledSyncthingConfig();
// The Syncthing folder that shares `path`, from the first config.xml of SyncthingConfigPaths()
// that can be read.
std::optional<SyncthingFolder> FindSyncthingFolder(const std::string& path);

}  // namespace paylark
