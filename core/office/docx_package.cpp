#include "core/office/docx_package.h"

#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace paylark {
namespace {

constexpr std::string_view kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

std::string ContentTypes(bool withComments) {
  std::string types =
      std::string(kXmlDeclaration) +
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" "
      "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
      "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
      "<Override PartName=\"/word/styles.xml\" ContentType=\"application/"
      "vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>";
  if (withComments) {
    types +=
        "<Override PartName=\"/word/comments.xml\" ContentType=\"application/"
        "vnd.openxmlformats-officedocument.wordprocessingml.comments+xml\"/>";
  }
  return types + "</Types>";
}

constexpr std::string_view kPackageRelationships =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
    "relationships/officeDocument\" Target=\"word/document.xml\"/></Relationships>";

std::string DocumentRelationships(bool withComments) {
  std::string relationships =
      std::string(kXmlDeclaration) +
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
      "relationships/styles\" Target=\"styles.xml\"/>";
  if (withComments) {
    relationships +=
        "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
        "relationships/comments\" Target=\"comments.xml\"/>";
  }
  return relationships + "</Relationships>";
}

// A 12 pt serif base, single-spaced paragraphs without extra space, and the two comment styles.
constexpr std::string_view kStyles =
    "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
    "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"Times New Roman\" "
    "w:eastAsia=\"Times New Roman\" w:hAnsi=\"Times New Roman\" w:cs=\"Times New Roman\"/>"
    "<w:sz w:val=\"24\"/><w:szCs w:val=\"24\"/><w:lang w:val=\"en-US\"/></w:rPr></w:rPrDefault>"
    "<w:pPrDefault><w:pPr><w:spacing w:after=\"0\" w:line=\"240\" w:lineRule=\"auto\"/></w:pPr>"
    "</w:pPrDefault></w:docDefaults>"
    "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/>"
    "<w:qFormat/></w:style>"
    "<w:style w:type=\"character\" w:default=\"1\" w:styleId=\"DefaultParagraphFont\">"
    "<w:name w:val=\"Default Paragraph Font\"/><w:uiPriority w:val=\"1\"/><w:semiHidden/>"
    "</w:style>"
    "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TableNormal\">"
    "<w:name w:val=\"Normal Table\"/><w:semiHidden/><w:tblPr><w:tblInd w:w=\"0\" w:type=\"dxa\"/>"
    "<w:tblCellMar><w:top w:w=\"0\" w:type=\"dxa\"/><w:left w:w=\"108\" w:type=\"dxa\"/>"
    "<w:bottom w:w=\"0\" w:type=\"dxa\"/><w:right w:w=\"108\" w:type=\"dxa\"/></w:tblCellMar>"
    "</w:tblPr></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"CommentText\"><w:name w:val=\"annotation text\"/>"
    "<w:basedOn w:val=\"Normal\"/><w:rPr><w:sz w:val=\"20\"/><w:szCs w:val=\"20\"/></w:rPr>"
    "</w:style>"
    "<w:style w:type=\"character\" w:styleId=\"CommentReference\">"
    "<w:name w:val=\"annotation reference\"/><w:basedOn w:val=\"DefaultParagraphFont\"/>"
    "<w:rPr><w:sz w:val=\"16\"/><w:szCs w:val=\"16\"/></w:rPr></w:style>"
    "</w:styles>";

struct DosTime {
  zip_uint16_t time;
  zip_uint16_t date;
};

// The zip's own date format covers 1980 to 2107, in two-second steps.
DosTime ToDosTime(const OleDateTime& stamp) {
  CivilDateTime civil = stamp.ToCivil();
  if (civil.year < 1980)
    civil = CivilDateTime{1980, 1, 1, 0, 0, 0, 3};
  civil.year = std::min(civil.year, 2107);
  return {static_cast<zip_uint16_t>((civil.hour << 11) | (civil.minute << 5) | (civil.second / 2)),
          static_cast<zip_uint16_t>(((civil.year - 1980) << 9) | (civil.month << 5) | civil.day)};
}

struct SourceDeleter {
  void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using SourcePointer = std::unique_ptr<zip_source_t, SourceDeleter>;

Status ZipFailure(zip_error_t* error) {
  return Status::IoError(zip_error_strerror(error));
}

// Adds every entry, then closes the archive into its buffer source.
Status WriteEntries(zip_t* archive, const std::vector<std::pair<std::string, std::string>>& entries,
                    DosTime time) {
  for (const auto& [name, content] : entries) {
    zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
    if (source == nullptr)
      return ZipFailure(zip_get_error(archive));
    const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(source);
      return ZipFailure(zip_get_error(archive));
    }
    const auto entry = static_cast<zip_uint64_t>(index);
    if (zip_set_file_compression(archive, entry, ZIP_CM_DEFLATE, 0) != 0 ||
        zip_file_set_dostime(archive, entry, time.time, time.date, 0) != 0) {
      return ZipFailure(zip_get_error(archive));
    }
  }
  return Status::Ok();
}

Result<std::string> ReadAll(zip_source_t* source) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_source_stat(source, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0 ||
      zip_source_open(source) != 0) {
    return ZipFailure(zip_source_error(source));
  }
  std::string bytes(stat.size, '\0');
  const zip_int64_t read = zip_source_read(source, bytes.data(), stat.size);
  zip_source_close(source);
  if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) {
    return ZipFailure(zip_source_error(source));
  }
  return bytes;
}

}  // namespace

Result<std::string> PackDocx(const DocxParts& parts, const OleDateTime& stamp) {
  const bool withComments = !parts.comments.empty();
  std::vector<std::pair<std::string, std::string>> entries = {
      {"[Content_Types].xml", ContentTypes(withComments)},
      {"_rels/.rels", std::string(kXmlDeclaration) + std::string(kPackageRelationships)},
      {"word/document.xml", parts.document},
      {"word/_rels/document.xml.rels", DocumentRelationships(withComments)},
      {"word/styles.xml", std::string(kXmlDeclaration) + std::string(kStyles)}};
  if (withComments)
    entries.emplace_back("word/comments.xml", parts.comments);

  zip_error_t error;
  zip_error_init(&error);
  SourcePointer buffer(zip_source_buffer_create(nullptr, 0, 0, &error));
  zip_t* archive = buffer ? zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error) : nullptr;
  if (archive == nullptr) {
    Status failure = ZipFailure(&error);
    zip_error_fini(&error);
    return failure;
  }
  zip_error_fini(&error);
  // The archive now holds the buffer; a second reference keeps it readable after closing.
  zip_source_keep(buffer.get());
  Status written = WriteEntries(archive, entries, ToDosTime(stamp));
  if (!written.ok()) {
    zip_discard(archive);
    return written;
  }
  if (zip_close(archive) != 0) {
    Status failure = ZipFailure(zip_get_error(archive));
    zip_discard(archive);
    return failure;
  }
  return ReadAll(buffer.get());
}

}  // namespace paylark
