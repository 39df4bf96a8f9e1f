// The view's keys: see kel_view.h.
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/kel_view.h"
#include "kelto_dorn/window/pick_dispatch.h"
#include "platform/key_codes.h"

namespace dorn {

namespace {

constexpr double kTiltStep = 5.0;    // degrees per arrow key
constexpr double kTiltLimit = 79.0;  // the box leans at most this far
constexpr int kBoxStageCommand = 4;

// Up/Down lean the first edge, Right/Left the second, while a box is dragged.
void Tilt(CKelView& view, double& angle, double step) {
  if (step < 0 ? !(angle > -kTiltLimit) : !(angle < kTiltLimit)) return;
  auto dc = view.GetPreparedDC();
  if (dc) view.DrawRubberBandBox(*dc, g_view.m_boxStage);
  angle += step;
  if (dc) view.DrawRubberBandBox(*dc, g_view.m_boxStage);
}

void CycleAperture(CKelView& view) {
  g_pickApertureSize = g_pickApertureSize % 3 + 1;
  const double scale =
      g_layerScale[static_cast<std::size_t>(g_curLayer >= 0 && g_curLayer < kLayerCount ? g_curLayer : 0)];
  g_pickTolerance = 100.0 / (scale > 0.0 ? scale : 1.0) * g_pickApertureSize;
  view.UpdateCursor();
}

void ChooseCandidateGroup(CKelView& view, int group) {
  if (g_commandEngines.setCandidatePage) g_commandEngines.setCandidatePage(group);
  view.RedrawView();
}

}  // namespace

void CKelView::OnKeyDown(int key, unsigned modifiers) {
  (void)modifiers;
  ViewState& v = g_view;
  const bool tilting = v.m_boxStage == kBoxStageCommand;
  switch (key) {
    case platform::kKeyEscape:
      if (g_curCommand == cmd::kCapsuleMachining && g_commandEngines.dispatchCurveCommand) {
        ++g_commandStep;
        g_commandEngines.dispatchCurveCommand(cmd::kCapsuleMachining);
      }
      OnCancelPick(*this);
      return;
    case platform::kKeySpace:
      return CycleAperture(*this);
    case platform::kKeyPageUp:
      return ZoomIn();
    case platform::kKeyPageDown:
      return ZoomOut();
    case platform::kKeyUp:
      return tilting ? Tilt(*this, v.m_tiltAngle1, -kTiltStep) : PanStep(0, +1);
    case platform::kKeyDown:
      return tilting ? Tilt(*this, v.m_tiltAngle1, +kTiltStep) : PanStep(0, -1);
    case platform::kKeyRight:
      return tilting ? Tilt(*this, v.m_tiltAngle2, -kTiltStep) : PanStep(+1, 0);
    case platform::kKeyLeft:
      return tilting ? Tilt(*this, v.m_tiltAngle2, +kTiltStep) : PanStep(-1, 0);
    case platform::FunctionKey(1):
      return StartZoomBox();
    case platform::FunctionKey(2):
      return ZoomBack();
    case platform::FunctionKey(5):
      if (g_curCommand == cmd::kCurveJoin)
        if (auto dc = GetPreparedDC()) {
          ClickContext c{*this, *dc, false};
          TakeBackJoinedFigure(c);
        }
      return;
    case platform::FunctionKey(7):
      return ChooseCandidateGroup(*this, 1);
    case platform::FunctionKey(8):
      return ChooseCandidateGroup(*this, 2);
    case platform::FunctionKey(9):
      return ChooseCandidateGroup(*this, 3);
    case platform::kKeyF12:
      return CopyViewToClipboard();
    default:
      return;
  }
}

}  // namespace dorn
