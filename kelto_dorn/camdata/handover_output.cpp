// The four hand-over files, written together: each goes to a temporary name
// in the program folder first, and only when all four are written are they
// renamed over the old ones. A failure removes the temporary files and
// leaves the previous hand-over as it was.
#include <filesystem>
#include <system_error>

#include "kelto_dorn/camdata/cam_builder.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

namespace {

namespace fs = std::filesystem;

// The temporary name of a hand-over file while the set is written.
fs::path PendingName(const fs::path& target) {
  fs::path p = target;
  p += ".new";
  return p;
}

}  // namespace

bool CCamDataBuilder::WriteHandoverFiles(CamBuildResult& result) {
  const fs::path folder = platform::ProgramFolder();
  const fs::path targets[4] = {folder / handover::kElementFileName, folder / handover::kToolMapFileName,
                               folder / handover::kCodeLineFileName, folder / handover::kPitInMapFileName};
  // The pit-in map is always rewritten, empty when there are no items, so
  // that a map of an earlier build is never reported with this one.
  const platform::FileResult writes[4] = {
      handover::WriteElementFile(PendingName(targets[0]), elements_),
      handover::WriteToolMapFile(PendingName(targets[1]), toolMap_),
      handover::WriteCodeLineFile(PendingName(targets[2]), codeLines_, static_cast<std::size_t>(codeLineCount_)),
      handover::WritePitInMap(PendingName(targets[3]), pitInMap_)};
  std::error_code ec;
  for (const platform::FileResult& w : writes) {
    if (w.ok()) continue;
    for (const fs::path& t : targets) fs::remove(PendingName(t), ec);
    Fail(platform::Utf8ToCp932(w.message));
    return false;
  }
  for (const fs::path& t : targets) {
    fs::rename(PendingName(t), t, ec);
    if (ec) {
      for (const fs::path& other : targets) fs::remove(PendingName(other), ec);
      Fail(platform::Utf8ToCp932(t.string() + ": cannot replace: " + ec.message()));
      return false;
    }
  }
  result.written = true;
  return true;
}

}  // namespace dorn
