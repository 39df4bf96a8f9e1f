#pragma once
// Where a dimension goes while it follows the cursor: from one picked item
// (its points or figures) and the cursor, the three dimension figures, the
// four sides of the frame around its value text, and the text record (base
// point, angle, value). A pure function of its inputs and the style: the
// preview draws what it returns, and the store keeps the last of it.
//
// Every point is relative to the item's origin (the layer origin current when
// the item was picked), in mm; angles are degrees.
#include <array>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_record.h"
#include "kelto_dorn/app/text_record.h"

namespace dorn {

// Dimension figure kinds: high byte the role, low byte 2 a line, 3 an arc.
inline constexpr std::int32_t kDimExtensionLine = 0xD002;  // extension lines, shelf, text frame
inline constexpr std::int32_t kDimLeaderLine = 0xD102;     // arrow at its start
inline constexpr std::int32_t kDimRadiusLine = 0xD202;     // arrow at the circle (its end)
inline constexpr std::int32_t kDimArrowLine = 0xD302;      // arrows at both ends
inline constexpr std::int32_t kDimAngleArc = 0xD303;       // arc with arrows at both ends

// The dimension commands.
namespace dim {
inline constexpr int kHorizontal = 33142;
inline constexpr int kVertical = 33143;
inline constexpr int kAligned = 33144;
inline constexpr int kAngle = 33145;
inline constexpr int kDiameter = 33146;
inline constexpr int kRadius = 33147;
inline constexpr int kOrdinateX = 33148;
inline constexpr int kOrdinateY = 33149;
inline constexpr int kCoordinate = 33150;
inline constexpr int kLeader = 33151;
inline constexpr int kLineColour = 33159;
inline constexpr int kTextColour = 33160;
inline constexpr int kBetweenFigures = 33161;
inline constexpr int kPointToFigure = 33162;
inline constexpr int kStyle = 33163;
inline constexpr int kFreeText = 33164;
inline constexpr int kStrokeText = 33248;
inline constexpr int kEditText = 33258;
}  // namespace dim

// How the angle dimension's item was picked.
enum class AnglePick { kThreePoints, kArc, kTwoLines };

// One picked item.
struct DimensionItem {
  // The working figure: start and end carry the picked points (for an angle
  // the two side points, with the vertex in centre), a picked circle's centre
  // and radius, the direction of an aligned dimension; origin is the item's.
  FigureRecord work;
  // The second figure of a distance (block 8 / 800 + i): the figure measured
  // to, or the first figure of a pair between figures (then `work` is the
  // second).
  FigureRecord other;
  AnglePick anglePick = AnglePick::kThreePoints;
  // An X or Y ordinate picked as a figure: both its ends get a line and a text.
  bool bothEnds = false;
  // The value text fixed when the item was built (diameter, radius, free
  // text); empty when the layout computes it.
  std::string fixedText;
};

struct DimensionLayout {
  std::array<FigureRecord, 3> figures{};  // kinds 0 where a figure is not used
  std::array<FigureRecord, 4> frame{};    // the text frame: lower, upper, two short sides
  TextRecord text{};                      // base, angle, value; the caller's layer, colour, size
};

// The value text's width: TextSize x 0.625 per character.
double DimensionTextWidth(double textSize, std::size_t characters);

// The layout of item for `command` with the cursor at `cursor` (relative to
// the item's origin; it is rounded to 0.001 first). `text` carries the
// record's layer, colour and size, which the layout keeps.
DimensionLayout LayoutDimension(int command, const DimensionItem& item, Vec2 cursor, const TextRecord& text,
                                const DimensionStyle& style);

// The four frame sides around a text record (base, angle, size, text).
std::array<FigureRecord, 4> TextFrame(const TextRecord& text, const FigureRecord& pattern);

// Of two points, the one inside the angular span of the arc (centre, start,
// end, radius sign the sense); when neither or both are, the first.
Vec2 PickPointInsideArc(const FigureRecord& arc, Vec2 a, Vec2 b);

// The number text of a dimension value in the style's precision, whole
// numbers without ".0": g_dropBarePoint is 1 for the formatting of each
// dimension value only, so a command the view cancels cannot leave every
// later number of the program without its ".0".
std::string DimensionNumber(int precision, double value);

}  // namespace dorn
