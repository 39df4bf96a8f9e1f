#include "platform/process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace platform {
namespace {

namespace fs = std::filesystem;

// Spawns the program directly (no shell). A program name without a slash is
// looked up on PATH. The working folder is set through a spawn file action
// where the C library has it, else the child inherits ours.
ProcessResult Spawn(const fs::path& program, const std::vector<std::string>& args, const fs::path& workingFolder,
                    pid_t* pid) {
  std::vector<std::string> argvStrings;
  argvStrings.push_back(program.string());
  argvStrings.insert(argvStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argvStrings) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 29))
  if (!workingFolder.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
#endif
  bool searchPath = program.string().find('/') == std::string::npos;
  int rc = searchPath ? posix_spawnp(pid, argv[0], &actions, nullptr, argv.data(), environ)
                      : posix_spawn(pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ProcessResult result;
  if (rc != 0) {
    result.message = program.string() + ": cannot start: " + std::strerror(rc);
    return result;
  }
  result.started = true;
  return result;
}

int WaitFor(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ProcessResult StartDetached(const fs::path& program, const std::vector<std::string>& args,
                            const fs::path& workingFolder) {
  pid_t pid = 0;
  ProcessResult result = Spawn(program, args, workingFolder, &pid);
  // The child is reaped in the background so that it leaves no zombie.
  if (result.started) std::thread([pid] { WaitFor(pid); }).detach();
  return result;
}

ProcessResult RunAndWait(const fs::path& program, const std::vector<std::string>& args,
                         const fs::path& workingFolder) {
  pid_t pid = 0;
  ProcessResult result = Spawn(program, args, workingFolder, &pid);
  if (result.started) {
    result.exitCode = WaitFor(pid);
  }
  return result;
}

ProcessResult OpenWithDesktop(const fs::path& file) { return StartDetached("xdg-open", {file.string()}); }

}  // namespace platform
