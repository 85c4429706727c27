#include "core/records/record_snapshot.h"

#include <cstdio>
#include <cstring>
#include <functional>

#include "core/base/page_block.h"

namespace paylark {
namespace {

constexpr std::string_view kMagic = "PAYLARK SNAPSHOT";
// magic, version, payload length, checksum
constexpr std::size_t kHeaderBytes = 16 + 4 + 8 + 8;

// splitmix64's finalizer: every input bit reaches every output bit.
std::uint64_t Mix(std::uint64_t x) {
  x += 0x9e3779b97f4a7c15ULL;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

std::uint64_t Checksum(std::string_view bytes) {
  return SnapshotChecksum(bytes.size()).Finish(bytes);
}

template <class T>
void Put(std::string& out, T value) {
  char raw[sizeof(T)];
  for (std::size_t i = 0; i < sizeof(T); ++i)
    raw[i] = static_cast<char>(static_cast<std::uint64_t>(value) >> (8 * i));
  out.append(raw, sizeof raw);
}

void PutText(std::string& out, std::string_view text) {
  Put<std::uint32_t>(out, static_cast<std::uint32_t>(text.size()));
  out.append(text);
}

Status Damaged(std::string_view what) {
  return Status::Corrupt("the snapshot " + std::string(what));
}

}  // namespace

std::size_t SnapshotChecksum::AddWords(std::string_view bytes) {
  std::size_t pos = 0;
  for (; pos + 8 <= bytes.size(); pos += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + pos, 8);
    hash_ = (hash_ ^ word) * kMultiplier;
    hash_ ^= hash_ >> 29;
  }
  return pos;
}

std::uint64_t SnapshotChecksum::Finish(std::string_view rest) {
  const std::string_view tail = rest.substr(AddWords(rest));
  for (const char c : tail) {
    hash_ = (hash_ ^ static_cast<unsigned char>(c)) * kMultiplier;
    hash_ ^= hash_ >> 29;
  }
  return hash_;
}

std::string EncodeSnapshot(std::string_view recordsFolder, std::span<const SnapshotEntry> entries) {
  std::size_t size = kHeaderBytes + 4 + recordsFolder.size() + 8;
  for (const SnapshotEntry& entry : entries)
    size += 4 + entry.name.size() + 8 + 8 + 4 + entry.bytes.size();
  std::string out(kMagic);
  out.reserve(size);
  PreferHugePages(out.data(), out.capacity());
  Put<std::uint32_t>(out, kSnapshotVersion);
  Put<std::uint64_t>(out, size - kHeaderBytes);
  Put<std::uint64_t>(out, 0);  // the checksum, once the payload is there
  PutText(out, recordsFolder);
  Put<std::uint64_t>(out, entries.size());
  for (const SnapshotEntry& entry : entries) {
    PutText(out, entry.name);
    Put<std::uint64_t>(out, entry.inode);
    Put<std::int64_t>(out, entry.changeTime);
    PutText(out, entry.bytes);
  }
  std::string checksum;
  Put<std::uint64_t>(checksum, Checksum(std::string_view(out).substr(kHeaderBytes)));
  out.replace(kHeaderBytes - 8, 8, checksum);
  return out;
}

Result<SnapshotReader> SnapshotReader::Open(std::string_view bytes,
                                            std::string_view recordsFolder) {
  if (bytes.size() < kHeaderBytes || bytes.substr(0, kMagic.size()) != kMagic)
    return Damaged("is not a Paylark snapshot");
  SnapshotReader header(bytes.substr(kMagic.size(), kHeaderBytes - kMagic.size()), kMagic.size());
  std::uint32_t version = 0;
  std::uint64_t size = 0;
  std::uint64_t checksum = 0;
  (void)(header.Take(version) && header.Take(size) && header.Take(checksum));
  const std::string_view payload = bytes.substr(kHeaderBytes);
  if (version != kSnapshotVersion)
    return Damaged("has another format version");
  if (size != payload.size())
    return Damaged("is damaged");
  SnapshotReader reader(payload, kHeaderBytes);
  reader.expected_ = checksum;
  std::string_view folder;
  if (!reader.TakeText(folder) || folder != recordsFolder)
    return Damaged("is of another records folder");
  // Each entry takes at least 28 bytes: a count the payload cannot hold is a fault.
  if (!reader.Take(reader.count_) || reader.count_ > payload.size() / 28)
    return Damaged("is damaged");
  return reader;
}

bool SnapshotReader::Next(SnapshotEntry& entry) {
  if (!ok_ || taken_ == count_)
    return false;
  if (!TakeText(entry.name) || !Take(entry.inode) || !Take(entry.changeTime) ||
      !TakeText(entry.bytes) || (taken_ > 0 && !(lastName_ < entry.name)))
    return Fail();
  lastName_ = entry.name;
  ++taken_;
  // The words read so far are summed while they are in the cache.
  hashed_ += checksum_.AddWords(bytes_.substr(hashed_, pos_ - hashed_));
  return true;
}

Status SnapshotReader::Finish() const {
  SnapshotChecksum sum = checksum_;
  if (!ok_ || taken_ != count_ || pos_ != bytes_.size() ||
      sum.Finish(bytes_.substr(hashed_)) != expected_)
    return Damaged("is damaged");
  return Status::Ok();
}

bool SnapshotReader::TakeText(std::string_view& text) {
  std::uint32_t size = 0;
  if (!Take(size) || bytes_.size() - pos_ < size)
    return Fail();
  text = bytes_.substr(pos_, size);
  pos_ += size;
  return true;
}

bool SnapshotReader::Fail() {
  pos_ = bytes_.size();
  ok_ = false;
  return false;
}

Result<std::vector<SnapshotEntry>> DecodeSnapshot(std::string_view bytes,
                                                  std::string_view recordsFolder) {
  PAYLARK_TRY_ASSIGN(SnapshotReader reader, SnapshotReader::Open(bytes, recordsFolder));
  std::vector<SnapshotEntry> entries;
  entries.reserve(reader.size());
  SnapshotEntry entry;
  while (reader.Next(entry))
    entries.push_back(entry);
  PAYLARK_TRY(reader.Finish());
  return entries;
}

void FolderIdentity::Add(std::string_view name, std::uint64_t inode, std::int64_t changeTime,
                         std::uint64_t size) {
  std::uint64_t hash = Mix(std::hash<std::string_view>{}(name) ^ inode);
  hash = Mix(hash ^ static_cast<std::uint64_t>(changeTime));
  hash = Mix(hash ^ size);
  ++count;
  first += hash;
  second += Mix(hash ^ 0x2545f4914f6cdd1dULL);
}

std::string SnapshotPathFor(std::string_view cacheFolder, std::string_view recordsFolder) {
  char name[32];
  std::snprintf(name, sizeof name, "%016llx.snapshot",
                static_cast<unsigned long long>(Checksum(recordsFolder)));
  return std::string(cacheFolder) + "/" + name;
}

}  // namespace paylark
