#pragma once

#include <zip.h>

#include <cstddef>
#include <memory>

namespace paylark {

// Backup zips are read this much at a time, whatever sizes their entries' headers claim.
inline constexpr std::size_t kZipReadChunk = std::size_t{64} * 1024;

// Owners of libzip's handles. An archive that is not closed on purpose is discarded, so a
// failure part-way never writes a half-made zip.
struct ZipCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ZipPointer = std::unique_ptr<zip_t, ZipCloser>;

struct SourceFreer {
  void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using SourcePointer = std::unique_ptr<zip_source_t, SourceFreer>;

struct ZipFileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using ZipFilePointer = std::unique_ptr<zip_file_t, ZipFileCloser>;

}  // namespace paylark
