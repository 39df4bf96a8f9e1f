#pragma once
// The outside helper "Dravelo" lets the user pick a shared file. It lives in
// the program folder, is started there with one argument and waited for, and
// leaves its choice in the first line of "Dravelo.@@@" in the program folder,
// which the caller deletes. When the helper is not installed the caller gets
// kAbsent and uses the file chooser instead.
#include <string>
#include <string_view>

namespace platform {

inline constexpr std::string_view kDraveloProgram = "Dravelo";
inline constexpr std::string_view kDraveloAnswerFile = "Dravelo.@@@";
// Longest answer line the callers take (their path buffers hold 512 bytes
// with the terminator).
constexpr std::size_t kDraveloMaxPathBytes = 511;

// Who asks: the main program starts the helper with "/TRUE", the companion
// program with "/FALSE".
enum class DraveloCaller { kMainProgram, kCompanion };

enum class DraveloOutcome {
  kAbsent,         // no helper in the program folder: use the file chooser
  kChosen,         // path holds the choice
  kNothingChosen,  // the helper ended without an answer
  kFailed,         // it could not be started, or its answer is unusable (message says why)
};

struct DraveloAnswer {
  DraveloOutcome outcome = DraveloOutcome::kAbsent;
  std::string path;  // the first answer line as written, without its line end
  std::string message;
};

// Starts the helper, waits for it and takes its answer. A left-over answer
// file from an earlier run is removed first, so it is never taken as this
// run's choice.
DraveloAnswer RunDravelo(DraveloCaller caller);

}  // namespace platform
