#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/bills/bill.h"
#include "core/io/file_system.h"

namespace paylark {

// Bills are a few pages; a larger file is refused before it is read.
inline constexpr std::uintmax_t kLargestBillBytes = std::uintmax_t{32} << 20;
// Payment codes are printed on the first or second page; pages are drawn at this resolution.
inline constexpr int kScannedPages = 2;
inline constexpr double kScanDotsPerInch = 200.0;

// What a bill says, from the file's bytes: a PDF's embedded e-invoice (else the payment code on
// its first two pages), an e-invoice XML, or the payment code in a PNG or JPEG image. A file that
// carries neither is read with source kNone and a warning that names `name`. A file of another
// kind, a PDF poppler cannot open and XML that declares a DOCTYPE or is no invoice are refused
// with a sentence that names `name`.
Result<Bill> ReadBill(std::string_view bytes, std::string_view name);

// ReadBill of the file at the path, named by its file name; a missing file is NotFound, one
// over kLargestBillBytes InvalidArgument, one that cannot be read IoError.
Result<Bill> ReadBillFile(FileSystem& files, const std::string& path);

}  // namespace paylark
