#include "tests/kelto_dorn/camdata/cam_fixture.h"

#include <cmath>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/camdata/camdata_state.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/support/shown_texts.h"

namespace dorn::test {

namespace {

void ResetAll() {
  ResetAppState();
  ResetViewState();
  ResetCommandEngines();
  ResetSurfaceState();
  ResetMachiningState();
  ResetDbSelection();
  ResetCamDataState();
}

}  // namespace

void CamDataTest::SetUp() {
  ProgramFolderTest::SetUp();
  ResetAll();
  backend_ = &platform::headless::InstallHeadlessBackend();
  platform::SetDataRoot(home());
  ASSERT_TRUE(g_figureStore.Start());
  InitLayerDefaults();
  g_drawingHeader = handover::DefaultDrawingHeader();
  platform::SetFieldText(g_drawingHeader.drawingName, "HOLE");
  platform::SetFieldText(g_drawingHeader.unitName, "UNIT");
  platform::SetFieldText(g_drawingHeader.secondName, "PGM");
  platform::SetFieldText(g_drawingHeader.dataExtension, "NC");
  g_drawingHeader.workSizeX = 100.0;
  g_drawingHeader.workSizeY = 80.0;
  g_drawingHeader.workSizeZ = 20.0;
  g_drawingHeader.workOriginPosition = 3;  // lower left
  atc_ = std::make_unique<DocAtcTable>();
  slots_ = std::make_unique<DefinitionSlots>();
  ClearMachiningTable(*slots_, *atc_);
}

void CamDataTest::TearDown() {
  builder_.reset();
  slots_.reset();
  atc_.reset();
  ResetAll();
  platform::UninstallBackend();
  backend_ = nullptr;
  ProgramFolderTest::TearDown();
}

std::vector<std::string> CamDataTest::ShownTexts() const { return testsupport::ShownMessageTexts(*backend_); }

void CamDataTest::AddPointCurve(std::int32_t key, const std::vector<Point>& points, std::int32_t kind,
                                const char* name) {
  CurveRecord c;
  c.key = key;
  c.kind = kind;
  c.first = GetFigureCount(kTableCurves);
  g_figureTableSelector = kTableCurves;
  for (const Point& p : points) {
    ClearCurrentFigure();
    g_curFigure.kind = kKindPoint;
    g_curFigure.start = {p.x, p.y};
    g_curFigure.end = {p.x, p.y};
    ASSERT_TRUE(AppendFigure(0));
  }
  c.end = GetFigureCount(kTableCurves);
  platform::SetFieldText(c.name, name);
  g_curveTable[static_cast<std::size_t>(g_curveCount++)] = c;
  g_figureTableSelector = 0;
}

void CamDataTest::AddLineCurve(std::int32_t key, const std::vector<Point>& points, std::int32_t kind,
                               const char* name) {
  CurveRecord c;
  c.key = key;
  c.kind = kind;
  c.first = GetFigureCount(kTableCurves);
  g_figureTableSelector = kTableCurves;
  for (std::size_t i = 1; i < points.size(); ++i) {
    ClearCurrentFigure();
    g_curFigure.kind = kKindLine;
    g_curFigure.start = {points[i - 1].x, points[i - 1].y};
    g_curFigure.end = {points[i].x, points[i].y};
    const double dx = points[i].x - points[i - 1].x, dy = points[i].y - points[i - 1].y;
    const double length = std::hypot(dx, dy);
    g_curFigure.dir = {dx / length, dy / length};
    ASSERT_TRUE(AppendFigure(0));
  }
  c.end = GetFigureCount(kTableCurves);
  platform::SetFieldText(c.name, name);
  g_curveTable[static_cast<std::size_t>(g_curveCount++)] = c;
  g_figureTableSelector = 0;
}

int CamDataTest::StoreDefinition(const MachiningDefinition& d, const char* nameUtf8) {
  const int slot = g_machiningCount;
  slots_->Slot(slot) = d;
  DefinitionIndexRecord& r = g_machiningIndexTable.records[static_cast<std::size_t>(slot)];
  r = DefinitionIndexRecord{};
  r.recordKind = kIndexRecordMachining;
  r.key = d.number;
  r.slot = slot;
  r.kindCode = d.kind;
  platform::SetFieldText(r.name, platform::Sjis(nameUtf8));
  ++g_machiningCount;
  MachiningOrderValid = 0;
  return slot;
}

MachiningDefinition CamDataTest::MakeHoleDefinition(const HoleDefinition& h) const {
  ResetMachiningRecord(*atc_);
  MachiningDefinition d = g_curMachiningDef;
  d.kind = h.kind;
  d.number = h.number;
  d.generalA = h.post;
  d.generalB = h.workCoordinate;
  d.general16[0] = 0;
  d.general16[1] = h.returnLevel;
  d.value[3] = h.atcOriginX;
  d.value[4] = h.atcOriginY;
  d.zOrigin = h.zOrigin;
  d.holeIPoint = h.iPoint;
  d.holeRPoint = h.rPoint;
  d.curves[0].type = 1;
  d.curves[0].key = h.curveKey;
  StepCondition& c = d.steps[0];
  c.depth = h.surfaceZ;
  c.endDepth = h.bottom;
  AtcRecord& t = d.stepTools[0];
  t.inUse = 1;
  t.atcNumber = h.atc;
  t.outputTNumber = h.outputT;
  t.cannedCycle = h.cycle;
  t.spindleSpeed = h.spindle;
  t.diameter = h.diameter;
  t.feed = h.feed;
  t.peckDepth = h.peck;
  t.pCode = h.dwell;
  t.tipLength = h.tipLength;
  t.kCode = h.repeat;
  platform::SetFieldText(t.secName, "DRILL");
  platform::SetFieldText(t.toolName, "TOOLS");
  return d;
}

int CamDataTest::AddHoleDefinition(const HoleDefinition& h) { return StoreDefinition(MakeHoleDefinition(h), h.name); }

void CamDataTest::OrderAllItems() {
  BuildOrderItems(*slots_, *atc_);
  MachiningOrderValid = kMachiningOrderUpToDate;
  TruncateMachiningOrder(0);
  const int n = OrderItemCount();
  for (int i = 0; i < n; ++i) {
    g_orderItems[static_cast<std::size_t>(i)].orderPosition = i + 1;
    g_machiningOrderList[static_cast<std::size_t>(i)] = g_orderItems[static_cast<std::size_t>(i)].id;
  }
  g_machiningOrderCount = kOrderListInForce;
}

CamBuildResult CamDataTest::Build(int pitInClassification) {
  builder_ = std::make_unique<CCamDataBuilder>(*slots_, *atc_, g_surfaceSlots, finishPass_);
  return builder_->CreateCamData(pitInClassification);
}

CamServices CamDataTest::Services() {
  CamServices s;
  s.definitions = slots_.get();
  s.atc = atc_.get();
  s.surfaces = &g_surfaceSlots;
  s.finishPass = &finishPass_;
  return s;
}

std::vector<handover::NcElement> WithCode(const std::vector<handover::NcElement>& elements, std::int32_t code) {
  std::vector<handover::NcElement> out;
  for (const handover::NcElement& e : elements) {
    if (e.code == code) out.push_back(e);
  }
  return out;
}

std::vector<std::int32_t> Codes(const std::vector<handover::NcElement>& elements) {
  std::vector<std::int32_t> out;
  out.reserve(elements.size());
  for (const handover::NcElement& e : elements) out.push_back(e.code);
  return out;
}

}  // namespace dorn::test
