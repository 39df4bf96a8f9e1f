#include "kelto_dorn/document/document.h"

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/surfaces/surface_state.h"

namespace dorn {

CKelDoc* g_pDocument = nullptr;

namespace {
constexpr double kResetLayerScale = 50.0;  // percent, the scale of a new drawing
}  // namespace

CKelDoc::CKelDoc() {
  g_pDocument = this;
  platform::FileResult read;
  LoadSelectionAndAtcTable(atc, &read);
  // A machine's table that cannot be read is said so; the table stays
  // marked, so nothing writes an empty table over the machine's file.
  if (atc.ReadFailed()) ReportFileFault(read);
}

CKelDoc::~CKelDoc() {
  if (g_pDocument == this) g_pDocument = nullptr;
}

namespace {

constexpr int kLoadedTables[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,          16,
                                 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, kTableCurves};

// Everything of ResetDrawing but the figure tables.
void ResetDrawingRecords(CKelDoc& document) {
  g_figureStore.full = false;
  ClearFigureTable(kTableImport);
  InitLayerTables();
  ResetCurveTable();
  ClearSurfaceTable();
  ClearMachiningTable(document.definitions, document.atc);
  for (std::size_t l = 0; l < kLayerCount; ++l) {
    g_layerScale[l] = kResetLayerScale;
    g_layerOffsetX[l] = 0.0;
    g_layerOffsetY[l] = 0.0;
    g_layerGridPitch[l] = g_layerViews[l].gridPitch;
  }
  g_layerViews[0].values[0] = 0;  // the current layer kept in layer record 0
  g_figureTableSelector = 0;
  g_curLayer = 0;
  for (TextRecord& r : g_textRecords) {
    r.layer = kTextRecordFree;
    r.text[0] = '\0';
    r.size = 0.0f;
    r.angle = 0.0f;
  }
}

}  // namespace

void ResetDrawing(CKelDoc& document) {
  for (int t : kLoadedTables) ClearFigureTable(t);
  ResetDrawingRecords(document);
}

void ResetDrawingForLoad(CKelDoc& document) {
  for (int t : kLoadedTables) g_figureStore.Table(t)->set_count(0);
  ResetDrawingRecords(document);
}

void ClearFigureTablesBehindCounts() {
  for (int t : kLoadedTables) {
    FigureTable& table = *g_figureStore.Table(t);
    for (int i = table.count(); i < table.capacity(); ++i) table.slot(i).kind = kKindEmpty;
  }
}

}  // namespace dorn
