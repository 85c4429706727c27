#pragma once

#include <QDialog>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "core/records/record_store.h"
#include "core/sync/conflicts.h"
#include "core/sync/syncthing_config.h"

class QHBoxLayout;
class QLabel;
class QListWidget;
class QTableWidget;

namespace paylark {

// The sync conflicts of the records folder: for the conflict chosen on the left, every version
// of the due side by side, the fields in which they differ marked; "Keep This Version" under a
// version settles the conflict with it (the others are set aside in the backups folder first).
class ConflictResolverDialog final : public QDialog {
  Q_OBJECT

 public:
  ConflictResolverDialog(RecordStore& store, std::string setAsideFolder, QWidget* parent = nullptr);

  // Reads the conflicts of the records folder again.
  void Reload();
  int conflictCount() const { return static_cast<int>(conflicts_.size()); }
  // Keeps the version in the given column of the shown conflict; false with a message on failure.
  bool Keep(int column);

 signals:
  // A conflict was settled: the record files changed.
  void Resolved();

 private:
  void ShowConflict(int index);

  RecordStore& store_;
  std::string setAsideFolder_;
  std::vector<Conflict> conflicts_;
  QListWidget* list_;
  QTableWidget* table_;
  QHBoxLayout* keepButtons_;
  QLabel* note_;
  // Syncthing's configuration, read once: it names the devices behind conflict copies.
  std::optional<SyncthingConfig> syncthing_;
};

}  // namespace paylark
