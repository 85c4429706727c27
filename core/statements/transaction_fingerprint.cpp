#include "core/statements/transaction_fingerprint.h"

#include <cstdio>

#include "core/base/text_encoding.h"

namespace paylark {
namespace {

// 64-bit FNV-1a: stable on every machine and every build, unlike std::hash.
constexpr std::uint64_t kOffsetBasis = 14695981039346656037ULL;
constexpr std::uint64_t kPrime = 1099511628211ULL;

void Mix(std::uint64_t& hash, std::string_view bytes) {
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= kPrime;
  }
}

}  // namespace

std::string TransactionFingerprints::Next(const std::vector<std::string>& fields) {
  std::uint64_t hash = kOffsetBasis;
  for (const std::string& field : fields) {
    // Blanks around a field are how a spreadsheet saved it, not what the bank booked; the unit
    // separator keeps ("ab", "c") apart from ("a", "bc").
    Mix(hash, TrimWhiteSpace(field));
    Mix(hash, "\x1f");
  }
  const int occurrence = ++occurrences_[hash];
  char id[40];
  std::snprintf(id, sizeof id, "%016llx-%d", static_cast<unsigned long long>(hash), occurrence);
  return id;
}

}  // namespace paylark
