#pragma once

#include <QWizard>
#include <memory>

namespace paylark {

class DetailsPage;
class NotesPage;

// The New Due wizard over the two pages: Details first (watermark, Next), then Notes (header
// "Notes" / "Enter Due Notes", Back and Finish). The wizard owns the pages.
std::unique_ptr<QWizard> MakeDueWizard(DetailsPage* details, NotesPage* notes, QWidget* parent);

// Fits the wizard to a screen with the given room: on a screen too narrow for the watermark
// beside the page (a 640x420 netbook) the wizard goes without it.
void FitDueWizard(QWizard& wizard, const QSize& room);

}  // namespace paylark
