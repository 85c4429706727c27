#include "tests/cli/cli_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

#include "tests/support/build_paths.h"

extern char** environ;

namespace paylark::testing {
namespace fs = std::filesystem;

constexpr char kFaketime[] = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

CliResult RunCli(const std::vector<std::string>& arguments,
                 const std::vector<std::string>& environment) {
  const ScratchFolder outputs;
  const fs::path outPath = outputs.path() / "out";
  const fs::path errPath = outputs.path() / "err";
  std::vector<std::string> words = {kPaylarkCliPath};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (auto& word : words)
    argv.push_back(word.data());
  argv.push_back(nullptr);

  // The first entry of a name wins, so the additions go first.
  std::vector<std::string> env = environment;
  env.emplace_back("LC_ALL=en_US.UTF-8");
  for (char** e = environ; *e; ++e) {
    if (!std::string_view(*e).starts_with("LC_ALL="))
      env.emplace_back(*e);
  }
  std::vector<char*> envp;
  envp.reserve(env.size() + 1);
  for (auto& entry : env)
    envp.push_back(entry.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  pid_t pid = 0;
  CliResult result;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  result.out = FileBytes(outPath);
  result.err = FileBytes(errPath);
  return result;
}

bool HasFaketime() {
  return fs::exists(kFaketime);
}

std::vector<std::string> FaketimeAt(const std::string& moment, std::vector<std::string> more) {
  // A sanitizer build wants its runtime first among the preloaded libraries; the clock's library
  // comes first here.
  more.insert(more.begin(), {std::string("LD_PRELOAD=") + kFaketime,
                             "ASAN_OPTIONS=verify_asan_link_order=0", "FAKETIME=@" + moment});
  return more;
}

std::size_t TemporaryWorkingDirectory::Files(const std::string& extension) const {
  std::size_t count = 0;
  if (fs::exists(records())) {
    for (const auto& entry : fs::directory_iterator(records()))
      count += entry.path().extension() == extension ? 1 : 0;
  }
  return count;
}

CliResult TemporaryWorkingDirectory::Run(std::vector<std::string> arguments,
                                         const std::vector<std::string>& environment) const {
  arguments.insert(arguments.begin(), {"--dir", path().string()});
  // Settings and backups go beside the records, not into the user's own folders.
  std::vector<std::string> additions = environment;
  additions.insert(additions.end(), {"XDG_CONFIG_HOME=" + (path() / ".config").string(),
                                     "XDG_DATA_HOME=" + (path() / ".data").string()});
  return RunCli(arguments, additions);
}

}  // namespace paylark::testing
