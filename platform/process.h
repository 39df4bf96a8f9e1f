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
};

// Starts program with args and returns at once; the child is not waited for
// (and leaves no zombie behind).
ProcessResult StartDetached(const std::filesystem::path& program, const std::vector<std::string>& args,
                            const std::filesystem::path& workingFolder = {});

// Starts program with args and waits for it to end.
ProcessResult RunAndWait(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::filesystem::path& workingFolder = {});

// Opens a document with the desktop's handler for its kind (xdg-open).
ProcessResult OpenWithDesktop(const std::filesystem::path& file);

}  // namespace platform
