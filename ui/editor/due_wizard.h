#pragma once

#include <QWizard>
#include <memory>

namespace paylark {

class DetailsPage;
class NotesPage;

// The New Due wizard over the two pages: Details first (watermark, Next), then Notes (header
// "Notes" / "Enter Due Notes", Back and Finish). The wizard owns the pages.
std::unique_ptr<QWizard> MakeDueWizard(DetailsPage* details, NotesPage* notes, QWidget* parent);

}  // namespace paylark
