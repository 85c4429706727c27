#pragma once

#include <cstddef>

class QWidget;

namespace paylark {

class Prompt;

// A backup that holds no dues, restored over a store that holds some, removes every due: the
// restore goes on only when the user answers Yes. True when it may go on; a store without dues
// asks nothing.
bool ConfirmRestoreOfEmptyBackup(Prompt& prompt, QWidget* parent, std::size_t currentDues);

}  // namespace paylark
