#include "core/attachments/due_attaching.h"

#include "core/base/messages.h"

namespace paylark {

Result<std::string> AttachToDue(const RecordStore& store, AttachmentStore& attachments,
                                const std::string& recordId, const std::string& sourcePath,
                                const std::string& backupsFolder) {
  PAYLARK_TRY_ASSIGN(std::string name, attachments.Add(recordId, sourcePath));
  if (store.FileExists(recordId))
    return name;
  (void)attachments.MoveToRemoved(recordId, backupsFolder);
  return Status::NotFound(MessageText(Message{MessageId::kAttachedDueDeleted, name, 0, {}}));
}

}  // namespace paylark
