#include "core/export/template_files.h"

#include "core/base/messages.h"
#include "core/export/template_text.h"

namespace paylark {

Result<std::string> ReadFileBytes(const std::string& path, FileSystem& files) {
  const auto failure = [&path](std::string reason) {
    return Status::IoError(MessageText({MessageId::kFileReadFailed, path, 0, std::move(reason)}));
  };
  const Result<FileInfo> info = files.Inspect(path);
  if (!info.ok())
    return failure(info.status().message());
  if (info.value().kind != FileKind::kRegular)
    return failure("it is not a regular file");
  if (info.value().size > kMaxRenderedSize)
    return failure("it is larger than 64 MiB");
  Result<std::string> bytes = files.Read(path, kMaxRenderedSize);
  if (!bytes.ok())
    return failure(bytes.status().message());
  return bytes;
}

Result<std::string> ReadTemplate(const std::string& path, FileSystem& files) {
  PAYLARK_TRY_ASSIGN(std::string text, ReadFileBytes(path, files));
  if (const std::size_t nul = text.find('\0'); nul != std::string::npos)
    text.resize(nul);
  return text;
}

}  // namespace paylark
