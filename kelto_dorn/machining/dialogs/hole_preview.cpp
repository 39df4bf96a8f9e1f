#include "kelto_dorn/machining/dialogs/hole_preview.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/machining/hole_rules.h"

namespace dorn {
namespace {

constexpr int kLeft = 330, kTop = 52, kRight = 497, kBottom = 267;
constexpr int kAxisX = 413, kTopY = 77;
constexpr platform::Color kPanelFill = 2105376;
constexpr std::int32_t kGlobalZTop = 9999;
// Pens of the palette: work block, surface line, and the tool outlines by
// remaining blade: too short, exactly used, through the work, with a tip,
// plain.
constexpr int kPenWork = 7, kPenSurface = 4;
constexpr int kPenShort = 1, kPenExact = 5, kPenThrough = 3, kPenTip = 2, kPenPlain = 6;

// A Z value as the preview shows it: under the 9999 switch the work top is
// the global Z.
double Shown(double z) { return g_globalZMode == kGlobalZTop ? z - g_globalZ : z; }

int OutlinePen(const AtcRecord& t, const StepCondition& c) {
  const double bottom = c.endDepth + c.bottomZStock;
  const double left = Round3(t.fluteLength - (c.depth - bottom));
  if (left < 0.0) return kPenShort;
  if (left == 0.0) return kPenExact;
  if (std::fabs(bottom) > g_globalZ) return kPenThrough;
  return t.tipLength != 0.0f ? kPenTip : kPenPlain;
}

std::vector<platform::Point> ToolOutline(const AtcRecord& t, const StepCondition& c, double rPoint, int scale) {
  auto y = [scale](double z) { return static_cast<int>(std::lround(kTopY - z * scale)); };
  const int w = static_cast<int>(t.diameter * 0.5 * scale);
  const int top = y(rPoint);
  const double bottom = Shown(c.endDepth) + c.bottomZStock;
  // A flank bottom above the top is drawn at the top.
  const int flank = std::max(y(t.tipLength + t.cornerRadius + bottom), top);
  std::vector<platform::Point> p = {{kAxisX - w, top}, {kAxisX + w, top}, {kAxisX + w, flank}};
  if (t.cornerRadius != 0.0f) {
    // Two quarter arcs of the corner radius either side of the axis.
    const double r = t.cornerRadius * scale, f = t.flatRadius * scale;
    for (int a = -5; a >= -90; a -= 5) {
      const double rad = a * std::numbers::pi / 180.0;
      p.push_back({static_cast<int>(kAxisX + f + r * std::cos(rad)), static_cast<int>(flank - r * std::sin(rad))});
    }
    p.push_back({static_cast<int>(kAxisX - f), y(bottom)});
    for (int a = -95; a >= -180; a -= 5) {
      const double rad = a * std::numbers::pi / 180.0;
      p.push_back({static_cast<int>(kAxisX - f + r * std::cos(rad)), static_cast<int>(flank - r * std::sin(rad))});
    }
  } else {
    p.push_back({kAxisX, y(bottom)});
  }
  p.push_back({kAxisX - w, flank});
  p.push_back({kAxisX - w, top});
  return p;
}

void Shift(std::vector<platform::Point>& points, platform::Point origin) {
  for (platform::Point& q : points) q.x += origin.x, q.y += origin.y;
}

}  // namespace

void DrawHolePreview(platform::DeviceContext& dc, platform::Point origin, int scale, const MachiningDefinition& d) {
  dc.FillRect({kLeft + origin.x, kTop + origin.y, kRight + 1 + origin.x, kBottom + 1 + origin.y}, {kPanelFill});
  const int thick = static_cast<int>(g_globalZ * scale);
  std::vector<platform::Point> work = {{345, kTopY}, {482, kTopY}, {482, kTopY + thick}, {345, kTopY + thick}, {345, kTopY}};
  Shift(work, origin);
  dc.SelectPen(PenForColour(kPenWork));
  dc.Polyline(work);
  const int surface = static_cast<int>(std::lround(kTopY - Shown(d.steps[0].depth) * scale));
  std::vector<platform::Point> line = {{337, surface}, {490, surface}};
  Shift(line, origin);
  dc.SelectPen(PenForColour(kPenSurface));
  dc.Polyline(line);
  const double rPoint = Shown(d.holeRPoint);
  for (int s = 0; s < kHoleStepRows; ++s) {
    const AtcRecord& t = d.stepTools[s];
    const StepCondition& c = d.steps[s];
    if (!(t.diameter > 0.0f) || Shown(c.endDepth) == Shown(c.depth)) continue;
    std::vector<platform::Point> outline = ToolOutline(t, c, rPoint, scale);
    Shift(outline, origin);
    dc.SelectPen(PenForColour(OutlinePen(t, c)));
    dc.Polyline(outline);
  }
}

}  // namespace dorn

namespace dorn {

void DrawSingleHolePreview(platform::DeviceContext& dc, platform::Point origin, bool helical,
                           const MachiningDefinition& d) {
  const int top = helical ? 350 : 330, zeroY = helical ? 400 : 375;
  auto y = [zeroY](double z) { return static_cast<int>(std::lround(zeroY - Shown(z))); };
  auto shifted = [origin](std::vector<platform::Point> p) {
    Shift(p, origin);
    return p;
  };
  dc.FillRect({484 + origin.x, top + origin.y, 769 + origin.x, top + 201 + origin.y}, {kPanelFill});
  const int thick = static_cast<int>(g_globalZ);
  dc.SelectPen(PenForColour(kPenWork));
  dc.Polyline(shifted({{504, zeroY}, {748, zeroY}, {748, zeroY + thick}, {504, zeroY + thick}, {504, zeroY}}));
  const StepCondition& c = d.steps[0];
  const AtcRecord& t = d.stepTools[0];
  const int surface = y(c.depth);
  dc.SelectPen(PenForColour(kPenSurface));
  dc.Polyline(shifted({{494, surface}, {758, surface}}));
  const int bottomPen = std::fabs(c.endDepth) > g_globalZ ? kPenThrough : kPenPlain;
  dc.SelectPen(PenForColour(bottomPen));
  const int r = y(d.holeRPoint);
  if (helical) {
    const double hole = c.chamferSize, taper = std::tan(c.chamferTipDiameter * std::numbers::pi / 180.0);
    if (!(hole > 0.0) || c.endDepth == c.depth) return;
    const int upper = static_cast<int>((hole + 2.0 * taper * std::fabs(c.areaCutValue - d.holeRPoint)) / 2.0);
    const int lower = static_cast<int>((hole - 2.0 * taper * std::fabs(c.endDepth - c.areaCutValue)) / 2.0);
    const int bottom = std::max(y(c.endDepth), r);
    dc.Polyline(shifted({{626 - upper, r}, {626 + upper, r}, {626 + lower, bottom}, {626 - lower, bottom}, {626 - upper, r}}));
    return;
  }
  const int w = static_cast<int>(t.diameter * 0.5);
  const int bottom = std::max(y(c.endDepth), r);
  const int flank = std::max(y(c.endDepth + t.tipLength), r);
  dc.Polyline(shifted({{626 - w, r}, {626 + w, r}, {626 + w, flank}, {626, bottom}, {626 - w, flank}, {626 - w, r}}));
}

}  // namespace dorn
