// Speed of reading a bill: the wizard opens once the bill is read, so the read is what the user
// waits for after a drop. A Factur-X PDF is read from its embedded XML; a PDF without one has its
// first two pages drawn at 200 dpi and searched for a payment code, the slow case.

#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "core/bills/bill_reading.h"
#include "core/io/file_system.h"
#include "tests/support/bill_pdf_samples.h"
#include "tests/support/bill_samples.h"
#include "tests/support/scratch_folder.h"

namespace paylark::bench {
namespace {

constexpr int kRuns = 5;

double BestMilliseconds(const std::string& path, BillSource expected) {
  return 1000.0 * BestSeconds(kRuns, [&] {
           const Result<Bill> bill = ReadBillFile(SystemFileSystem(), path);
           if (!bill.ok() || bill.value().source != expected)
             std::fprintf(stderr, "%s was not read as expected\n", path.c_str());
         });
}

}  // namespace
}  // namespace paylark::bench

int main() {
  using namespace paylark;
  const testing::ScratchFolder folder;
  const std::string plain = folder.PathOf("plain.pdf");
  const std::string facturX = folder.PathOf("factur-x.pdf");
  const std::string coded = folder.PathOf("coded.pdf");
  testing::WriteTextPdf(plain, 2);
  testing::AttachXml(plain, testing::CiiInvoice({}), "factur-x.xml", facturX);
  // The code on the second page: both pages are drawn and searched.
  testing::WritePdfWithCode(coded, testing::EpcCode({}), 2, 2);
  bench::PrintFigure("bill_read_facturx_ms",
                     bench::BestMilliseconds(facturX, BillSource::kFacturX));
  bench::PrintFigure("bill_read_pdf_ms", bench::BestMilliseconds(coded, BillSource::kEpcCode));
  return 0;
}
