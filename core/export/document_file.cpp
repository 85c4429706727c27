#include "core/export/document_file.h"

#include "core/export/replacing_file.h"

namespace paylark {

Status WriteDocument(const std::string& path, std::string_view bytes, FileSystem& files) {
  PAYLARK_TRY_ASSIGN(ReplacingFile file, ReplacingFile::Create(path, files));
  PAYLARK_TRY(file.Write(bytes));
  return file.Commit();
}

}  // namespace paylark
