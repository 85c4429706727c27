#include "core/records/map_image.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace paylark {
namespace {

constexpr std::string_view kMagic = "PAYLARK MAPIMAGE";
// magic, version, payload length; the payload's checksum follows the payload.
constexpr std::size_t kHeaderBytes = 16 + 4 + 8;
constexpr std::size_t kChecksumBytes = 8;
// A large copy is summed a piece at a time, while the piece is still in the cache.
constexpr std::size_t kSummedPiece = std::size_t{64} * 1024;

template <class T>
void Append(std::string& out, T value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

Status Damaged() {
  return Status::Corrupt("the map image is damaged or of another version");
}

}  // namespace

void RunningChecksum::Add(std::string_view bytes) {
  if (!carry_.empty()) {
    const std::size_t taken = std::min(8 - carry_.size(), bytes.size());
    carry_.append(bytes.substr(0, taken));
    bytes.remove_prefix(taken);
    if (carry_.size() < 8)
      return;
    sum_.AddWords(carry_);
    carry_.clear();
  }
  carry_.assign(bytes.substr(sum_.AddWords(bytes)));
}

std::uint64_t RunningChecksum::Finish() const {
  SnapshotChecksum sum = sum_;
  return sum.Finish(carry_);
}

void MapImageWriter::Copy(std::string_view bytes) {
  if (!lastIsCopy_) {
    copies_.emplace_back();
    parts_.emplace_back();
    lastIsCopy_ = true;
  }
  copies_.back().append(bytes);
  parts_.back() = copies_.back();
}

void MapImageWriter::PutText(std::string_view text) {
  Put<std::uint64_t>(text.size());
  Copy(text);
}

void MapImageWriter::PutView(const void* bytes, std::size_t size) {
  if (size == 0)
    return;
  parts_.emplace_back(static_cast<const char*>(bytes), size);
  lastIsCopy_ = false;
}

Status MapImageWriter::WriteTo(FileSystem& files, const std::string& path) const {
  std::uint64_t payloadSize = 0;
  for (const std::string_view part : parts_)
    payloadSize += part.size();
  std::string header(kMagic);
  Append(header, kMapImageVersion);
  Append(header, payloadSize);
  RunningChecksum sum(payloadSize);
  std::string trailer;
  std::size_t part = 0;
  std::string_view pending = header;
  const auto source = [&](std::span<char> buffer) -> Result<std::size_t> {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
      if (pending.empty()) {
        if (part < parts_.size()) {
          pending = parts_[part++];
          sum.Add(pending);
        } else if (trailer.empty()) {
          Append(trailer, sum.Finish());
          pending = trailer;
        } else {
          break;
        }
      }
      const std::size_t taken = std::min(pending.size(), buffer.size() - filled);
      std::memcpy(buffer.data() + filled, pending.data(), taken);
      pending.remove_prefix(taken);
      filled += taken;
    }
    return filled;
  };
  return files.WriteFrom(path, source, 0600);
}

Result<MapImageReader> MapImageReader::Open(const FileBytes& file) {
  const std::string_view bytes = file.view();
  if (bytes.size() < kHeaderBytes + kChecksumBytes || bytes.substr(0, kMagic.size()) != kMagic)
    return Damaged();
  std::uint32_t version = 0;
  std::uint64_t payloadSize = 0;
  std::memcpy(&version, bytes.data() + kMagic.size(), sizeof version);
  std::memcpy(&payloadSize, bytes.data() + kMagic.size() + sizeof version, sizeof payloadSize);
  if (version != kMapImageVersion || payloadSize != bytes.size() - kHeaderBytes - kChecksumBytes)
    return Damaged();
  MapImageReader reader(file, bytes.substr(kHeaderBytes, payloadSize));
  std::memcpy(&reader.expected_, bytes.data() + kHeaderBytes + payloadSize, kChecksumBytes);
  return reader;
}

bool MapImageReader::TakeInto(void* out, std::size_t size) {
  if (!ok_ || payload_.size() - pos_ < size)
    return Fail();
  auto* to = static_cast<char*>(out);
  for (std::size_t done = 0; done < size; done += kSummedPiece) {
    const std::string_view piece =
        payload_.substr(pos_ + done, std::min(kSummedPiece, size - done));
    std::memcpy(to + done, piece.data(), piece.size());
    sum_.Add(piece);
  }
  pos_ += size;
  if (size >= kSummedPiece)
    file_->LetGoBefore(kHeaderBytes + pos_);
  return true;
}

bool MapImageReader::TakeText(std::string& text) {
  std::uint64_t size = 0;
  if (!TakeCount(size, 1))
    return false;
  text.resize(size);
  return TakeInto(text.data(), size);
}

bool MapImageReader::TakeCount(std::uint64_t& count, std::size_t leastBytes) {
  if (!Take(count))
    return false;
  return count <= (payload_.size() - pos_) / std::max<std::size_t>(leastBytes, 1) || Fail();
}

Status MapImageReader::Finish() const {
  if (!ok_ || pos_ != payload_.size() || sum_.Finish() != expected_)
    return Damaged();
  return Status::Ok();
}

bool MapImageReader::Fail() {
  ok_ = false;
  pos_ = payload_.size();
  return false;
}

}  // namespace paylark
