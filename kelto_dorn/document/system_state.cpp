#include "kelto_dorn/document/system_state.h"

#include "kelto_dorn/camdata/camdata_state.h"
#include "kelto_dorn/document/system_record.h"
#include "kelto_dorn/document/undo.h"

namespace dorn {

std::filesystem::path g_programFolder;
std::filesystem::path g_dataFolder;
FileServerSettings g_fileServerSettings;
BoxHoleSettings g_boxHoleSettings;
DisplayFlagRecord g_displayFlags;
std::string g_versionText;
std::string g_messageCaption;
int ModalDepth = 0;
int g_companionProcessId = 0;
int g_exitConfirmed = 0;
int g_nextFigureNumber = 0;
int g_curveFiguresEnd = 0;
int g_appValueInt = 0;
double g_appValueDouble = 0.0;

void ResetDocumentState() {
  g_programFolder.clear();
  g_dataFolder.clear();
  g_fileServerSettings = FileServerSettings{};
  g_boxHoleSettings = BoxHoleSettings{};
  g_displayFlags = DisplayFlagRecord{};
  ResetCamDataState();
  g_versionText.clear();
  g_messageCaption.clear();
  ModalDepth = 0;
  g_companionProcessId = 0;
  g_exitConfirmed = 0;
  g_nextFigureNumber = 0;
  g_curveFiguresEnd = 0;
  g_appValueInt = 0;
  g_appValueDouble = 0.0;
  g_qupSettings = QupSettings{};
  g_undo = UndoState{};
}

}  // namespace dorn
