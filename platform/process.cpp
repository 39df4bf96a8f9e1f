#include "platform/process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

extern char** environ;

namespace platform {
namespace {

namespace fs = std::filesystem;

// Spawns the program directly (no shell). A program name without a slash is
// looked up on PATH. The working folder is set through a spawn file action
// where the C library has it, else the child inherits ours.
// Our environment with each "NAME=value" of `settings` set in it.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& settings) {
  std::vector<std::string> entries;
  for (char** e = environ; e && *e; ++e) entries.emplace_back(*e);
  for (const std::string& setting : settings) {
    const std::string name = setting.substr(0, setting.find('=') + 1);
    std::erase_if(entries, [&](const std::string& e) { return e.compare(0, name.size(), name) == 0; });
    entries.push_back(setting);
  }
  return entries;
}

ProcessResult Spawn(const fs::path& program, const std::vector<std::string>& args, const fs::path& workingFolder,
                    pid_t* pid, const std::vector<std::string>& environment = {}) {
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
  std::vector<std::string> envStrings;
  std::vector<char*> envp;
  char** childEnvironment = environ;
  if (!environment.empty()) {
    envStrings = ChildEnvironment(environment);
    for (auto& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);
    childEnvironment = envp.data();
  }
  bool searchPath = program.string().find('/') == std::string::npos;
  int rc = searchPath ? posix_spawnp(pid, argv[0], &actions, nullptr, argv.data(), childEnvironment)
                      : posix_spawn(pid, argv[0], &actions, nullptr, argv.data(), childEnvironment);
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

// What is known of one detached child. Its reaper thread first waits for the
// end without reaping (the id stays the child's while it is a zombie), notes
// how it ended under the lock, and only then reaps it: EndDetached signals
// only under the lock and only before the end is noted, so it can never hit
// a process that took the id over.
struct DetachedChild {
  std::mutex lock;
  std::condition_variable endedSignal;
  ProcessEnd end;
};

std::mutex& ChildrenLock() {
  static std::mutex lock;
  return lock;
}

std::map<pid_t, std::shared_ptr<DetachedChild>>& Children() {
  static std::map<pid_t, std::shared_ptr<DetachedChild>> children;
  return children;
}

std::shared_ptr<DetachedChild> FindChild(int processId) {
  std::lock_guard<std::mutex> guard(ChildrenLock());
  auto it = Children().find(static_cast<pid_t>(processId));
  return it == Children().end() ? nullptr : it->second;
}

void Reap(pid_t pid, std::shared_ptr<DetachedChild> child) {
  siginfo_t info{};
  while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
  }
  {
    std::lock_guard<std::mutex> guard(child->lock);
    child->end.ended = true;
    if (info.si_code == CLD_EXITED) {
      child->end.exitCode = info.si_status;
    } else {
      child->end.signal = info.si_status;
    }
  }
  child->endedSignal.notify_all();
  WaitFor(pid);
}

}  // namespace

ProcessResult StartDetached(const fs::path& program, const std::vector<std::string>& args,
                            const fs::path& workingFolder, const std::vector<std::string>& environment) {
  pid_t pid = 0;
  ProcessResult result = Spawn(program, args, workingFolder, &pid, environment);
  if (!result.started) return result;
  result.processId = static_cast<int>(pid);
  auto child = std::make_shared<DetachedChild>();
  {
    std::lock_guard<std::mutex> guard(ChildrenLock());
    Children()[pid] = child;
  }
  std::thread(Reap, pid, child).detach();
  return result;
}

ProcessEnd WaitForDetached(int processId, int timeoutMs) {
  const std::shared_ptr<DetachedChild> child = FindChild(processId);
  if (!child) return {};
  std::unique_lock<std::mutex> guard(child->lock);
  child->endedSignal.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] { return child->end.ended; });
  return child->end;
}

bool EndDetached(int processId) {
  const std::shared_ptr<DetachedChild> child = FindChild(processId);
  if (!child) return false;
  std::lock_guard<std::mutex> guard(child->lock);
  if (child->end.ended) return false;
  return ::kill(static_cast<pid_t>(processId), SIGTERM) == 0;
}

ProcessResult RunAndWait(const fs::path& program, const std::vector<std::string>& args, const fs::path& workingFolder) {
  pid_t pid = 0;
  ProcessResult result = Spawn(program, args, workingFolder, &pid);
  if (result.started) {
    result.exitCode = WaitFor(pid);
  }
  return result;
}

ProcessResult OpenWithDesktop(const fs::path& file) { return StartDetached("xdg-open", {file.string()}); }

}  // namespace platform
