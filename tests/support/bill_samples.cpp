#include "tests/support/bill_samples.h"

#include <png.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

namespace paylark::testing {
namespace {

namespace fs = std::filesystem;

std::string Profile(CiiProfile profile) {
  switch (profile) {
    case CiiProfile::kMinimum:
      return "urn:factur-x.eu:1p0:minimum";
    case CiiProfile::kXRechnung:
      return "urn:cen.eu:en16931:2017#compliant#urn:xeinkauf.de:kosit:xrechnung_3.0";
    case CiiProfile::kEn16931:
      break;
  }
  return "urn:cen.eu:en16931:2017";
}

void Run(const std::string& command) {
  if (std::system(command.c_str()) != 0)
    throw std::runtime_error("failed: " + command);
}

// Full settlement of the EN 16931 profile: payment means, terms and the four sums.
std::string CiiSettlementDetails(const InvoiceSample& sample) {
  std::string details = "<ram:PaymentReference>" + sample.reference +
                        "</ram:PaymentReference>\n"
                        "<ram:InvoiceCurrencyCode>" +
                        sample.currency +
                        "</ram:InvoiceCurrencyCode>\n"
                        "<ram:SpecifiedTradeSettlementPaymentMeans><ram:TypeCode>58</ram:TypeCode>"
                        "<ram:PayeePartyCreditorFinancialAccount><ram:IBANID>" +
                        sample.iban +
                        "</ram:IBANID></ram:PayeePartyCreditorFinancialAccount>"
                        "</ram:SpecifiedTradeSettlementPaymentMeans>\n"
                        "<ram:SpecifiedTradePaymentTerms><ram:Description>" +
                        sample.terms + "</ram:Description>";
  if (sample.due)
    details += "<ram:DueDateDateTime><udt:DateTimeString format=\"102\">" + *sample.due +
               "</udt:DateTimeString></ram:DueDateDateTime>";
  return details + "</ram:SpecifiedTradePaymentTerms>\n";
}

std::string Dashed(const std::string& compact) {
  return compact.size() == 8
             ? compact.substr(0, 4) + "-" + compact.substr(4, 2) + "-" + compact.substr(6, 2)
             : compact;
}

struct Gray {
  int width = 0;
  int height = 0;
  std::vector<png_byte> pixels;
  png_byte& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

Gray ReadPng(const fs::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str()))
    throw std::runtime_error("cannot read " + path.string());
  image.format = PNG_FORMAT_GRAY;
  Gray gray{static_cast<int>(image.width), static_cast<int>(image.height), {}};
  gray.pixels.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, gray.pixels.data(), 0, nullptr))
    throw std::runtime_error("cannot decode " + path.string());
  return gray;
}

void WritePng(const Gray& gray, const fs::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(gray.width);
  image.height = static_cast<png_uint_32>(gray.height);
  image.format = PNG_FORMAT_GRAY;
  if (!png_image_write_to_file(&image, path.c_str(), 0, gray.pixels.data(), 0, nullptr))
    throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

std::string ShellQuoted(const fs::path& path) {
  return "'" + path.string() + "'";
}

std::string CiiInvoice(const InvoiceSample& sample) {
  const bool minimum = sample.profile == CiiProfile::kMinimum;
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<rsm:CrossIndustryInvoice "
      "xmlns:rsm=\"urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100\" "
      "xmlns:ram=\"urn:un:unece:uncefact:data:standard:"
      "ReusableAggregateBusinessInformationEntity:100\" "
      "xmlns:udt=\"urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100\">\n"
      "<rsm:ExchangedDocumentContext><ram:GuidelineSpecifiedDocumentContextParameter><ram:ID>" +
      Profile(sample.profile) +
      "</ram:ID></ram:GuidelineSpecifiedDocumentContextParameter></rsm:ExchangedDocumentContext>\n"
      "<rsm:ExchangedDocument><ram:ID>" +
      sample.number +
      "</ram:ID><ram:TypeCode>380</ram:TypeCode><ram:IssueDateTime>"
      "<udt:DateTimeString format=\"102\">" +
      sample.issued +
      "</udt:DateTimeString></ram:IssueDateTime></rsm:ExchangedDocument>\n"
      "<rsm:SupplyChainTradeTransaction>\n"
      "<ram:ApplicableHeaderTradeAgreement><ram:SellerTradeParty><ram:Name>" +
      sample.seller +
      "</ram:Name></ram:SellerTradeParty><ram:BuyerTradeParty><ram:Name>Jana Paulsen</ram:Name>"
      "</ram:BuyerTradeParty></ram:ApplicableHeaderTradeAgreement>\n"
      "<ram:ApplicableHeaderTradeDelivery/>\n"
      "<ram:ApplicableHeaderTradeSettlement>\n";
  xml += minimum ? "<ram:InvoiceCurrencyCode>" + sample.currency + "</ram:InvoiceCurrencyCode>\n"
                 : CiiSettlementDetails(sample);
  xml +=
      "<ram:SpecifiedTradeSettlementHeaderMonetarySummation>"
      "<ram:TaxBasisTotalAmount>154.93</ram:TaxBasisTotalAmount>"
      "<ram:TaxTotalAmount currencyID=\"" +
      sample.currency +
      "\">29.44</ram:TaxTotalAmount>"
      "<ram:GrandTotalAmount>" +
      sample.amount +
      "</ram:GrandTotalAmount>"
      "<ram:DuePayableAmount>" +
      sample.amount +
      "</ram:DuePayableAmount>"
      "</ram:SpecifiedTradeSettlementHeaderMonetarySummation>\n"
      "</ram:ApplicableHeaderTradeSettlement>\n"
      "</rsm:SupplyChainTradeTransaction>\n"
      "</rsm:CrossIndustryInvoice>\n";
  return xml;
}

std::string UblInvoice(const InvoiceSample& sample) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<Invoice xmlns=\"urn:oasis:names:specification:ubl:schema:xsd:Invoice-2\" "
      "xmlns:cac=\"urn:oasis:names:specification:ubl:schema:xsd:CommonAggregateComponents-2\" "
      "xmlns:cbc=\"urn:oasis:names:specification:ubl:schema:xsd:CommonBasicComponents-2\">\n"
      "<cbc:CustomizationID>" +
      Profile(CiiProfile::kXRechnung) +
      "</cbc:CustomizationID>\n"
      "<cbc:ID>" +
      sample.number +
      "</cbc:ID>\n"
      "<cbc:IssueDate>" +
      Dashed(sample.issued) + "</cbc:IssueDate>\n";
  if (sample.due)
    xml += "<cbc:DueDate>" + Dashed(*sample.due) + "</cbc:DueDate>\n";
  xml +=
      "<cbc:InvoiceTypeCode>380</cbc:InvoiceTypeCode>\n"
      "<cbc:DocumentCurrencyCode>" +
      sample.currency +
      "</cbc:DocumentCurrencyCode>\n"
      "<cac:AccountingSupplierParty><cac:Party><cac:PartyName><cbc:Name>" +
      sample.seller +
      "</cbc:Name></cac:PartyName></cac:Party></cac:AccountingSupplierParty>\n"
      "<cac:AccountingCustomerParty><cac:Party><cac:PartyName><cbc:Name>Jana Paulsen</cbc:Name>"
      "</cac:PartyName></cac:Party></cac:AccountingCustomerParty>\n"
      "<cac:PaymentMeans><cbc:PaymentMeansCode>58</cbc:PaymentMeansCode><cbc:PaymentID>" +
      sample.reference + "</cbc:PaymentID><cac:PayeeFinancialAccount><cbc:ID>" + sample.iban +
      "</cbc:ID></cac:PayeeFinancialAccount></cac:PaymentMeans>\n"
      "<cac:PaymentTerms><cbc:Note>" +
      sample.terms +
      "</cbc:Note></cac:PaymentTerms>\n"
      "<cac:LegalMonetaryTotal><cbc:LineExtensionAmount currencyID=\"" +
      sample.currency + "\">154.93</cbc:LineExtensionAmount><cbc:PayableAmount currencyID=\"" +
      sample.currency + "\">" + sample.amount +
      "</cbc:PayableAmount></cac:LegalMonetaryTotal>\n"
      "</Invoice>\n";
  return xml;
}

std::string EpcCode(const CodeSample& sample, const std::string& version) {
  const std::string amount = sample.amount.empty() ? "" : "EUR" + sample.amount;
  std::string code = "BCD\n" + version + "\n1\nSCT\n" + (version == "001" ? "COBADEFFXXX" : "") +
                     "\n" + sample.name + "\n" + sample.iban + "\n" + amount + "\n\n" +
                     sample.reference + "\n" + sample.text;
  return code;
}

std::string SwissCode(const CodeSample& sample) {
  const bool qr = sample.reference.size() == 27;
  const std::string type = sample.reference.empty() ? "NON" : qr ? "QRR" : "SCOR";
  const std::string lines[] = {"SPC",
                               "0200",
                               "1",
                               sample.iban,
                               "S",
                               sample.name,
                               "Rue du Lac",
                               "1268",
                               "2501",
                               "Biel",
                               "CH",
                               "",
                               "",
                               "",
                               "",
                               "",
                               "",
                               "",
                               sample.amount,
                               "CHF",
                               "S",
                               "Pia-Maria Rutschmann-Schnyder",
                               "Grosse Marktgasse",
                               "28",
                               "9400",
                               "Rorschach",
                               "CH",
                               type,
                               sample.reference,
                               sample.text,
                               "EPD"};
  std::string code;
  for (const std::string& line : lines)
    code += (code.empty() ? "" : "\r\n") + line;
  return code;
}

void WriteQrPng(const std::string& text, const fs::path& png) {
  const fs::path input = png.string() + ".txt";
  std::ofstream(input, std::ios::binary) << text;
  Run("qrencode -8 -l M -s 6 -m 4 -r " + ShellQuoted(input) + " -o " + ShellQuoted(png));
  fs::remove(input);
}

void DrawSwissCross(const fs::path& png) {
  Gray gray = ReadPng(png);
  // 7 mm of a 46 mm code: a black square with a white cross, as the guidelines draw it.
  const int side = gray.width * 7 / 46;
  const int left = (gray.width - side) / 2;
  const int top = (gray.height - side) / 2;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const bool bar = (x > side * 2 / 5 && x < side * 3 / 5 && y > side / 5 && y < side * 4 / 5);
      const bool beam = (y > side * 2 / 5 && y < side * 3 / 5 && x > side / 5 && x < side * 4 / 5);
      gray.at(left + x, top + y) = bar || beam ? 255 : 0;
    }
  }
  WritePng(gray, png);
}

void MakePhotoLike(const fs::path& png, double scale, double degrees) {
  const Gray code = ReadPng(png);
  const double radians = degrees * std::acos(-1.0) / 180.0;
  Gray photo;
  photo.width = static_cast<int>(code.width * scale * 1.5);
  photo.height = photo.width;
  photo.pixels.resize(static_cast<std::size_t>(photo.width) * photo.height);
  const double centre = photo.width / 2.0;
  for (int y = 0; y < photo.height; ++y) {
    for (int x = 0; x < photo.width; ++x) {
      const double dx = (x - centre) / scale;
      const double dy = (y - centre) / scale;
      const int u =
          static_cast<int>(std::cos(radians) * dx + std::sin(radians) * dy + code.width / 2.0);
      const int v =
          static_cast<int>(-std::sin(radians) * dx + std::cos(radians) * dy + code.height / 2.0);
      const bool inside = u >= 0 && v >= 0 && u < code.width && v < code.height;
      const int paper = 200 + (x + y) * 40 / (photo.width * 2);  // light falling across
      const int value = inside ? code.pixels[static_cast<std::size_t>(v) * code.width + u] : paper;
      photo.at(x, y) = static_cast<png_byte>(value > 128 ? paper : 40 + (x % 7));
    }
  }
  WritePng(photo, png);
}

void AttachXml(const fs::path& pdf, const std::string& xml, const std::string& name,
               const fs::path& out) {
  const fs::path file = out.parent_path() / ("attached-" + name);
  std::ofstream(file, std::ios::binary) << xml;
  Run("qpdf " + ShellQuoted(pdf) + " " + ShellQuoted(out) + " --add-attachment " +
      ShellQuoted(file) + " --filename=" + name + " --mimetype=text/xml --");
  fs::remove(file);
}

}  // namespace paylark::testing
