#pragma once
// Program-wide state of the Kelto_Dorn kernel: the shared text buffer, the
// number parser's value pair, the figure store with its current record, the
// segment blocks, curve table and text records, the layer view and origin
// tables, the definition index tables, the view and dimension settings that
// the layer defaults reset, and the palette and pens.
//
// Declared here, defined in app_state.cpp. ResetAppState() brings all of it
// back to the state before start-up (start-up and the tests call it).
#include <array>
#include <cstdint>

#include "kelto_dorn/app/curve_record.h"
#include "kelto_dorn/app/definition_index_record.h"
#include "kelto_dorn/app/figure_record.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/layer_view_record.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/text_record.h"
#include "shared/handover/color_table.h"
#include "shared/handover/drawing_header.h"

namespace dorn {

inline constexpr int kLayerCount = 32;
inline constexpr int kOriginsPerLayer = 64;
inline constexpr int kTextBufferSize = 1024;

// --- System record and colour settings -----------------------------------
extern handover::DrawingHeader g_drawingHeader;
extern handover::ColorTable g_colorTable;
// Other names of system-record words (the same storage).
extern double& g_globalZ;               // work thickness, default depth of new figures (mm)
extern std::int32_t& g_globalZMode;     // 9999: work bottom is Z 0, figures lie at g_globalZ
extern std::int32_t& g_curOriginIndex;  // current origin of the current layer
// Other names of colour-table words (the same storage, palette indexes).
extern std::int32_t& g_backgroundIndex;  // view background
extern std::int32_t& g_figureStyle;      // new figures: colour index with the line-type bits
extern std::int32_t& g_curveColor;       // new curves and cleared segment blocks

// The depth of a new figure or curve: g_globalZ in the 9999 mode, else 0.
double NewFigureDepth();
// The colour words of new figures and of cleared segment blocks.
std::int32_t DefaultFigureColour();
std::int32_t DefaultSegmentColour();
// The current origin of the current layer (mm).
Vec2 CurrentLayerOrigin();

// --- Number text -----------------------------------------------------------
// The shared text buffer: formatted numbers, error texts, list lines (CP932).
extern char g_textBuffer[kTextBufferSize];
// The second shared text buffer, for list texts: the name dialogs and the
// tool-name filter return their chosen name in it (CP932). It is the command
// state's path and list buffer (g_pathBuf) under its list name.
extern char (&g_listTextBuffer)[kTextBufferSize];
// 1 while a dimension command runs: a whole number then drops its ".0".
extern int g_dropBarePoint;
// The value pair of the last ParseNumber (R and F separators).
extern int g_valuePairCount;
extern double g_valuePairA;
extern double g_valuePairB;

// --- Geometry kernel -------------------------------------------------------
// The distance computed by the last UnitVectorBetween (mm).
extern double g_lastDistance;
// The length computed by the last ComputeLineDirection (mm); the DXF reader
// rounds it for a dimension text.
extern double g_lineLength;

// --- Figure store ----------------------------------------------------------
// The table that GetFigure, PutFigure, AppendFigure and DeleteFigure use.
extern int g_figureTableSelector;
extern int g_curLayer;
// The current figure attribute word that AppendFigure(flag != 0) ORs in.
extern std::int32_t g_figureAttribute;
// The one record through which every figure is read and written.
extern FigureRecord g_curFigure;
extern FigureRecord g_savedFigure;
// 1 right after an undo snapshot; every store clears it (the current state
// is then no longer on disk).
extern int g_undoSaved;
// The figure tables and segment blocks (owned by theApp in spirit).
extern FigureStore g_figureStore;

// --- Curve table -----------------------------------------------------------
extern std::array<CurveRecord, kCurveTableSize> g_curveTable;
extern int g_curveCount;
extern int g_curCurveIndex;
extern CurveRecord g_curCurveRecord;

// --- Text records ----------------------------------------------------------
// Two banks of 24800: the records and the copy that compaction reads.
extern std::array<TextRecord, kTextRecordCount> g_textRecords;
extern std::array<TextRecord, kTextRecordCount> g_textRecordBank;

// --- Definition index tables -----------------------------------------------
extern DefinitionIndexTable<kSurfaceSlotCount> g_surfaceIndexTable;
extern DefinitionIndexTable<kMachiningSlotCount> g_machiningIndexTable;

// --- Layers: view records and origins --------------------------------------
extern std::array<LayerViewRecord, kLayerCount> g_layerViews;
// Per layer 64 origins (x, y in mm), the number in use and the current one.
extern std::array<std::array<Vec2, kOriginsPerLayer>, kLayerCount> g_originTable;
extern std::array<int, kLayerCount> g_originCount;
extern std::array<int, kLayerCount> g_layerOriginIndex;

// --- View and import settings (view settings dialog) -----------------------
extern double g_shrinkRate;     // zoom step rate
extern double g_moveRate;       // pan step rate
extern double g_joinTolerance;  // mm
extern double g_showIpPoint;
extern double g_viewSettingD1;  // the two further doubles of the settings
extern double g_viewSettingD2;
extern int g_cadByLayer;
extern int g_dxfCompound;
extern int g_cadByColor;
extern int g_showDashed;
extern int g_showChain1;
extern int g_showChain2;
extern int g_viewSettingI1;  // the further ints and byte flags of the settings
extern int g_viewSettingI2;
extern int g_viewSettingI3;
extern std::uint8_t g_viewSettingFlag1;
extern std::uint8_t g_viewSettingFlag2;

// --- Dimension style -------------------------------------------------------
struct DimensionStyle {
  double arrowAngle = 0.0;   // degrees
  double arrowLength = 0.0;  // mm
  double textSize = 0.0;     // mm
  int dimLineColor = 0;
  int textColor = 0;
  int dimPrecision = 0;
  int arrowFilled = 0;
  int dimPickMode = 0;
  int dimTextAlign = 0;
};
extern DimensionStyle g_dimensionStyle;
// The four arrow wings (mm) of the style, kept beside it and recomputed by
// UpdateDimensionArrowShape whenever the style changes (dimension_painter.h).
extern std::array<Vec2, 4> g_arrowWingVectors;
extern int g_dimTextSlider;  // text height slider 1-19

// --- Dialogs ---------------------------------------------------------------
// The edit field of the open dialog that holds uncommitted text (0 none).
// Openers of shared dialogs also put a mode into it just before opening.
extern int FocusedEditIndex;

// --- Palette, pens, beep ---------------------------------------------------
extern std::array<platform::Color, kPaletteSize> PaletteColors;
extern std::array<platform::Pen, kPaletteSize> PenTable;
// Set when the beep failed once; no beep is tried again until the next start.
extern int g_beepOff;

// Brings all of the state above back to its zero state and releases the
// figure store.
void ResetAppState();

}  // namespace dorn
