#include "kelto_dorn/files/dialogs/shared_file_pick.h"

#include "kelto_dorn/files/files_messages.h"
#include "kelto_dorn/files/files_state.h"
#include "platform/choosers.h"
#include "platform/dravelo.h"
#include "platform/text.h"

namespace dorn {

namespace {

platform::FileChooserRequest AllFiles(bool save) {
  platform::FileChooserRequest request;
  request.save = save;
  request.fileName = save ? "*.*" : "";
  request.filters = {{platform::Sjis("全てのファイル"), {"*.*"}}};
  return request;
}

}  // namespace

bool PickSharedFile() {
  g_pathBuffer[0] = '\0';
  const platform::DraveloAnswer answer = platform::RunDravelo(platform::DraveloCaller::kMainProgram);
  std::string chosen;
  if (answer.outcome == platform::DraveloOutcome::kChosen) {
    chosen = answer.path;
  } else if (answer.outcome == platform::DraveloOutcome::kFailed) {
    ShowFilesMessage(platform::Utf8ToCp932(answer.message));
    return false;
  } else if (answer.outcome == platform::DraveloOutcome::kAbsent) {
    const auto picked = platform::ChooseFile(AllFiles(false));
    if (picked) chosen = *picked;
  }
  if (chosen.empty()) return false;
  platform::SetFieldText(g_pathBuffer, chosen);
  return true;
}

std::vector<std::string> KelCommonOpenFiles() { return platform::ChooseFiles(AllFiles(false)); }

std::string KelCommonSaveFile() {
  const auto picked = platform::ChooseFile(AllFiles(true));
  return picked ? *picked : std::string();
}

}  // namespace dorn
