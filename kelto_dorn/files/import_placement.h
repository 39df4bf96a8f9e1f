#pragma once
// Placing the figures an importer reads: the colour rule, the block figures
// of work table 99 and their transform at an insertion. Shared by the CAD
// readers (DXF and BMI).
#include <cstdint>

#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// Line-type bits of a figure's attribute word.
inline constexpr std::int32_t kLineTypeDashed = 0x1000;
inline constexpr std::int32_t kLineTypeChain = 0x2000;
inline constexpr std::int32_t kLineTypeTwoDotChain = 0x4000;
inline constexpr std::int32_t kLineTypeBits = 0x7000;

// The colour the import gives a figure by default (the file's colour 0 and
// a missing colour group).
inline constexpr int kImportDefaultColour = 2;

// The colour word of an imported figure: the file's colour (or the current
// drawing colour without "カラー別表示"), moved off the background colour
// and into the 32 palette entries, with the line-type bits.
std::int32_t MapImportColour(int fileColour, std::int32_t lineTypeBits);

// An insertion of a block: scales, rotation (degrees) and the point the
// block's base lands on.
struct InsertTransform {
  double scaleX = 1.0;
  double scaleY = 1.0;
  double rotation = 0.0;
  Vec2 at;
  Vec2 Apply(Vec2 p) const;
};

// Transforms a block figure for an insertion: points scaled, turned and
// moved; a line's direction recomputed; an arc's radius scaled and, when
// the insertion mirrors, its sense turned so that it still runs from its
// start to its end point.
void TransformInsertedFigure(FigureRecord& f, const InsertTransform& t);

// Where placed figures go: the selected table, or work table 99 under a
// block number while a block is being defined.
struct PlacementTarget {
  int table = 0;         // the drawing table of figures outside blocks
  int blockNumber = -1;  // >= 0 while a block is being defined
};

// Keeps g_curFigure in a block (work table 99, shifted by minus the block
// base) or stores it in the target table. False when it was dropped.
bool ShiftImportedFigure(const PlacementTarget& target, Vec2 blockBase);

// Stores g_curFigure where `target` says, without shifting: a line not
// longer than 0.0005 is dropped, an arc of radius above 1e7 becomes a line,
// a figure with a coordinate that is not finite is dropped. False when it
// was dropped or the table refused it.
bool PlaceImportedFigure(const PlacementTarget& target);

}  // namespace dorn
