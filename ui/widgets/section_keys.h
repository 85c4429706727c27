#pragma once

class QDateTimeEdit;

namespace paylark {

// Gives a date or time picker the keys of other Qt applications: Tab and Shift+Tab leave it
// (one Tab per picker, whichever section is current), Left and Right select the previous or next
// section, Up and Down change the selected one; a date typed with its separators ("04/20/2026")
// fills one section after the other. The behaviour lives as long as the picker.
void UseSectionKeys(QDateTimeEdit& picker);

}  // namespace paylark
