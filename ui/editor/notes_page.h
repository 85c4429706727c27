#pragma once

#include <QWizardPage>
#include <string>

class QPlainTextEdit;

namespace paylark {

// The "Notes" page: one multi-line edit that always fills the page. Notes are held with CR LF
// line breaks, as records store them.
class NotesPage final : public QWizardPage {
  Q_OBJECT

 public:
  explicit NotesPage(QWidget* parent = nullptr);

  void SetNotes(const std::string& notes);
  std::string Notes() const;

 private:
  QPlainTextEdit* edit_;
};

}  // namespace paylark
