#include "tests/kelto_dorn/window/recording_engines.h"

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"

namespace dorn::test {

std::vector<std::string> RecordingEngines::Entries() const {
  std::vector<std::string> names;
  for (const EngineCall& c : calls_) names.push_back(c.entry);
  return names;
}

void RecordingEngines::InstallFamilies() {
  CommandEngines& e = g_commandEngines;
  auto family = [this](const char* name) { return [this, name](int id) { calls_.push_back({name, id}); }; };
  e.figureCommand = family("figure");
  e.viewModeCommand = family("viewMode");
  e.originMoveCommand = family("originMove");
  e.curveCommand = family("curve");
  e.pointGroupCurveCommand = family("pointGroup");
  e.dimensionCommand = family("dimension");
  e.surfaceCommand = family("surface");
  e.machiningCommand = family("machining");
  e.machiningCommandAvailable = nullptr;  // the recording family takes every machining id
  e.camDataRun = family("camData");
  e.dxfExportOrPlot = family("dxfOrPlot");
  e.dxfExport = family("dxfExport");
}

void RecordingEngines::InstallAll() {
  InstallFamilies();
  CommandEngines& e = g_commandEngines;
  e.executeFigureCommand = [this](int kind) {
    calls_.push_back({"execute", kind});
    return figureResult;
  };
  e.beginFigureCommand = [this](int kind) { calls_.push_back({"begin", kind}); };
  e.setActiveCommand = [this](int kind, int press) {
    calls_.push_back({press ? "press" : "release", kind});
    g_curCommand = kind;
  };
  e.eraseRubberBand = [this] {
    calls_.push_back({"erase", 0});
    return 0;
  };
  e.addPointOnFigure = [this](platform::DeviceContext&, int prompt) { calls_.push_back({"addPoint", prompt}); };
  e.resetCommandInput = [this] {
    calls_.push_back({"reset", 0});
    g_curCommand = g_pickState = g_commandStep = g_pickIndex = 0;
  };
  e.storeAndDrawFigure = [this](int flag) { calls_.push_back({"store", flag}); };
  e.showFigureAnalysis = [this](platform::DeviceContext&) { calls_.push_back({"analyse", 0}); };
  e.pickFigureOrCurve = [this](int mode) {
    calls_.push_back({"pick", mode});
    if (pickHits) {
      g_curFigure = FigureRecord{};
      g_curFigure.kind = kKindLine;
      g_curFigure.start = {0, 0};
      g_curFigure.end = {10, 0};
      g_curFigure.dir = {1, 0};
    }
    return pickHits;
  };
  e.pickFiguresNearCursor = [this](int kind) {
    calls_.push_back({"nearCursor", kind});
    if (nearCursorFinds > 0) g_curFigure.start = {5, 5};
    return nearCursorFinds;
  };
  e.findFigureAtPick = [this](int index) {
    calls_.push_back({"findAtPick", index});
    return curveFound;
  };
  e.pickWorkFigure = [this](int arg) {
    calls_.push_back({"pickWork", arg});
    return workFigureTaken;
  };
  e.drawPickHighlights = [this](platform::DeviceContext&) { calls_.push_back({"highlights", 0}); };
  e.beginCurveCommand = [this](int id) { calls_.push_back({"beginCurve", id}); };
  e.dispatchCurveCommand = [this](int id) {
    calls_.push_back({"curveMachine", id});
    return 0;
  };
  e.registerCurve = [this] {
    calls_.push_back({"registerCurve", 0});
    return 0;
  };
  e.inputDimension = [this](platform::DeviceContext&, int id) { calls_.push_back({"inputDimension", id}); };
  e.selectOriginNearPoint = [this](double, double) {
    calls_.push_back({"selectOrigin", 0});
    return 0;
  };
  e.reassignFigureOrigin = [this](double, double) { calls_.push_back({"reassignOrigin", 0}); };
  e.setDimensionPickMode = [this](int mode) { calls_.push_back({"dimensionMode", mode}); };
}

}  // namespace dorn::test
