#pragma once
// Starting other programs: never through a shell, arguments passed as they are.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct ProcessResult {
  bool started = false;
  int exitCode = -1;    // valid when the caller waited and the program exited normally
  std::string message;  // why the start failed
  int processId = 0;    // the child's process id when started
};

// Starts program with args and returns at once with the child's process id;
// the child is reaped in the background (it leaves no zombie behind). The
// child inherits this program's environment, with each "NAME=value" of
// `environment` set in it (replacing an inherited NAME).
ProcessResult StartDetached(const std::filesystem::path& program, const std::vector<std::string>& args,
                            const std::filesystem::path& workingFolder = {},
                            const std::vector<std::string>& environment = {});

// How a child started by StartDetached ended.
struct ProcessEnd {
  bool ended = false;  // false: still running when the wait gave up
  int exitCode = -1;   // its exit code when it exited
  int signal = 0;      // the signal that ended it, 0 when it exited
};

// Waits at most timeoutMs for the detached child with this id to end. An id
// this process did not start with StartDetached gives ended = false at once.
ProcessEnd WaitForDetached(int processId, int timeoutMs);

// Asks the detached child with this id to end (SIGTERM). False when it has
// already ended or was not started here: an id is never signalled once its
// child is gone, so another process that reuses the id is never hit.
bool EndDetached(int processId);

// Starts program with args and waits for it to end.
ProcessResult RunAndWait(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::filesystem::path& workingFolder = {});

// Opens a document with the desktop's handler for its kind (xdg-open).
ProcessResult OpenWithDesktop(const std::filesystem::path& file);

}  // namespace platform
