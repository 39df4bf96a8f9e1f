#pragma once
// The dimension and text commands: picking the items of a dimension (points
// or figures), placing it with the cursor (an XOR preview laid out by
// dimension_layout.h), storing its figures and value texts, free texts and
// leader texts, the value-text editor, the style dialog and the two colour
// commands. The view reaches them through the entries that
// InstallDimensionEngines puts into command_engines.h.
#include <array>

#include "kelto_dorn/app/text_record.h"
#include "kelto_dorn/drawing/dimension_layout.h"
#include "platform/device_context.h"

namespace dorn {

// Items one command picks at most (with the copy switch on).
inline constexpr int kMaxDimensionItems = 63;
inline constexpr int kPickStateDimensionPlacing = 4101;
inline constexpr int kPickStateDimensionPoint = 33154;
inline constexpr int kPickStateDimensionFigure = 33155;
// SetDimensionPickMode's choice for point picking.
inline constexpr int kDimensionChoicePoints = 101;

// The command in progress (reset by RunDimensionCommand).
struct DimensionCommandState {
  int command = 0;
  int itemCount = 0;  // DimPickCount: items finished
  int picks = 0;      // picks made toward the item being picked
  DimensionItem picking;
  std::array<DimensionItem, kMaxDimensionItems + 1> items{};
  // The layouts last drawn (what the store keeps); PendingDimensionTexts are
  // their text records.
  std::array<DimensionLayout, kMaxDimensionItems + 1> layouts{};
  bool placing = false;
  int previewMoves = 0;  // the first four moves only count
  bool previewDrawn = false;
  bool resultNegative = false;
  bool textFullShown = false;
  // The value-text editor: the highlighted records (-1 none), main first.
  std::array<int, 4> editList{-1, -1, -1, -1};
};
extern DimensionCommandState g_dimensionCommand;
void ResetDimensionCommandState();

void RunDimensionCommand(int id);
// One step of the command (picks advance it; 9 ends the picking; 100 stores).
void InputDimension(platform::DeviceContext& dc, int id);
// Every mouse move while the dimension is placed.
void PreviewDimension(platform::DeviceContext& dc);
void StoreDimension(platform::DeviceContext& dc);
// The right button during a dimension pick: 101 point picking, else figures.
void SetDimensionPickMode(int choice);
// The style dialog, then the style's colours and size in the working records.
void OnDimensionStyle();
void OnDimensionLineColor();
void OnDimensionTextColor();
// The menu handler of every dimension id.
void OnDimensionCommand(int id);
// The four frame sides of the last call again (mode -1, XOR erase), or new
// ones around g_curTextRecord.
void DrawTextFrame(platform::DeviceContext& dc, int mode);

void InstallDimensionEngines();

}  // namespace dorn
