#include "core/print/print_output.h"

#include <filesystem>

#include "core/base/data_folders.h"
#include "core/base/messages.h"
#include "core/export/document_file.h"
#include "core/export/template_files.h"
#include "core/print/print_page.h"

namespace paylark {
namespace {

Status CopyIcon(std::string_view name, const std::filesystem::path& folder,
                std::span<const std::string> templateFolders) {
  const std::optional<std::string> source = FindTemplate(name, templateFolders);
  if (!source) {
    return Status::NotFound(MessageText({MessageId::kTemplateNotFound, std::string(name), 0, {}}));
  }
  Result<std::string> bytes = ReadFileBytes(*source);
  if (!bytes.ok())
    return bytes.status();
  return WriteDocument((folder / name).string(), bytes.value());
}

}  // namespace

Status WritePrintPage(std::string_view html, const std::string& pagePath,
                      std::span<const std::string> templateFolders) {
  if (Status written = WriteDocument(pagePath, html); !written.ok())
    return written;
  const std::filesystem::path folder = std::filesystem::path(pagePath).parent_path();
  for (const std::string_view icon : {kIconName, kSeriesIconName}) {
    if (Status copied = CopyIcon(icon, folder, templateFolders); !copied.ok())
      return copied;
  }
  return Status::Ok();
}

}  // namespace paylark
