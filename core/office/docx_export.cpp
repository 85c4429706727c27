#include "core/office/docx_export.h"

#include "core/base/messages.h"
#include "core/export/replacing_file.h"
#include "core/office/docx_document.h"
#include "core/office/docx_package.h"

namespace paylark {

Status WriteDocxExport(const std::string& path, const OfficeExportRequest& request) {
  Result<std::string> bytes = PackDocx(BuildDocxParts(request), request.createdAt);
  if (!bytes.ok()) {
    return Status::IoError(
        MessageText({MessageId::kFileWriteFailed, path, 0, bytes.status().message()}));
  }
  // The office libraries write by name, on the real file system; so does the document beside them.
  Result<ReplacingFile> file = ReplacingFile::Create(path, SystemFileSystem());
  if (!file.ok())
    return file.status();
  Status written = file.value().Write(bytes.value());
  if (!written.ok())
    return written;
  return file.value().Commit();
}

}  // namespace paylark
