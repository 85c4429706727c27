#include "cli/notification_slot.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace paylark::cli {
namespace {

std::filesystem::path SlotFile() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime == nullptr || *runtime == '\0')
    return {};
  return std::filesystem::path(runtime) / "paylark" / "reminder-notification";
}

}  // namespace

std::uint32_t TodaysNotification(const std::string& day) {
  const std::filesystem::path file = SlotFile();
  if (file.empty())
    return 0;
  std::ifstream in(file);
  std::string storedDay;
  std::uint32_t id = 0;
  if (!(in >> storedDay >> id) || storedDay != day)
    return 0;
  return id;
}

void RememberNotification(const std::string& day, std::uint32_t id) {
  const std::filesystem::path file = SlotFile();
  if (file.empty() || id == 0)
    return;
  std::error_code ignored;  // a reminder that cannot be remembered is simply not replaced later
  std::filesystem::create_directories(file.parent_path(), ignored);
  std::ofstream(file, std::ios::trunc) << day << ' ' << id << '\n';
}

}  // namespace paylark::cli
