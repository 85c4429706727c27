#pragma once

#include <QDialog>
#include <memory>

#include "core/records/due_record.h"
#include "ui/editor/details_page.h"
#include "ui/editor/dialog_runner.h"

namespace paylark {

class AttachmentsPage;
class NotesPage;
class PaylarkApp;

// The one editor of a single due: the New Due wizard or the Modify Due sheet over the Details
// and Notes pages (and the sheet's Attachments page). It starts on a default record (empty texts,
// both dates now, type Business); Run copies the record into the pages and, on Finish or OK, back
// out of them.
class DueSheet final {
 public:
  DueSheet(PaylarkApp& app, SheetMode mode, QWidget* parent, DialogRunner runner);
  DueSheet(const DueSheet&) = delete;
  DueSheet& operator=(const DueSheet&) = delete;
  ~DueSheet();

  DueRecord& record() { return record_; }
  DetailsPage& detailPage() { return *details_; }
  const DetailsPage& detailPage() const { return *details_; }

  // True on Finish or OK; empty texts then become "No Title" and "Someone". On any other ending
  // the record is left as it was.
  bool Run();

 private:
  DialogRunner runner_;
  DetailsPage* details_;
  NotesPage* notes_;
  AttachmentsPage* attachments_ = nullptr;  // the Modify sheet's only
  std::unique_ptr<QDialog> dialog_;         // owns both pages
  DueRecord record_;
};

}  // namespace paylark
