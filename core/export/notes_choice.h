#pragma once

namespace paylark {

// Whether an export includes the dues' notes. Each export command fixes it; the toolbar and the
// navigation bar always export with notes.
enum class NotesChoice { kWithoutNotes, kWithNotes };

}  // namespace paylark
