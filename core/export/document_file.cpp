#include "core/export/document_file.h"

#include "core/export/replacing_file.h"

namespace paylark {

Status WriteDocument(const std::string& path, std::string_view bytes) {
  Result<ReplacingFile> file = ReplacingFile::Create(path);
  if (!file.ok())
    return file.status();
  if (Status written = file.value().Write(bytes); !written.ok())
    return written;
  return file.value().Commit();
}

}  // namespace paylark
