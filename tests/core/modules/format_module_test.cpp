// The programs' formats come from the modules: this test is linked as paylark and paylark-cli are
// (the core without the large libraries, its symbols exported) and sits beside the modules in the
// build folder, as they do.
#include "core/modules/format_module.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/bills/bill_reading.h"
#include "core/exchange/caldav_multistatus.h"
#include "core/export/pdf_export.h"
#include "core/modules/archive_module.h"
#include "core/office/docx_package.h"
#include "core/office/xlsx_export.h"
#include "core/statements/camt_reader.h"
#include "core/statements/ofx_reader.h"
#include "tests/core/statements/statement_samples.h"
#include "tests/core/sync/sync_folder.h"
#include "tests/support/bill_samples.h"

namespace paylark {
namespace {

using ::testing::HasSubstr;

// The file names of the shared libraries the process has mapped.
std::string MappedLibraries() {
  std::ifstream maps("/proc/self/maps");
  std::stringstream text;
  text << maps.rdbuf();
  return text.str();
}

TEST(FormatModuleTest, EachModuleBringsItsOwnLibrariesWithItsFirstUse) {
  for (const char* library :
       {"libpoppler", "libofx", "libzip", "libxlsxwriter", "libZXing", "libxml2", "libharfbuzz"})
    EXPECT_THAT(MappedLibraries(), Not(HasSubstr(library))) << library;

  // The day's first change takes a backup: that brings libzip, and none of the readers'.
  SyncFolder folder;
  const std::string rent = folder.Add("Rent", 500);
  const Result<TakenBackup> taken =
      TakeBackup(SystemFileSystem(), folder.store().workingDirectory(), folder.clock(), 3, {});
  ASSERT_TRUE(taken.ok()) << taken.status().message();
  const Result<std::vector<DueRecord>> read = ReadBackup(taken.value().path, SystemFileSystem());
  ASSERT_TRUE(read.ok()) << read.status().message();
  ASSERT_EQ(read.value().size(), 1u);
  EXPECT_EQ(read.value()[0].recordId, rent);
  for (const char* library : {"paylark-archives.so", "libzip", "libxlsxwriter"})
    EXPECT_THAT(MappedLibraries(), HasSubstr(library)) << library;
  for (const char* library : {"paylark-formats.so", "libpoppler", "libofx", "libxml2"})
    EXPECT_THAT(MappedLibraries(), Not(HasSubstr(library))) << library;

  ASSERT_TRUE(ReadOfxStatement(SampleBytes("ofx1_checking.ofx")).ok());
  for (const char* library : {"paylark-formats.so", "libpoppler", "libofx"})
    EXPECT_THAT(MappedLibraries(), HasSubstr(library)) << library;
}

TEST(FormatModuleTest, EveryFormatAnswersThroughTheModule) {
  SyncFolder folder;
  const std::string kept = folder.Add("Water", 42);
  const std::string backup =
      TakeBackup(SystemFileSystem(), folder.store().workingDirectory(), folder.clock(), 3, {})
          .value()
          .path;
  const std::string dropped = folder.Add("Power", 60);
  ASSERT_TRUE(RestoreBackup(folder.store(), folder.clock(), backup, 3).ok());
  EXPECT_TRUE(folder.store().FileExists(kept));
  EXPECT_FALSE(folder.store().FileExists(dropped));

  const Result<Statement> statement = ReadOfxStatement(SampleBytes("ofx1_checking.ofx"));
  ASSERT_TRUE(statement.ok()) << statement.status().message();
  EXPECT_EQ(statement.value().closingBalance->amount, 241755);
  const Result<Statement> camt = ReadCamtStatement(SampleBytes("camt053_v02.xml"));
  ASSERT_TRUE(camt.ok()) << camt.status().message();
  EXPECT_EQ(camt.value().bankAccount, "DE02120300000000202051");
  const Result<Multistatus> listing =
      ParseMultistatus(R"(<multistatus xmlns="DAV:"><response><href>/cal/a.ics</href>)"
                       R"(<status>HTTP/1.1 404 Not Found</status></response></multistatus>)");
  ASSERT_TRUE(listing.ok()) << listing.status().message();
  ASSERT_EQ(listing.value().responses.size(), 1u);
  EXPECT_EQ(listing.value().responses[0].status, 404);

  testing::ScratchFolder scratch;
  testing::WriteQrPng(testing::EpcCode({}), scratch.path() / "code.png");
  const Result<Bill> bill = ReadBillFile(SystemFileSystem(), scratch.PathOf("code.png"));
  ASSERT_TRUE(bill.ok()) << bill.status().message();
  EXPECT_EQ(bill.value().amount, 18437);

  const std::vector<DueRecord> rows = {folder.store().Get(kept)};
  const OfficeExportRequest request{rows, "December 2026", NotesChoice::kWithNotes,
                                    folder.clock().Now()};
  ASSERT_TRUE(WriteXlsxExport(scratch.PathOf("month.xlsx"), request).ok());
  EXPECT_TRUE(testing::FileBytes(scratch.path() / "month.xlsx").starts_with("PK\x03\x04"));
  const Result<std::string> docx = PackDocx(BuildDocxParts(request), request.createdAt);
  ASSERT_TRUE(docx.ok()) << docx.status().message();
  EXPECT_TRUE(docx.value().starts_with("PK\x03\x04"));
  // Beyond the 8-bit set of Helvetica: a font found by fontconfig and subset by HarfBuzz.
  std::vector<DueRecord> cyrillic = rows;
  cyrillic[0].title = "Оплата за воду";
  const Result<PdfExport> pdf = RenderPdfExport(cyrillic, "Dec - 2026", NotesChoice::kWithNotes);
  ASSERT_TRUE(pdf.ok()) << pdf.status().message();
  EXPECT_TRUE(pdf.value().duesWithLostCharacters.empty());
  EXPECT_NE(pdf.value().bytes.find("/FontFile2"), std::string::npos);
}

TEST(FormatModuleTest, AModuleThatCannotBeLoadedIsToldNotFollowed) {
  testing::ScratchFolder scratch;
  std::ofstream(scratch.path() / "not-a-module.so") << "text";
  const Result<const FormatModule*> missing =
      OpenModuleTable<FormatModule>({scratch.PathOf("gone.so")}, kFormatModule);
  EXPECT_THAT(missing.status().message(), HasSubstr("the file formats module could not be loaded"));
  EXPECT_THAT(missing.status().message(), HasSubstr("gone.so"));
  // The file that is there but is no library says why, whatever comes after it.
  const Result<const FormatModule*> broken = OpenModuleTable<FormatModule>(
      {scratch.PathOf("not-a-module.so"), scratch.PathOf("gone.so")}, kFormatModule);
  EXPECT_THAT(broken.status().message(), HasSubstr("not-a-module.so"));
  // A library without the module's entry.
  const Result<const FormatModule*> foreign =
      OpenModuleTable<FormatModule>({"libm.so.6"}, kFormatModule);
  EXPECT_THAT(foreign.status().message(), HasSubstr("has no paylark_format_module"));
}

TEST(FormatModuleTest, TheArchiveModuleSaysWhichItIs) {
  const Result<const ArchiveModule*> missing =
      OpenModuleTable<ArchiveModule>({"gone.so"}, kArchiveModule);
  EXPECT_THAT(missing.status().message(),
              HasSubstr("the backups and office documents module could not be loaded"));
  const Result<const ArchiveModule*> formats =
      OpenModuleTable<ArchiveModule>(ModuleCandidates(kFormatModule.file), kArchiveModule);
  EXPECT_THAT(formats.status().message(), HasSubstr("has no paylark_archive_module"));
}

}  // namespace
}  // namespace paylark
