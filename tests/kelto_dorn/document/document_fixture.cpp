#include "tests/kelto_dorn/document/document_fixture.h"

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/document/system_record.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "platform/text.h"
#include "shared/handover/drawing_header.h"
#include "tests/support/shown_texts.h"

namespace dorn::test {

void ResetProgramState() {
  ResetAppState();
  ResetViewState();
  ResetDrawingHooks();
  ResetCommandEngines();
  ResetViewAccess();
  ResetSurfaceState();
  ResetMachiningState();
  ResetDbSelection();
  ResetDocumentState();
}

void DocumentTest::SetUp() {
  ProgramFolderTest::SetUp();
  ResetProgramState();
  auto backend = std::make_unique<platform::headless::HeadlessBackend>();
  backend_ = backend.get();
  platform::InstallBackend(std::move(backend));
  ASSERT_TRUE(g_figureStore.Start());
  InitLayerDefaults();
  document_ = std::make_unique<CKelDoc>();
}

void DocumentTest::TearDown() {
  document_.reset();
  ResetProgramState();
  platform::UninstallBackend();
  backend_ = nullptr;
  ProgramFolderTest::TearDown();
}

std::vector<std::string> DocumentTest::ShownTexts() const { return testsupport::ShownMessageTexts(*backend_); }

void DocumentTest::PrepareDrawingFolder() {
  std::filesystem::create_directories(home() / "SAMPLE" / "PGM" / "SEG");
  g_drawingHeader = handover::DefaultDrawingHeader();
}

FigureRecord MakeLine(double x0, double y0, double x1, double y1, int colour) {
  FigureRecord f;
  f.kind = kKindLine;
  f.style = kNewFigureStyle;
  f.attribute = colour;
  f.start = {x0, y0};
  f.end = {x1, y1};
  return f;
}

FigureRecord MakeArc(double cx, double cy, double r, int colour) {
  FigureRecord f;
  f.kind = kKindArc;
  f.style = kNewFigureStyle;
  f.attribute = colour;
  f.centre = {cx, cy};
  f.start = {cx + r, cy};
  f.end = {cx + r, cy};
  f.radius = r;
  return f;
}

bool Append(int table, FigureRecord figure, int layerForCurves) {
  const int savedSelector = g_figureTableSelector;
  const int savedLayer = g_curLayer;
  g_figureTableSelector = table;
  g_curLayer = table < kLayerCount ? table : layerForCurves;
  g_curFigure = figure;
  const bool ok = AppendFigure(0);
  g_figureTableSelector = savedSelector;
  g_curLayer = savedLayer;
  return ok;
}

void PutText(int i, int layer, const char* text) {
  TextRecord& r = g_textRecords[static_cast<std::size_t>(i)];
  r = TextRecord{};
  r.layer = layer;
  r.colour = 4;
  r.size = 3.5f;
  r.baseX = 10.0f + static_cast<float>(i);
  SetTextRecordText(r, text);
}

}  // namespace dorn::test
