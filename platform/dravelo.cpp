// Start and answer of the outside file-picking helper.
#include "platform/dravelo.h"

#include <fstream>
#include <optional>

#include "platform/paths.h"
#include "platform/process.h"

namespace platform {
namespace fs = std::filesystem;
namespace {

// The first line of the answer file without its line end; nothing when the
// file is missing. `tooLong` is set when the line passes the callers' limit.
std::optional<std::string> ReadAnswerLine(const fs::path& file, bool& tooLong) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  tooLong = line.size() > kDraveloMaxPathBytes;
  return line;
}

}  // namespace

DraveloAnswer RunDravelo(DraveloCaller caller) {
  DraveloAnswer answer;
  const fs::path& folder = ProgramFolder();
  std::optional<fs::path> program = FindExistingIgnoreCase(folder / std::string(kDraveloProgram));
  std::error_code ec;
  if (!program || !fs::is_regular_file(*program, ec)) {
    answer.outcome = DraveloOutcome::kAbsent;
    return answer;
  }

  const fs::path answerFile = folder / std::string(kDraveloAnswerFile);
  fs::remove(answerFile, ec);
  if (ec) {
    answer.outcome = DraveloOutcome::kFailed;
    answer.message = answerFile.string() + ": cannot remove the previous answer: " + ec.message();
    return answer;
  }

  ProcessResult run = RunAndWait(*program, {caller == DraveloCaller::kMainProgram ? "/TRUE" : "/FALSE"}, folder);
  if (!run.started) {
    answer.outcome = DraveloOutcome::kFailed;
    answer.message = run.message;
    return answer;
  }

  bool tooLong = false;
  std::optional<std::string> line = ReadAnswerLine(answerFile, tooLong);
  fs::remove(answerFile, ec);
  if (!line || line->empty()) {
    answer.outcome = DraveloOutcome::kNothingChosen;
  } else if (tooLong) {
    // A cut path would name another file; better no choice than a wrong one.
    answer.outcome = DraveloOutcome::kFailed;
    answer.message =
        answerFile.string() + ": the chosen path is longer than " + std::to_string(kDraveloMaxPathBytes) + " bytes";
  } else {
    answer.outcome = DraveloOutcome::kChosen;
    answer.path = std::move(*line);
  }
  return answer;
}

}  // namespace platform
