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
// The pages a block is aligned to: the system's smallest, so that no block shares one with
// another part of the file.
constexpr std::size_t kPageBytes = 4096;

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
  parts_.back().view = copies_.back();
  parts_.back().size = copies_.back().size();
  size_ += bytes.size();
}

void MapImageWriter::PutText(std::string_view text) {
  Put<std::uint64_t>(text.size());
  Copy(text);
}

void MapImageWriter::PutView(const void* bytes, std::size_t size) {
  if (size == 0)
    return;
  parts_.push_back({std::string_view(static_cast<const char*>(bytes), size), size, {}});
  size_ += size;
  lastIsCopy_ = false;
}

void MapImageWriter::PutMade(std::size_t size, ImagePartFill fill) {
  if (size == 0)
    return;
  parts_.push_back({{}, size, std::move(fill)});
  size_ += size;
  lastIsCopy_ = false;
}

void MapImageWriter::AlignToPage() {
  const std::size_t padding = (kPageBytes - (kHeaderBytes + size_) % kPageBytes) % kPageBytes;
  Copy(std::string(padding, '\0'));
}

Status MapImageWriter::WriteTo(FileSystem& files, const std::string& path) const {
  std::string header(kMagic);
  Append(header, kMapImageVersion);
  Append(header, std::uint64_t{size_});
  RunningChecksum sum(size_);
  std::size_t part = 0;
  std::size_t partDone = 0;  // bytes of parts_[part] gone out
  std::string made;          // the piece of a made part going out
  // The parts' next piece, summed as it goes out; empty at their end.
  const auto nextPiece = [&]() -> std::string_view {
    for (; part < parts_.size() && partDone == parts_[part].size; ++part)
      partDone = 0;
    if (part == parts_.size())
      return {};
    const Part& at = parts_[part];
    std::string_view piece = at.view;
    if (at.fill) {
      made.resize(std::min(kSummedPiece, at.size - partDone));
      at.fill(partDone, made);
      piece = made;
    }
    partDone += piece.size();
    sum.Add(piece);
    return piece;
  };
  std::string trailer;
  std::string_view pending = header;
  const auto source = [&](std::span<char> buffer) -> Result<std::size_t> {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
      if (pending.empty())
        pending = nextPiece();
      if (pending.empty()) {
        if (!trailer.empty())
          break;
        Append(trailer, sum.Finish());
        pending = trailer;
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
  Pass(size, static_cast<char*>(out));
  return true;
}

bool MapImageReader::TakeBlock(std::size_t size, PageBlock& block) {
  const std::size_t padding = (kPageBytes - (kHeaderBytes + pos_) % kPageBytes) % kPageBytes;
  if (!ok_ || payload_.size() - pos_ < padding || payload_.size() - pos_ - padding < size)
    return Fail();
  Pass(padding, nullptr);
  PageBlock mapped = file_->ChangeablePages(kHeaderBytes + pos_, size);
  const bool copied = mapped.data() == nullptr;
  block = copied ? PageBlock(size) : std::move(mapped);
  Pass(size, copied ? static_cast<char*>(block.data()) : nullptr);
  return true;
}

void MapImageReader::Pass(std::size_t size, char* copy) {
  for (std::size_t done = 0; done < size; done += kSummedPiece) {
    const std::string_view piece =
        payload_.substr(pos_ + done, std::min(kSummedPiece, size - done));
    if (copy != nullptr)
      std::memcpy(copy + done, piece.data(), piece.size());
    sum_.Add(piece);
  }
  pos_ += size;
  if (size >= kSummedPiece)
    file_->LetGoBefore(kHeaderBytes + pos_);
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
