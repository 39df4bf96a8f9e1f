#include "shared/handover/drawing_state_settings.h"

#include "shared/handover/record_io.h"

namespace handover {

namespace {

bool ValuesFinite(const DrawingStateRecord& r) {
  const double rotations[] = {r.rotationX, r.rotationY, r.rotationZ, r.planeHeight, r.axisInterval};
  return AllFinite(r.centreX) && AllFinite(r.centreY) && AllFinite(r.scale) && AllFinite(rotations);
}

bool ValuesFinite(const PlotterSettings& s) { return ValuesFinite(s.graphic) && ValuesFinite(s.plotter); }

}  // namespace

platform::FileResult ReadPlotterSettings(const std::filesystem::path& path, PlotterSettings& settings) {
  PlotterSettings read;
  platform::FileResult result = platform::ReadRecord(path, read);
  if (!result.ok()) return result;
  if (!ValuesFinite(read)) return DamagedFile(path, "a position, scale or angle is not a number");
  settings = read;
  return result;
}

PlotterSettings DefaultPlotterSettings() {
  PlotterSettings s;
  DrawingStateRecord& g = s.graphic;
  for (double& v : g.scale) v = 50.0;
  g.rotationX = 30.0;
  g.rotationZ = -30.0;
  g.lineColour = 1;
  g.viewingPlane = 1;
  g.axisInterval = 20.0;
  DrawingStateRecord& p = s.plotter;
  for (double& v : p.centreX) v = 190.0;
  for (double& v : p.centreY) v = 140.0;
  for (double& v : p.scale) v = 100.0;
  p.paneWord = 2;
  p.lineColour = 1;
  p.viewingPlane = 1;
  return s;
}

platform::FileResult WritePlotterSettings(const std::filesystem::path& path, const PlotterSettings& settings) {
  if (!ValuesFinite(settings)) return RefusedWrite(path, "a position, scale or angle is not a number");
  return platform::WriteRecord(path, settings);
}

}  // namespace handover
