// Writes the bill fuzzer's seed corpus: e-invoices in CII and UBL 2.1, a document type, and
// payment codes (EPC 001 and 002, a Swiss QR-bill with a QR reference).
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bill_seeds FOLDER\n");
    return 2;
  }
  // A short seed continued over lines is in parentheses, so it does not read as a lost comma.
  const std::vector<std::string> seeds = {
      "<?xml version=\"1.0\"?><rsm:CrossIndustryInvoice xmlns:rsm=\"urn:un:unece:uncefact:data:"
      "standard:CrossIndustryInvoice:100\" xmlns:ram=\"urn:un:unece:uncefact:data:standard:"
      "ReusableAggregateBusinessInformationEntity:100\" xmlns:udt=\"urn:un:unece:uncefact:data:"
      "standard:UnqualifiedDataType:100\"><rsm:ExchangedDocument><ram:ID>R-1</ram:ID>"
      "<ram:TypeCode>380</ram:TypeCode><ram:IssueDateTime><udt:DateTimeString format=\"102\">"
      "20261121</udt:DateTimeString></ram:IssueDateTime></rsm:ExchangedDocument>"
      "<rsm:SupplyChainTradeTransaction><ram:ApplicableHeaderTradeAgreement><ram:SellerTradeParty>"
      "<ram:Name>Stadtwerke</ram:Name></ram:SellerTradeParty></ram:ApplicableHeaderTradeAgreement>"
      "<ram:ApplicableHeaderTradeSettlement><ram:PaymentReference>RF18539007547034"
      "</ram:PaymentReference><ram:InvoiceCurrencyCode>EUR</ram:InvoiceCurrencyCode>"
      "<ram:SpecifiedTradeSettlementPaymentMeans><ram:PayeePartyCreditorFinancialAccount>"
      "<ram:IBANID>DE89370400440532013000</ram:IBANID></ram:PayeePartyCreditorFinancialAccount>"
      "</ram:SpecifiedTradeSettlementPaymentMeans><ram:SpecifiedTradePaymentTerms>"
      "<ram:DueDateDateTime><udt:DateTimeString format=\"102\">20261221</udt:DateTimeString>"
      "</ram:DueDateDateTime></ram:SpecifiedTradePaymentTerms>"
      "<ram:SpecifiedTradeSettlementHeaderMonetarySummation><ram:DuePayableAmount>184.37"
      "</ram:DuePayableAmount></ram:SpecifiedTradeSettlementHeaderMonetarySummation>"
      "</ram:ApplicableHeaderTradeSettlement></rsm:SupplyChainTradeTransaction>"
      "</rsm:CrossIndustryInvoice>",
      "<Invoice xmlns=\"urn:oasis:names:specification:ubl:schema:xsd:Invoice-2\" xmlns:cac=\"urn:"
      "oasis:names:specification:ubl:schema:xsd:CommonAggregateComponents-2\" xmlns:cbc=\"urn:"
      "oasis:names:specification:ubl:schema:xsd:CommonBasicComponents-2\"><cbc:ID>7</cbc:ID>"
      "<cbc:IssueDate>2026-11-21</cbc:IssueDate><cbc:DueDate>2026-12-21</cbc:DueDate>"
      "<cac:PaymentMeans><cbc:PaymentID>RF18539007547034</cbc:PaymentID><cac:PayeeFinancialAccount>"
      "<cbc:ID>DE89370400440532013000</cbc:ID></cac:PayeeFinancialAccount></cac:PaymentMeans>"
      "<cac:LegalMonetaryTotal><cbc:PayableAmount currencyID=\"EUR\">12.5</cbc:PayableAmount>"
      "</cac:LegalMonetaryTotal></Invoice>",
      "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"b\">]><d>&a;</d>",
      ("BCD\n001\n1\nSCT\nCOBADEFFXXX\nStadtwerke\nDE89370400440532013000\nEUR184.37\n\n"
       "RF18539007547034\n"),
      ("BCD\n002\n2\nSCT\n\nM\xFCller\nDE89 3704 0044 0532 0130 00\n\nGDDS\n\nMiete "
       "Dezember\nHinweis"),
      ("SPC\r\n0200\r\n1\r\nCH4431999123000889012\r\nS\r\nRobert Schneider AG\r\nRue du Lac\r\n"
       "1268\r\n2501\r\nBiel\r\nCH\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n1949.75\r\nCHF\r\nS\r\nPia\r\n"
       "Grosse Marktgasse\r\n28\r\n9400\r\nRorschach\r\nCH\r\nQRR\r\n210000000003139471430009017"
       "\r\nAuftrag\r\nEPD"),
  };
  for (std::size_t i = 0; i < seeds.size(); ++i)
    std::ofstream(std::string(argv[1]) + "/bill-" + std::to_string(i), std::ios::binary)
        << seeds[i];
  return 0;
}
