// Writes the statement fuzzer's seed corpus: OFX statements in SGML and XML (a payee aggregate, a
// card, a repeated FITID), small CAMT.053 documents of two versions (a batch, a reversal, a
// document type) and bank CSV exports in three shapes and two encodings.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: statement_seeds FOLDER\n");
    return 2;
  }
  const std::string camtStart =
      "<?xml version=\"1.0\"?><Document xmlns=\"urn:iso:std:iso:20022:"
      "tech:xsd:camt.053.001.";
  const std::string ofxSgml =
      "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nCHARSET:1252\r\n\r\n";
  // A short seed continued over lines is in parentheses, so it does not read as a lost comma.
  const std::vector<std::string> seeds = {
      ofxSgml +
          "<OFX><BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STATUS><CODE>0<SEVERITY>INFO</STATUS><STMTRS>"
          "<CURDEF>USD<BANKACCTFROM><BANKID>121000248<ACCTID>00442211<ACCTTYPE>CHECKING"
          "</BANKACCTFROM><BANKTRANLIST><DTSTART>20261101<DTEND>20261130235959.000[-5:EST]"
          "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20261103<TRNAMT>-1250.00<FITID>A1<NAME>Rent"
          "<MEMO>Nov\xE9</STMTTRN><STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20261104<TRNAMT>-3.00"
          "<FITID>A1<NAME>Fee<CURRENCY><CURRATE>1.1<CURSYM>EUR</CURRENCY></STMTTRN>"
          "</BANKTRANLIST><LEDGERBAL><BALAMT>2417.55<DTASOF>20261130</LEDGERBAL></STMTRS>"
          "</STMTTRNRS></BANKMSGSRSV1></OFX>\r\n",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><?OFX OFXHEADER=\"200\" VERSION=\"211\"?><OFX>"
      "<BANKMSGSRSV1><STMTTRNRS><STMTRS><CURDEF>EUR</CURDEF><BANKACCTFROM><BANKID>1</BANKID>"
      "<ACCTID>7788990011</ACCTID><ACCTTYPE>SAVINGS</ACCTTYPE></BANKACCTFROM><BANKTRANLIST>"
      "<STMTTRN><TRNTYPE>CREDIT</TRNTYPE><DTPOSTED>20261015120000</DTPOSTED><TRNAMT>12.5"
      "</TRNAMT><FITID>X9</FITID><PAYEE><NAME>Harbor</NAME><ADDR1>1 Quay</ADDR1></PAYEE>"
      "</STMTTRN></BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>",
      ofxSgml +
          "<OFX><CREDITCARDMSGSRSV1><CCSTMTTRNRS><CCSTMTRS><CURDEF>USD<CCACCTFROM><ACCTID>4111"
          "</CCACCTFROM><BANKTRANLIST><STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20261202<TRNAMT>-9.99"
          "<NAME>Cloud</STMTTRN></BANKTRANLIST></CCSTMTRS></CCSTMTTRNRS></CREDITCARDMSGSRSV1>"
          "</OFX>",
      camtStart +
          "02\"><BkToCstmrStmt><Stmt><FrToDt><FrDtTm>2026-11-01T00:00:00</FrDtTm><ToDtTm>"
          "2026-11-30T23:59:59</ToDtTm></FrToDt><Acct><Id><IBAN>DE02120300000000202051</IBAN>"
          "</Id></Acct><Bal><Tp><CdOrPrtry><Cd>CLBD</Cd></CdOrPrtry></Tp><Amt Ccy=\"EUR\">12.00"
          "</Amt><CdtDbtInd>DBIT</CdtDbtInd><Dt><Dt>2026-11-30</Dt></Dt></Bal><Ntry><Amt>9.00"
          "</Amt><CdtDbtInd>DBIT</CdtDbtInd><Sts>BOOK</Sts><BookgDt><Dt>2026-11-02</Dt></BookgDt>"
          "<AcctSvcrRef>A1</AcctSvcrRef><NtryDtls><TxDtls><Refs><EndToEndId>NOTPROVIDED"
          "</EndToEndId></Refs><AmtDtls><TxAmt><Amt>4.00</Amt></TxAmt></AmtDtls><RltdPties><Cdtr>"
          "<Nm>Water</Nm></Cdtr></RltdPties><RmtInf><Ustrd>Nov</Ustrd></RmtInf></TxDtls><TxDtls>"
          "<AmtDtls><TxAmt><Amt>5.00</Amt></TxAmt></AmtDtls></TxDtls></NtryDtls></Ntry><Ntry><Amt>"
          "9.00</Amt><CdtDbtInd>CRDT</CdtDbtInd><RvslInd>true</RvslInd><BookgDt><DtTm>"
          "2026-11-03T10:00:00</DtTm></BookgDt></Ntry></Stmt></BkToCstmrStmt></Document>",
      camtStart +
          "08\"><BkToCstmrStmt><Stmt><Acct><Id><Othr><Id>X</Id></Othr></Id></Acct><Ntry>"
          "<Amt>1</Amt><CdtDbtInd>CRDT</CdtDbtInd><Sts><Cd>BOOK</Cd></Sts><BookgDt><Dt>"
          "2026-12-24</Dt></BookgDt><NtryDtls><TxDtls><Amt>1</Amt><RltdPties><Dbtr><Pty>"
          "<Nm>Jura</Nm></Pty></Dbtr></RltdPties></TxDtls></NtryDtls></Ntry></Stmt>"
          "</BkToCstmrStmt></Document>",
      "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"b\">]><d>&a;</d>",
      ("\"Konto\";\"DE02\"\n\n\"Buchungstag\";\"Auftraggeber/Empf\xC3\xA4nger\";\"Betrag\";"
       "\"Soll/Haben\"\n\"03.11.2026\";\"Stadtwerke\";\"89,90\";\"S\"\n\"Kontostand\";\"\";"
       "\"1,00\";\"H\"\n"),
      ("Buchungstag;Empf\xE4nger;Betrag\n03.11.26;B\xE4"
       "ckerei;-4,50\n"),
      ("Date,Description,Debit,Credit\r\n11/02/2026,\"RENT, NOV\",\"1,450.00\",\r\n11/15/2026,PAY,,"
       "3200\r\n"),
      "Date\tCounterparty\tAmount\n01/12/2026\tWater\t(38.50)\n15/12/2026\tSalary\t2310\n",
  };
  for (std::size_t i = 0; i < seeds.size(); ++i)
    std::ofstream(std::string(argv[1]) + "/statement-" + std::to_string(i), std::ios::binary)
        << seeds[i];
  return 0;
}
