#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace paylark::testing {

// Bills written for the tests from the public descriptions of their formats: e-invoices in CII
// (Factur-X, ZUGFeRD, XRechnung) and UBL 2.1, payment codes (EPC069-12, Swiss QR-bill 0200), and
// the files that carry them, made with qrencode, qpdf and Paylark's own PDF writer.

inline constexpr char kSampleIban[] = "DE89370400440532013000";
inline constexpr char kSampleSwissIban[] = "CH4431999123000889012";
inline constexpr char kSampleCreditorReference[] = "RF18539007547034";
inline constexpr char kSampleQrReference[] = "210000000003139471430009017";

// A sample with some of its fields changed: Changed<CodeSample>([](auto& s) { s.amount = ""; }).
template <class Sample, class Change>
Sample Changed(Change change) {
  Sample sample;
  change(sample);
  return sample;
}

enum class CiiProfile { kMinimum, kEn16931, kXRechnung };

struct InvoiceSample {
  CiiProfile profile = CiiProfile::kEn16931;
  std::string seller = "Stadtwerke Nordhafen GmbH";
  std::string number = "R-2026-1187";
  std::string issued = "20261121";              // as CII writes it
  std::optional<std::string> due = "20261221";  // none: only payment terms
  std::string terms = "Zahlbar innerhalb von 30 Tagen ohne Abzug.";
  std::string amount = "184.37";
  std::string currency = "EUR";
  std::string iban = kSampleIban;
  std::string reference = kSampleCreditorReference;
};

std::string CiiInvoice(const InvoiceSample& sample);
// The same invoice in UBL 2.1 (dates as "2026-12-21").
std::string UblInvoice(const InvoiceSample& sample);

struct CodeSample {
  std::string name = "Stadtwerke Nordhafen";
  std::string iban = kSampleIban;
  std::string amount = "184.37";  // empty: no amount
  std::string reference = kSampleCreditorReference;
  std::string text;
};
// An EPC069-12 code of version "001" or "002" (lines ending in LF).
std::string EpcCode(const CodeSample& sample, const std::string& version = "002");
// A Swiss QR-bill 0200 (lines ending in CR LF); a 27-digit reference is a QRR, an RF one SCOR.
std::string SwissCode(const CodeSample& sample);

// The code as a PNG by qrencode (error correction M, as the payment codes ask).
void WriteQrPng(const std::string& text, const std::filesystem::path& png);
// As printed on a Swiss QR-bill: the Swiss cross drawn over the middle of the code.
void DrawSwissCross(const std::filesystem::path& png);
// As a phone would see it: scaled, turned by some degrees, on a gray, uneven background.
void MakePhotoLike(const std::filesystem::path& png, double scale, double degrees);
// The path in single quotes, for a shell command.
std::string ShellQuoted(const std::filesystem::path& path);
// A copy of `pdf` with the XML attached under `name` by qpdf --add-attachment.
void AttachXml(const std::filesystem::path& pdf, const std::string& xml, const std::string& name,
               const std::filesystem::path& out);

}  // namespace paylark::testing
