#pragma once

class QWidget;

namespace paylark {

class PaylarkApp;

// File → Restore from Backup…: asks which backup of the working directory replaces every due and
// restores it, keeping Backups/Keep backups (the state before the restore is backed up first).
// Tells the user when there is no backup or nothing could be restored.
void RestoreFromBackup(PaylarkApp& app, QWidget* parent);

}  // namespace paylark
