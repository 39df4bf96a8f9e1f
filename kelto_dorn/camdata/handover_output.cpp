// The four hand-over files, written together: the companion reads them as
// one job, so all four are replaced or none is. Each record set is checked
// first (a refusal writes nothing), then platform::WriteFilesTogether writes
// every new file beside its old one and renames them only when all are
// complete; a failure at any step leaves the previous hand-over byte for
// byte and nothing of the attempt in the program folder.
#include <filesystem>
#include <vector>

#include "kelto_dorn/camdata/cam_builder.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"

namespace dorn {

bool CCamDataBuilder::WriteHandoverFiles(CamBuildResult& result) {
  const std::filesystem::path folder = platform::ProgramFolder();
  std::vector<handover::CodeLineRecord> codeLineRecords;
  platform::FileWrite files[4];
  // Every element passed the finiteness check of WriteCamRecord as it was
  // written, so the stream goes out as it stands rather than being read
  // through a second time (it is by far the largest of the four).
  files[0] = {folder / handover::kElementFileName, elements_.data(), elements_.size() * sizeof(handover::NcElement)};
  // The pit-in map is always rewritten, empty when there are no items, so
  // that a map of an earlier build is never reported with this one.
  const platform::FileResult prepared[3] = {
      handover::PrepareToolMapFile(folder / handover::kToolMapFileName, toolMap_, files[1]),
      handover::PrepareCodeLineFile(folder / handover::kCodeLineFileName, codeLines_,
                                    static_cast<std::size_t>(codeLineCount_), codeLineRecords, files[2]),
      handover::PreparePitInMap(folder / handover::kPitInMapFileName, pitInMap_, files[3])};
  for (const platform::FileResult& p : prepared) {
    if (p.ok()) continue;
    Fail(platform::Utf8ToCp932(p.message));
    return false;
  }
  if (const platform::FileResult w = platform::WriteFilesTogether(files); !w.ok()) {
    Fail(platform::Utf8ToCp932(w.message));
    return false;
  }
  result.written = true;
  return true;
}

}  // namespace dorn
