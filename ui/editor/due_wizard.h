#pragma once

#include <QWizard>
#include <memory>

namespace paylark {

class DetailsPage;
class NotesPage;

// The New Due wizard over the two pages: Details first (watermark, Next), then Notes (header
// "Notes" / "Enter Due Notes", Back and Finish). The wizard owns the pages.
std::unique_ptr<QWizard> MakeDueWizard(DetailsPage* details, NotesPage* notes, QWidget* parent);

// Sizes the wizard for a screen with the given room: a screen too narrow for the watermark
// beside the page goes without it, and a short one scrolls the page while the buttons stay.
void FitDueWizard(QWizard& wizard, const QSize& room);

}  // namespace paylark
