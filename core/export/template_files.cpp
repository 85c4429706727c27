#include "core/export/template_files.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/base/messages.h"
#include "core/export/template_text.h"

namespace paylark {

Result<std::string> ReadFileBytes(const std::string& path) {
  const auto failure = [&path](std::string reason) {
    return Status::IoError(MessageText({MessageId::kFileReadFailed, path, 0, std::move(reason)}));
  };
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error)
    return failure(error.message());
  if (size > kMaxRenderedSize)
    return failure("it is larger than 64 MiB");
  std::ifstream file(path, std::ios::binary);
  if (!file)
    return failure("it cannot be opened");
  std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad())
    return failure("reading it failed");
  return text;
}

Result<std::string> ReadTemplate(const std::string& path) {
  Result<std::string> text = ReadFileBytes(path);
  if (!text.ok())
    return text;
  if (const std::size_t nul = text.value().find('\0'); nul != std::string::npos)
    text.value().resize(nul);
  return text;
}

}  // namespace paylark
