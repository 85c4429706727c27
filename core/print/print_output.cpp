#include "core/print/print_output.h"

#include "core/base/messages.h"
#include "core/export/data_files.h"
#include "core/export/document_file.h"
#include "core/export/template_files.h"
#include "core/print/print_page.h"

namespace paylark {
namespace {

Status CopyIcon(std::string_view name, const std::string& folder,
                std::span<const std::string> templateFolders, FileSystem& files) {
  const std::optional<std::string> source = FindTemplate(name, templateFolders, files);
  if (!source) {
    return Status::NotFound(MessageText({MessageId::kTemplateNotFound, std::string(name), 0, {}}));
  }
  PAYLARK_TRY_ASSIGN(const std::string bytes, ReadFileBytes(*source, files));
  return WriteDocument(JoinPath(folder, name), bytes, files);
}

}  // namespace

Status WritePrintPage(std::string_view html, const std::string& pagePath,
                      std::span<const std::string> templateFolders, FileSystem& files) {
  PAYLARK_TRY(WriteDocument(pagePath, html, files));
  const std::string folder = ParentFolder(pagePath);
  for (const std::string_view icon : {kIconName, kSeriesIconName})
    PAYLARK_TRY(CopyIcon(icon, folder, templateFolders, files));
  return Status::Ok();
}

}  // namespace paylark
