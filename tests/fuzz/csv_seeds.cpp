// Writes the CSV fuzzer's seed corpus: files as the CSV export writes them and as spreadsheets
// save them, with quotes, line breaks, a byte-order mark and refused rows.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: csv_seeds FOLDER\n");
    return 2;
  }
  const std::vector<std::string> seeds = {
      "Title,Pay To,Amount,Due,Type,Status,Notes\r\n"
      "Rent,Landlord,850.00,2026-03-01 09:00:00,Personal,Paid,\r\n"
      "\"Strom & \"\"Gas\"\"\",City Power,\"1,234.50\",2026-03-10 12:00:00,Business,Unpaid,"
      "\"two\r\nlines\"\r\n",
      "\xEF\xBB\xBF"
      "due,title\n2026-03-05,Water\n\n2026-02-30,Broken\n",
      "Title,Due\rGym,2026-03-15 18:00:00\r\"open,2026-03-16",
      "Amount,Due\n-5,2026-03-01\nabc,2026-03-02\n1e+19,2026-03-03\n",
  };
  for (std::size_t i = 0; i < seeds.size(); ++i)
    std::ofstream(std::string(argv[1]) + "/csv-" + std::to_string(i), std::ios::binary) << seeds[i];
  return 0;
}
