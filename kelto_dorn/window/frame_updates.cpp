// Ticks, texts and enabling that the frame shows: its own commands and the
// state of commands the view runs. The handlers only read the program's words.
// See main_frame.h.
#include <cstdio>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/main_frame.h"
#include "kelto_dorn/window/pick_dispatch.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::CheckState;
using platform::CommandUpdate;

// The Help read-outs, formatted into a 128-byte buffer as the menu shows them.
void SetReadout(CommandUpdate& u, const char* formatUtf8, const std::string& value) {
  char text[128];
  std::snprintf(text, sizeof text, platform::Sjis(formatUtf8).c_str(), value.c_str());
  u.SetText(text);
}

// Ticks of the commands the view runs.
bool UpdateViewTicks(CommandUpdate& u) {
  const ViewState& v = g_view;
  switch (u.Id()) {
    case cmd::kOverwrite:
      u.SetText(platform::Sjis(v.m_overwrite ? "上書き[ON]" : "上書き[OFF]"));
      return true;
    case cmd::kSnapMouse:
      if (g_pickState == kPickStateWorkFigure && v.m_workFigureSwitch)
        u.SetCheck(CheckState::Indeterminate);
      else
        u.SetCheck(g_snapMode == 1);
      return true;
    case cmd::kSnapIntersection:
      u.SetCheck(g_snapMode == 2);
      return true;
    case cmd::kSnapEndPoint:
      u.SetCheck(g_snapMode == 3);
      return true;
    case cmd::kZoomBox:
    case 32815:
      u.SetCheck(g_pickState == kPickStateZoomBox);
      return true;
    case 32848:
    case 32932:
      u.SetCheck(g_copyMode != 0);
      return true;
    case 32864:
      u.SetCheck(v.m_boxKind == 1);
      return true;
    case 33247:
      u.SetCheck(v.m_boxKind == 2);
      return true;
    case 32776:
      u.SetCheck((g_showCurveArrows & kCurveArrowNames) != 0);
      return true;
    case 32775:
    case 33052:
      u.SetCheck(g_continuousMode != 0);
      return true;
    case 33141:
      u.SetCheck(g_curCommand == 33141);
      return true;
    case cmd::kOriginMove:
      u.SetCheck(v.m_originMoveMode != 0);
      return true;
    case cmd::kAutoIntersection:
      u.SetCheck(g_autoIntersection == 1);
      return true;
    case cmd::kLineSolid:
      u.SetCheck(g_lineType == 0);
      return true;
    case cmd::kLineDashed:
      u.SetCheck(g_lineType == kAttrDashed);
      return true;
    case cmd::kLineChain1:
      u.SetCheck(g_lineType == kAttrChain1);
      return true;
    case cmd::kLineChain2:
      u.SetCheck(g_lineType == kAttrChain2);
      return true;
    case 33112:
    case 33113:
    case 33114:
    case 33115:
      u.SetCheck(g_projection == u.Id() - 33112);
      return true;
    case 33086:
      // The text colour command needs a text to colour.
      if (g_textRecords[0].layer < 0) u.Enable(false);
      return true;
    case cmd::kDimensionExtension:
      u.SetCheck(v.m_dimensionExtension == 1);
      return true;
    default:
      return false;
  }
}

}  // namespace

void CMainFrame::OnUpdateCommand(CommandUpdate& u) {
  const int id = u.Id();
  if (const BarMenu* menu = BarMenuOfCommand(id)) {
    u.SetCheck(BarMenuShown(BarMenuIndex(*menu)));
    return;
  }
  if (const int layer = LayerOfCommand(id); layer >= 0) {
    u.SetCheck(g_figureTableSelector == layer);
    return;
  }
  if (id >= 33197 && id <= 33200) {
    u.Enable(static_cast<bool>(g_commandEngines.beginFigureCommand));
    return;
  }
  if (UpdateViewTicks(u)) return;
  switch (id) {
    case cmd::kBarMenuAll:
      u.SetCheck(barMenuAll_ != 0);
      return;
    case cmd::kAngle90Reference:
      u.SetCheck(g_view.m_angleReference90 != 0);
      return;
    case cmd::kDimensionValues:
      u.SetCheck(g_showDimensions == 1);
      return;
    case cmd::kCadDisplay:
      u.SetCheck(g_view.m_cadDisplayMode == 1);
      return;
    case cmd::kCoordinateAxes:
      u.SetCheck(g_showAxes != 0);
      return;
    case cmd::kThickLine:
      u.SetCheck(g_figureAttribute != 0);
      return;
    case cmd::kDimensionCrossMode:
      u.SetCheck(g_dimensionStyle.dimPickMode == 0);
      return;
    case cmd::kDimensionLineMode:
      u.SetCheck(g_dimensionStyle.dimPickMode == 1);
      return;
    case cmd::kDefinitionGroups:
      u.Enable(static_cast<bool>(g_commandEngines.definitionGroupDialog));
      return;
    case cmd::kCoordFileA:
    case cmd::kCoordFileB:
      u.Enable(coordFilesEnabled_ != 0);
      return;
    case cmd::kUnitName:
      SetReadout(u, "ユニット名 : %s", platform::FieldText(g_drawingHeader.unitName));
      return;
    case cmd::kSecondName:
      SetReadout(u, "セカンド名 : %s", platform::FieldText(g_drawingHeader.secondName));
      return;
    case cmd::kFileName:
      SetReadout(u, "ファイル名 : %s", platform::FieldText(g_drawingHeader.drawingName));
      return;
    case cmd::kMachineName:
      SetReadout(u, "    機械名 : %s", platform::FieldText(g_dbSelection.machineName));
      return;
    default:
      return;
  }
}

}  // namespace dorn
