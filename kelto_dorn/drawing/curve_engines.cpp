// The curve entries the view calls: see curve_engines.h.
#include "kelto_dorn/drawing/curve_engines.h"

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/drawing/curve_engine.h"
#include "kelto_dorn/drawing/curve_list_dialog.h"
#include "kelto_dorn/drawing/curve_registration.h"
#include "kelto_dorn/drawing/curve_selection.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/point_group_edit.h"

namespace dorn {
namespace {

// The curve list opens by its own command; every other id of the family
// begins a curve command.
void RouteCurveCommand(int id) {
  if (id == curve_cmd::kCurveList) {
    OnCurveList();
    return;
  }
  BeginCurveCommand(id);
}

// The curve picked while the curve list is open is opened for editing in
// the registration dialog, as a double click in the list does.
int EditPickedCurve() {
  const int curve = g_curCurveIndex;
  if (curve < 0 || curve >= g_curveCount) return 0;
  const int saved = g_curveCount;
  g_curveCount = curve;
  const int result = RegisterCurve(kRegisterTaperFigures);
  g_curveCount = saved;
  return result;
}

}  // namespace

void InstallCurveEngines() {
  CommandEngines& e = g_commandEngines;
  e.curveCommand = RouteCurveCommand;
  e.beginCurveCommand = [](int id) { BeginCurveCommand(id); };
  e.dispatchCurveCommand = [](int id) { return DispatchCurveCommand(id); };
  e.cancelCurveCommand = [] { CancelCurveCommand(); };
  e.registerCurve = EditPickedCurve;
  e.selectCurvesByName = [] { return SelectCurvesByName(); };
  e.pointGroupCurveCommand = RoutePointGroupCommand;
  e.pointGroupInput = [](platform::DeviceContext& dc) { PointGroupInput(dc); };
}

}  // namespace dorn
