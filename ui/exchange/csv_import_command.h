#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace paylark {

class ImportDialog;
class PaylarkApp;

// File > Import CSV...: asks for the file, shows the preview, and adds the dues in one go (with
// a progress dialog for large files). All or nothing: a failure is told in a message box and
// leaves the records as they were. Returns the status-bar note, empty when nothing was added.
class CsvImportCommand final {
 public:
  // Shows the preview; true when the user chose Import. Tests answer without a modal loop.
  using RunDialog = std::function<bool(ImportDialog& dialog)>;

  CsvImportCommand(PaylarkApp& app, QWidget* window, RunDialog runDialog = {});

  QString Run();

 private:
  QString Import(const QString& path);

  PaylarkApp& app_;
  QWidget* window_;
  RunDialog runDialog_;
};

}  // namespace paylark
