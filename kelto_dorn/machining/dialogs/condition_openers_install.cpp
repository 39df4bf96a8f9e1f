#include "kelto_dorn/machining/dialogs/condition_openers_install.h"

#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/machining/dialogs/area_cut_dialogs.h"
#include "kelto_dorn/machining/dialogs/capsule_name_dialogs.h"
#include "kelto_dorn/machining/dialogs/check_surface_dialog.h"
#include "kelto_dorn/machining/dialogs/condition_openers.h"
#include "kelto_dorn/machining/dialogs/draw_line_dialog.h"
#include "kelto_dorn/machining/dialogs/omit_dialog.h"
#include "kelto_dorn/machining/dialogs/repeat_dialogs.h"
#include "kelto_dorn/machining/dialogs/transform_dialogs.h"

namespace dorn {

namespace {
template <typename Dialog>
int Run() {
  Dialog dialog;
  return RunModalDialog(dialog);
}
}  // namespace

void InstallConditionOpeners() {
  ConditionOpeners& o = g_conditionOpeners;
  o.areaCut = Run<CAreaCutDlg>;
  o.figureResolution = Run<CFigureResolutionDlg>;
  o.xAxisDevelop = Run<CXAxisDevelopDlg>;
  o.repeatMachining = Run<CRepeatMachiningDlg>;
  o.repeatRange = Run<CRepeatRangeDlg>;
  o.move = Run<CMoveDlg>;
  o.multiPiece = Run<CMultiPieceDlg>;
  o.rotation = Run<CRotationDlg>;
  o.shrink = Run<CShrinkDlg>;
  o.axisConversion = Run<CAxisConversionDlg>;
  o.omit = Run<COmitDlg>;
  o.checkSurface = Run<CCheckSurfaceDlg>;
  o.runDrawFigureList = RunDrawFigureList;
  o.capsuleNames = Run<CCapsuleNameListDlg>;
}

}  // namespace dorn
