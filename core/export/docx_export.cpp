#include "core/export/docx_export.h"

#include "core/export/docx_document.h"
#include "core/export/docx_package.h"
#include "core/export/replacing_file.h"
#include "core/records/messages.h"

namespace paylark {

Status WriteDocxExport(const std::string& path, const OfficeExportRequest& request) {
  Result<std::string> bytes = PackDocx(BuildDocxParts(request), request.createdAt);
  if (!bytes.ok()) {
    return Status::IoError(
        MessageText({MessageId::kFileWriteFailed, path, 0, bytes.status().message()}));
  }
  Result<ReplacingFile> file = ReplacingFile::Create(path);
  if (!file.ok())
    return file.status();
  Status written = file.value().Write(bytes.value());
  if (!written.ok())
    return written;
  return file.value().Commit();
}

}  // namespace paylark
