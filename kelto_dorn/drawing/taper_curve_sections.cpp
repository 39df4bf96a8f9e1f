// The figures of a taper curve by section: see taper_curve_sections.h.
#include "kelto_dorn/drawing/taper_curve_sections.h"

#include <cstddef>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/drawing/curve_figure_repack.h"
#include "kelto_dorn/drawing/curve_registration.h"
#include "kelto_dorn/drawing/taper_contour_dialog.h"

namespace dorn {

void MoveFigureToSection(CurveRecord& record, int index, int section) {
  if (section < 0 || section >= kTaperSections) return;
  GetFigure(kTableCurves, index);
  const int old = g_curFigure.style;
  if (old >= 0 && old < kTaperSections) {
    const float was = TaperField(record, TaperValue::ReferenceOffset, old);
    if (was != 0.0f) OffsetFigure(-was);
  }
  const float now = TaperField(record, TaperValue::ReferenceOffset, section);
  if (now != 0.0f) OffsetFigure(now);
  g_curFigure.style = section;
  PutFigure(kTableCurves, index);
}

int ReopenTaperDialog(int curve) {
  // The dialog works on the record at the curve count.
  const int count = g_curveCount;
  g_curveCount = curve;
  const int result = RegisterCurve(kRegisterTaperFigures);
  g_curveCount = count;
  const CurveRecord& record = g_curveTable[static_cast<std::size_t>(curve)];
  if (result == kCurveRegisteredNew && g_workCount == record.end - record.first) {
    for (int i = 0; i < g_workCount; ++i) {
      LoadSegment(i);
      g_curFigure.attribute = (g_curFigure.attribute & ~kAttrColourMask) | (record.colour & kAttrColourMask);
      PutFigure(kTableCurves, record.first + i);
    }
  }
  ClearCurveWorkTable();
  return result;
}

}  // namespace dorn
