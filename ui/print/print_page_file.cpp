#include "ui/print/print_page_file.h"

#include <QDir>
#include <QStandardPaths>

#include "core/export/data_files.h"
#include "core/export/template_files.h"
#include "core/print/print_output.h"
#include "core/print/print_page.h"

namespace paylark {
namespace {

// An unreadable template counts as a missing one: the page is then empty.
std::string TemplateText(std::span<const std::string> folders) {
  const std::optional<std::string> path =
      FindTemplate(kPrintTemplateName, folders, SystemFileSystem());
  if (!path)
    return {};
  Result<std::string> text = ReadTemplate(*path, SystemFileSystem());
  return text.ok() ? std::move(text).value() : std::string();
}

}  // namespace

PrintPlaces DefaultPrintPlaces() {
  return {DataFolders(DataKind::kTemplates, SystemFileSystem()),
          QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
              QStringLiteral("/paylark")};
}

RenderedPage RenderPrintFile(const PrintPlaces& places, std::span<const DueRecord> checked,
                             const OleDateTime& from, const OleDateTime& to) {
  RenderedPage page;
  page.path = places.pageFolder + QLatin1Char('/') +
              QString::fromUtf8(kPrintPageName.data(), kPrintPageName.size());
  Result<std::string> html =
      RenderPrintPage(TemplateText(places.templateFolders), checked, from, to);
  if (!html.ok()) {
    page.problem = QString::fromStdString(html.status().message());
    return page;
  }
  page.html = std::move(html).value();
  QDir().mkpath(places.pageFolder);
  const Status written = WritePrintPage(page.html, page.path.toStdString(), places.templateFolders,
                                        SystemFileSystem());
  if (!written.ok())
    page.problem = QString::fromStdString(written.message());
  return page;
}

}  // namespace paylark
