#pragma once
// The figure and curve operations the figure command engine and the curve
// commands call once their picks are complete: the box edits of figures
// (move, rotate, mirror, scale, offset, delete, colour, line type, width,
// radius, origin), the selection-region test they share, deleting a range
// of figures, reversing a curve, switching a curve corner's intersection,
// recolouring curves and selecting curves by box.
//
// Figures stay relative to their origin pair in the store; the selection
// region and the engine's points are absolute (mm), and each transform is
// carried into a figure's own frame.
#include <cstdint>
#include <vector>

#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// Box edit codes of EditFiguresInSelection.
namespace box_op {
inline constexpr int kMarkForDelete = 9;
inline constexpr int kReattachOrigin = 13;
inline constexpr int kRotate = 14;
inline constexpr int kMove = 15;
inline constexpr int kDelete = 16;
inline constexpr int kMirror = 17;
inline constexpr int kColour = 20;
inline constexpr int kTextColour = 21;
inline constexpr int kLineType = 22;
inline constexpr int kWidth = 24;
inline constexpr int kScale = 41;
inline constexpr int kMirrorCopy = 42;
inline constexpr int kOffsetCopy = 43;
inline constexpr int kRotateCopy = 44;
inline constexpr int kMoveCopy = 45;
inline constexpr int kCircleColour = 141;
inline constexpr int kCircleDelete = 142;
inline constexpr int kCircleRadius = 144;
}  // namespace box_op

// Engine codes that narrow which figures an edit takes.
inline constexpr int kEngineCodeSameAttributes = 42;  // colour word and origin of the reference figure
inline constexpr int kEngineCodeEqualCircles = 143;   // arcs of the reference radius

// What the figure command engine fills before it calls an operation. Points
// are absolute (mm), angles degrees.
struct FigureOperationParams {
  Vec2 rotationCentre;
  double rotationAngle = 0.0;
  Vec2 moveVector;
  Vec2 scaleBase;
  double scalePercent = 100.0;
  double offsetDistance = 0.0;
  Vec2 mirrorPoint;
  Vec2 mirrorDirection{1.0, 0.0};  // unit
  double referenceRadius = 0.0;    // |radius| of the circles 141, 142, 144 and 143 take
  double newRadius = 0.0;          // op 144
  int copyOption = 0;              // op 144 and the layer move: keep the originals
  int code = 0;                    // kEngineCodeSameAttributes, kEngineCodeEqualCircles or 0
  FigureRecord reference;          // the reference figure of code 42 and op 21
  int colour = 0;                  // palette result 0..31 (ops 20, 21, 141)
  std::int32_t lineType = 0;       // 0, 0x1000, 0x2000 or 0x4000 (op 22)
  std::int32_t width = 0;          // 0 or 0x100 (op 24)
};
extern FigureOperationParams g_figureOperation;

// The selection region in absolute coordinates: the BOX rectangle or the
// polyline box's polygon.
struct SelectionRegion {
  std::vector<Vec2> vertices;  // in order; a rectangle has four
};
// The region the view holds now (its corners are kept relative to the
// current origin).
SelectionRegion CurrentSelectionRegion();
// Even-odd over every crossing of the horizontal ray to the right (edges
// half-open at their vertices); a point on an edge is outside.
bool InsideRegion(const SelectionRegion& region, Vec2 p);
// 0 when (x, y) (absolute) is inside the view's selection region, 1 outside.
int InsideSelection(double x, double y);
// Whether a figure (as stored) meets the region: points by their position,
// lines and arcs by either end, kind 5 by its centre; other kinds never.
bool FigureMeetsRegion(const FigureRecord& f, const SelectionRegion& region);

// The box edit `op` on the current layer's table: undo snapshot (mode 1 for
// op 22, none for op 9, else mode 0), then ApplyBoxEdit, prompt 0.
void EditFiguresInSelection(int op);
// The edit itself, without snapshot or prompt; the number of figures
// affected.
int ApplyBoxEdit(int op, const SelectionRegion& region);
// The in-place edit `op` (20 colour, 22 line type, 24 width, ...) of one
// figure with g_figureOperation's values; false for an op that is not one.
bool EditFigure(int op, FigureRecord& f);

// g_curFigure scaled by percent x 0.01 about the scale base point.
void ScaleCurrentFigure(double percent);
// g_curFigure reflected about the mirror line; the radius changes sign.
void MirrorCurrentFigure();

// Removes figures a..b-1 of the selected table in one move of the tail.
void DeleteFigureRange(int a, int b);
// Removes every figure of kind 0 from the table, keeping the order of the
// rest; the number removed.
int CompactFigureTable(int table);

// The current curve's figures in reverse order and direction.
void ReverseCurve();
// The picked figure of the current curve joins its predecessor at the other
// intersection point.
void ToggleCornerJoin();
// The palette's colour for every selected curve and its figures.
void SetCurveColour();
// Every curve with a figure end on the current layer inside the selection
// region goes into g_selectionList; the count.
int SelectCurvesInBox();

}  // namespace dorn
