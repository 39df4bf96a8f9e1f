// The route table of the view: see command_routes.h.
#include "kelto_dorn/window/command_routes.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "kelto_dorn/app/command_engines.h"

namespace dorn {

namespace {

struct Route {
  int id;
  RouteFamily family;
};

// Sorted by id: every command the view receives and its family.
constexpr Route kRoutes[] = {
    {32773, RouteFamily::kView},
    {32775, RouteFamily::kViewMode},
    {32776, RouteFamily::kViewMode},
    {32792, RouteFamily::kView},
    {32795, RouteFamily::kFigure},
    {32801, RouteFamily::kView},
    {32802, RouteFamily::kView},
    {32806, RouteFamily::kCamDataRun},
    {32809, RouteFamily::kCamDataRun},
    {32814, RouteFamily::kView},
    {32818, RouteFamily::kView},
    {32819, RouteFamily::kView},
    {32821, RouteFamily::kFigure},
    {32823, RouteFamily::kFigure},
    {32824, RouteFamily::kFigure},
    {32825, RouteFamily::kFigure},
    {32826, RouteFamily::kFigure},
    {32827, RouteFamily::kFigure},
    {32828, RouteFamily::kFigure},
    {32829, RouteFamily::kFigure},
    {32832, RouteFamily::kDxfExport},
    {32833, RouteFamily::kFigure},
    {32834, RouteFamily::kFigure},
    {32835, RouteFamily::kFigure},
    {32837, RouteFamily::kFigure},
    {32838, RouteFamily::kFigure},
    {32839, RouteFamily::kFigure},
    {32841, RouteFamily::kFigure},
    {32842, RouteFamily::kFigure},
    {32843, RouteFamily::kFigure},
    {32848, RouteFamily::kViewMode},
    {32852, RouteFamily::kFigure},
    {32853, RouteFamily::kFigure},
    {32854, RouteFamily::kFigure},
    {32855, RouteFamily::kFigure},
    {32857, RouteFamily::kFigure},
    {32858, RouteFamily::kFigure},
    {32859, RouteFamily::kFigure},
    {32860, RouteFamily::kFigure},
    {32861, RouteFamily::kFigure},
    {32862, RouteFamily::kFigure},
    {32864, RouteFamily::kViewMode},
    {32871, RouteFamily::kFigure},
    {32873, RouteFamily::kFigure},
    {32874, RouteFamily::kFigure},
    {32875, RouteFamily::kFigure},
    {32876, RouteFamily::kFigure},
    {32877, RouteFamily::kFigure},
    {32878, RouteFamily::kFigure},
    {32879, RouteFamily::kFigure},
    {32883, RouteFamily::kFigure},
    {32884, RouteFamily::kFigure},
    {32885, RouteFamily::kFigure},
    {32888, RouteFamily::kCadImport},
    {32905, RouteFamily::kCurve},
    {32907, RouteFamily::kCurve},
    {32908, RouteFamily::kCurve},
    {32910, RouteFamily::kCurve},
    {32911, RouteFamily::kCurve},
    {32912, RouteFamily::kCurve},
    {32913, RouteFamily::kCurve},
    {32914, RouteFamily::kCurve},
    {32915, RouteFamily::kCurve},
    {32917, RouteFamily::kCurve},
    {32921, RouteFamily::kCurve},
    {32922, RouteFamily::kCurve},
    {32923, RouteFamily::kCurve},
    {32924, RouteFamily::kCurve},
    {32925, RouteFamily::kCurve},
    {32926, RouteFamily::kCurve},
    {32929, RouteFamily::kCurve},
    {32930, RouteFamily::kCurve},
    {32933, RouteFamily::kCurve},
    {32941, RouteFamily::kSurface},
    {32943, RouteFamily::kSurface},
    {32944, RouteFamily::kSurface},
    {32945, RouteFamily::kSurface},
    {32947, RouteFamily::kSurface},
    {32948, RouteFamily::kSurface},
    {32949, RouteFamily::kSurface},
    {32950, RouteFamily::kSurface},
    {32951, RouteFamily::kSurface},
    {32952, RouteFamily::kSurface},
    {32953, RouteFamily::kSurface},
    {32954, RouteFamily::kSurface},
    {32955, RouteFamily::kSurface},
    {32956, RouteFamily::kSurface},
    {32959, RouteFamily::kMachining},
    {32960, RouteFamily::kMachining},
    {32961, RouteFamily::kMachining},
    {32962, RouteFamily::kMachining},
    {32963, RouteFamily::kMachining},
    {32964, RouteFamily::kMachining},
    {32965, RouteFamily::kMachining},
    {32966, RouteFamily::kMachining},
    {32967, RouteFamily::kMachining},
    {32968, RouteFamily::kMachining},
    {32978, RouteFamily::kFileMenu},
    {32994, RouteFamily::kView},
    {32995, RouteFamily::kView},
    {32998, RouteFamily::kView},
    {32999, RouteFamily::kView},
    {33000, RouteFamily::kCurve},
    {33001, RouteFamily::kView},
    {33005, RouteFamily::kView},
    {33009, RouteFamily::kPointGroupCurve},
    {33012, RouteFamily::kFigure},
    {33017, RouteFamily::kView},
    {33029, RouteFamily::kFileMenu},
    {33030, RouteFamily::kFileMenu},
    {33031, RouteFamily::kFileMenu},
    {33042, RouteFamily::kCamDataRun},
    {33044, RouteFamily::kCamDataRun},
    {33045, RouteFamily::kCamDataRun},
    {33048, RouteFamily::kPointGroupCurve},
    {33049, RouteFamily::kPointGroupCurve},
    {33050, RouteFamily::kPointGroupCurve},
    {33051, RouteFamily::kPointGroupCurve},
    {33054, RouteFamily::kFigure},
    {33055, RouteFamily::kView},
    {33060, RouteFamily::kView},
    {33070, RouteFamily::kSurface},
    {33073, RouteFamily::kSurface},
    {33074, RouteFamily::kFigure},
    {33075, RouteFamily::kCurve},
    {33076, RouteFamily::kUndoRedo},
    {33078, RouteFamily::kDxfExportOrPlot},
    {33079, RouteFamily::kFigure},
    {33081, RouteFamily::kCurve},
    {33086, RouteFamily::kFigure},
    {33089, RouteFamily::kCurve},
    {33092, RouteFamily::kMachining},
    {33094, RouteFamily::kView},
    {33095, RouteFamily::kView},
    {33096, RouteFamily::kView},
    {33097, RouteFamily::kView},
    {33098, RouteFamily::kView},
    {33100, RouteFamily::kFigure},
    {33101, RouteFamily::kFigure},
    {33102, RouteFamily::kFigure},
    {33103, RouteFamily::kFigure},
    {33104, RouteFamily::kFigure},
    {33105, RouteFamily::kFigure},
    {33107, RouteFamily::kFigure},
    {33110, RouteFamily::kView},
    {33111, RouteFamily::kCurve},
    {33112, RouteFamily::kViewMode},
    {33113, RouteFamily::kViewMode},
    {33114, RouteFamily::kViewMode},
    {33115, RouteFamily::kViewMode},
    {33125, RouteFamily::kView},
    {33126, RouteFamily::kCurve},
    {33127, RouteFamily::kCurve},
    {33128, RouteFamily::kCurve},
    {33140, RouteFamily::kFigure},
    {33141, RouteFamily::kCurve},
    {33142, RouteFamily::kDimension},
    {33143, RouteFamily::kDimension},
    {33144, RouteFamily::kDimension},
    {33145, RouteFamily::kDimension},
    {33146, RouteFamily::kDimension},
    {33147, RouteFamily::kDimension},
    {33148, RouteFamily::kDimension},
    {33149, RouteFamily::kDimension},
    {33150, RouteFamily::kDimension},
    {33151, RouteFamily::kDimension},
    {33159, RouteFamily::kDimension},
    {33160, RouteFamily::kDimension},
    {33161, RouteFamily::kDimension},
    {33162, RouteFamily::kDimension},
    {33163, RouteFamily::kDimension},
    {33164, RouteFamily::kDimension},
    {33166, RouteFamily::kView},
    {33168, RouteFamily::kMachining},
    {33169, RouteFamily::kOriginMove},
    {33172, RouteFamily::kFigure},
    {33173, RouteFamily::kFigure},
    {33175, RouteFamily::kFigure},
    {33188, RouteFamily::kMachining},
    {33189, RouteFamily::kMachining},
    {33190, RouteFamily::kMachining},
    {33202, RouteFamily::kCurve},
    {33203, RouteFamily::kMachining},
    {33204, RouteFamily::kCurve},
    {33216, RouteFamily::kFigure},
    {33218, RouteFamily::kUndoRedo},
    {33222, RouteFamily::kView},
    {33223, RouteFamily::kFigure},
    {33224, RouteFamily::kFigure},
    {33225, RouteFamily::kView},
    {33246, RouteFamily::kFileMenu},
    {33247, RouteFamily::kViewMode},
    {33248, RouteFamily::kFigure},
    {33251, RouteFamily::kFigure},
    {33257, RouteFamily::kView},
    {33258, RouteFamily::kDimension},
    {57607, RouteFamily::kFrameworkPrint},
    {57608, RouteFamily::kFrameworkPrint},
    {57609, RouteFamily::kFrameworkPrint},
};
static_assert(std::size(kRoutes) == kRoutedCommandCount);

constexpr std::array<int, kRoutedCommandCount> RouteIds() {
  std::array<int, kRoutedCommandCount> ids{};
  for (std::size_t i = 0; i < ids.size(); ++i) ids[i] = kRoutes[i].id;
  return ids;
}
constexpr std::array<int, kRoutedCommandCount> kRouteIds = RouteIds();

// The engine entry of a family; null for the view's own families.
const std::function<void(int)>* EngineEntry(RouteFamily family) {
  CommandEngines& e = g_commandEngines;
  switch (family) {
    case RouteFamily::kFigure:
      return &e.figureCommand;
    case RouteFamily::kViewMode:
      return &e.viewModeCommand;
    case RouteFamily::kOriginMove:
      return &e.originMoveCommand;
    case RouteFamily::kCurve:
      return &e.curveCommand;
    case RouteFamily::kPointGroupCurve:
      return &e.pointGroupCurveCommand;
    case RouteFamily::kDimension:
      return &e.dimensionCommand;
    case RouteFamily::kSurface:
      return &e.surfaceCommand;
    case RouteFamily::kMachining:
      return &e.machiningCommand;
    case RouteFamily::kCamDataRun:
      return &e.camDataRun;
    case RouteFamily::kDxfExportOrPlot:
      return &e.dxfExportOrPlot;
    case RouteFamily::kDxfExport:
      return &e.dxfExport;
    default:
      return nullptr;
  }
}

}  // namespace

RouteFamily FamilyOf(int id) {
  const auto* end = std::end(kRoutes);
  const auto* it = std::lower_bound(std::begin(kRoutes), end, id, [](const Route& r, int v) { return r.id < v; });
  return it != end && it->id == id ? it->family : RouteFamily::kNone;
}

bool IsEngineFamily(RouteFamily family) { return EngineEntry(family) != nullptr; }

bool EngineInstalled(RouteFamily family) {
  const auto* entry = EngineEntry(family);
  return entry && static_cast<bool>(*entry);
}

bool RouteToEngine(RouteFamily family, int id) {
  const auto* entry = EngineEntry(family);
  if (!entry || !*entry) return false;
  (*entry)(id);
  return true;
}

const int* RoutedCommands() { return kRouteIds.data(); }

}  // namespace dorn
