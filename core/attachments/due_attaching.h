#pragma once

#include <string>

#include "core/attachments/attachment_store.h"
#include "core/base/status.h"
#include "core/records/record_store.h"

namespace paylark {

// Attaches the file to the due (AttachmentStore::Add) and gives the name it is kept under. A
// deletion removes the due's file before it moves the attachments away, so the attachment is
// placed first and the due's file looked for after: when another writer deleted the due
// meanwhile, the due's attachments go to `backupsFolder` as a deletion's do (NotFound, naming
// the file), and no attachment of a due that is gone is left behind.
Result<std::string> AttachToDue(const RecordStore& store, AttachmentStore& attachments,
                                const std::string& recordId, const std::string& sourcePath,
                                const std::string& backupsFolder);

}  // namespace paylark
