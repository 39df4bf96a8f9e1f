#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

#include <cmath>
#include <filesystem>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/camdata/camdata_state.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/machining/definition_flow.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/dialogs/machining_commands.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "kelto_dorn/tooldb/atc_list.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/support/shown_texts.h"

namespace dorn::test {

namespace {

void ResetAll() {
  ResetAppState();
  ResetViewState();
  ResetCommandState();
  ResetDrawingHooks();
  ResetCommandEngines();
  ResetViewAccess();
  ResetSurfaceState();
  ResetMachiningState();
  ResetDbSelection();
  ResetDocumentState();
  ResetCamDataState();
  ResetAtcListState();
  ResetMessageValueSources();
  g_definitionFlow = DefinitionFlowServices{};
}

}  // namespace

void DefinitionFlowTest::SetUp() {
  ProgramFolderTest::SetUp();
  ResetAll();
  backend_ = &platform::headless::InstallHeadlessBackend();
  platform::SetDataRoot(home());
  ASSERT_TRUE(g_figureStore.Start());
  InitLayerDefaults();
  g_drawingHeader = handover::DefaultDrawingHeader();
  std::filesystem::create_directories(home() / "SAMPLE" / "PGM" / "SEG");
  document_ = std::make_unique<CKelDoc>();
  ClearMachiningTable(document_->definitions, document_->atc);
  InstallMachiningCommands();
  MessageValueSources sources;
  sources.textBuffer = [] { return std::string(g_textBuffer); };
  sources.currentStepIndex = [] { return g_curStepIndex; };
  SetMessageValueSources(std::move(sources));
  g_drawingHooks.showPrompt = [this](int code) { prompts_.push_back(code); };
  g_viewAccess.endPick = [this](int command) { endedPicks_.push_back(command); };
}

void DefinitionFlowTest::TearDown() {
  document_.reset();
  ResetAll();
  platform::UninstallBackend();
  backend_ = nullptr;
  ProgramFolderTest::TearDown();
}

std::vector<std::string> DefinitionFlowTest::ShownTexts() const { return testsupport::ShownMessageTexts(*backend_); }

int DefinitionFlowTest::AddLineCurve(std::int32_t key, const std::vector<Point2>& points, double topZ, int colour) {
  CurveRecord c;
  c.key = key;
  c.colour = colour;
  c.topZ = topZ;
  c.endZ = topZ - 5.0;
  c.ipX = points.front().x;
  c.ipY = points.front().y;
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
    AppendFigure(0);
  }
  c.end = GetFigureCount(kTableCurves);
  platform::SetFieldText(c.name, "CURVE");
  g_curveTable[static_cast<std::size_t>(g_curveCount)] = c;
  g_figureTableSelector = 0;
  return g_curveCount++;
}

void DefinitionFlowTest::WriteMachine(const std::vector<AtcRow>& rows) {
  DocAtcTable& atc = document_->atc;
  for (int slot = 0; slot < DocAtcTable::kRowCount; ++slot) ClearAtcRecord(atc, slot);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    AtcRecord& r = atc.Record(static_cast<int>(i));
    const AtcRow& row = rows[i];
    r.inUse = 1;
    r.atcNumber = static_cast<std::int32_t>(i) + 1;
    platform::SetFieldText(r.toolName, platform::Sjis(row.toolName));
    platform::SetFieldText(r.secName, platform::Sjis(row.secName));
    r.diameter = row.diameter;
    r.cornerRadius = row.cornerRadius;
    r.tipAngle = row.tipAngle;
    r.tipLength = row.tipLength;
    r.dCode = row.dCode;
    r.cannedCycle = row.cannedCycle;
    r.spindleSpeed = row.spindle;
    r.feed = row.feed;
    r.hCode = static_cast<std::int16_t>(i + 1);
  }
  atc.SetLoadedCount(static_cast<int>(rows.size()));
  platform::SetFieldText(g_dbSelection.machineName, "MC1");
  std::filesystem::create_directories(home() / "_ATC" / "MC1");
  ASSERT_TRUE(WriteAtcTable(atc, "MC1").ok());
}

void DefinitionFlowTest::PickCurve(int index) {
  g_curCurveIndex = index;
  g_commandEngines.definitionCurvePick(true);
}

void DefinitionFlowTest::EndPicks() { g_commandEngines.definitionCurvePick(false); }

void DefinitionFlowTest::OrderAllItems() {
  BuildOrderItems(document().definitions, document().atc);
  MachiningOrderValid = kMachiningOrderUpToDate;
  TruncateMachiningOrder(0);
  for (int i = 0; i < OrderItemCount(); ++i) {
    g_orderItems[static_cast<std::size_t>(i)].orderPosition = i + 1;
    g_machiningOrderList[static_cast<std::size_t>(i)] = g_orderItems[static_cast<std::size_t>(i)].id;
  }
  g_machiningOrderCount = kOrderListInForce;
}

}  // namespace dorn::test
