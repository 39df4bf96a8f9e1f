#include "kelto_qup/shell/display_window.h"

#include <algorithm>
#include <cmath>

#include "platform/paths.h"
#include "shared/handover/nc_element.h"

namespace qup::shell {

namespace {

constexpr char kWindowFileName[] = "$CG_WINDW.@@@";
constexpr double kDefaultZoom = 50.0;
constexpr int kDefaultLastColour = 6;
constexpr double kDefaultAxisInterval = 20.0;
constexpr double kArrowAngleX = 30.0, kArrowAngleZ = -30.0;

void NoteFault(const platform::FileResult& r, std::vector<std::string>& faults) {
  if (!r.ok() && !r.missing()) faults.push_back(r.message);
}

}  // namespace

handover::PlotterSettings DefaultDrawingState() {
  handover::PlotterSettings s;
  auto& g = s.graphic;
  for (double& z : g.scale) z = kDefaultZoom;
  g.rotationX = kArrowAngleX;
  g.rotationZ = kArrowAngleZ;
  g.paneWord = 0;
  g.viewingPlane = kPlaneArrow;
  g.lineColour = kDefaultLastColour;
  g.rapidDisplay = 0;
  g.axes = 0;
  g.axisInterval = kDefaultAxisInterval;
  g.planeHeight = 0.0;
  auto& p = s.plotter;
  for (double& x : p.centreX) x = 190.0;
  for (double& y : p.centreY) y = 140.0;
  for (double& z : p.scale) z = 100.0;
  p.paneWord = 0;      // COM1
  p.lineColour = 1;    // pen 1
  p.colourChange = 1;  // one pen for every tool
  p.viewingPlane = 1;  // projection 1
  p.rotationX = kArrowAngleX;
  p.rotationZ = kArrowAngleZ;
  p.rapidDisplay = 0;
  return s;
}

std::vector<std::string> LoadDisplayWindow(PathPanes& panes, bool reloadDisplayList) {
  std::vector<std::string> faults;
  const platform::fs::path folder = platform::ProgramFolder();

  panes.lib = DefaultDrawingState();
  NoteFault(handover::ReadPlotterSettings(folder / handover::kDrawingStateFileName, panes.lib), faults);
  auto& g = panes.lib.graphic;
  for (double& z : g.scale) {
    if (z < 1.0) z = 1.0;
  }
  if (g.paneWord != 0) g.viewingPlane = kPlaneArrow;
  if (g.viewingPlane < 0 || g.viewingPlane > kPlaneArrow) g.viewingPlane = 0;
  if (g.lineColour == 0) g.lineColour = 1;
  panes.savedRecord = g;
  panes.hasSavedRecord = false;

  panes.extents = PathExtents3{};
  handover::NcElement window;
  const platform::FileResult w = platform::ReadRecord(folder / kWindowFileName, window);
  NoteFault(w, faults);
  if (w.ok()) {
    const double values[] = {window.d0, window.d1, window.d2, window.d3, window.d4, window.d5};
    const bool finite = std::all_of(std::begin(values), std::end(values), [](double v) { return std::isfinite(v); });
    // A run that drew nothing leaves its minimum above its maximum.
    if (finite && window.d0 <= window.d1 && window.d2 <= window.d3 && window.d4 <= window.d5) {
      panes.extents.Add(window.d0, window.d2, window.d4);
      panes.extents.Add(window.d1, window.d3, window.d5);
      panes.extentsCentre = {(window.d0 + window.d1) * 0.5, (window.d2 + window.d3) * 0.5,
                             (window.d4 + window.d5) * 0.5};
    }
  }
  if (!reloadDisplayList) panes.extents = PathExtents3{};

  panes.cgm = handover::DisplaySettingsRecord{};
  NoteFault(handover::ReadDisplaySettings(folder / handover::kDisplaySettingsFileName, panes.cgm), faults);
  panes.colorOffset = 0;
  panes.zoomAccumulator = panes.panAccumulatorX = panes.panAccumulatorY = 0.0;
  panes.zoomUndo.clear();
  return faults;
}

std::vector<std::string> SaveDisplaySettings(const PathPanes& panes, const handover::DrawingHeader& header) {
  std::vector<std::string> faults;
  if (header.startMode == 2 || header.subMode == 2) return faults;
  const platform::fs::path folder = platform::ProgramFolder();
  NoteFault(handover::WritePlotterSettings(folder / handover::kDrawingStateFileName, panes.lib), faults);
  handover::DisplaySettingsRecord cgm = panes.cgm;
  cgm.colorOffset = panes.colorOffset;
  NoteFault(handover::WriteDisplaySettings(folder / handover::kDisplaySettingsFileName, cgm), faults);
  return faults;
}

}  // namespace qup::shell
