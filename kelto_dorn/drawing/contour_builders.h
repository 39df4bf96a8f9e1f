#pragma once
// The closed contours of the contour dialogs as pure functions of their
// values: the rectangle with rounded, relieved or chamfered corners, the
// regular polygon with optional corner fillets, and the taper section
// offsets of a tapered wall. The dialogs put the figures into the segment
// blocks; the figure command engine places and stores them.
#include <vector>

#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// Rectangle corner modes and set positions.
inline constexpr int kCornerTangent = 0;
inline constexpr int kCornerRelief = 1;
inline constexpr int kCornerChamfer = 2;
inline constexpr int kRectCentre = 0;  // 1 upper right, 2 upper left, 3 lower left, 4 lower right

struct RectContourValues {
  double width = 0.0;
  double height = 0.0;
  double moveX = 0.0;
  double moveY = 0.0;
  double angle = 0.0;   // degrees about (0, 0)
  double corner = 0.0;  // radius or chamfer
  double reliefX = 0.0;
  double reliefY = 0.0;
  int cornerMode = kCornerTangent;
  int position = kRectCentre;
};

// Polygon size styles.
inline constexpr int kPolygonInscribed = 0;     // size = diameter of the inscribed circle
inline constexpr int kPolygonCircumscribed = 1;  // size = diameter of the circumscribed circle

struct PolygonContourValues {
  double size = 0.0;
  double centreX = 0.0;
  double centreY = 0.0;
  double baseAngle = 0.0;  // degrees
  double fillet = 0.0;     // tangent circle radius, 0 for sharp corners
  int corners = 0;         // 3..99
  int sizeStyle = kPolygonInscribed;
};

// The relief that puts a relief arc of radius c through the corner point.
double CornerRelief(double c);
// The rectangle counter-clockwise from its upper right corner: 4 lines, or
// 8 figures with corners; empty when width or height is below 0.001.
std::vector<FigureRecord> BuildRectangleContour(const RectContourValues& v);
// The vertex radius of a polygon.
double PolygonVertexRadius(const PolygonContourValues& v);
// The polygon counter-clockwise from the vertex at the base angle: N lines,
// or 2N figures with fillets; empty with fewer than 3 corners or a size
// below 0.1.
std::vector<FigureRecord> BuildPolygonContour(const PolygonContourValues& v);
// Puts a contour into segment blocks 0.. with a copy of the first behind
// the last, and returns its count (the global contour count takes it).
int PutContourInBlocks(const std::vector<FigureRecord>& contour);

// The two offsets of one taper section (mm).
struct TaperSectionOffsets {
  double reference = 0.0;    // of the contour at the reference face
  double topToBottom = 0.0;  // between top and bottom
};
// Reference face: 0 the contour lies at the top, 1 at the bottom.
TaperSectionOffsets ComputeTaperSection(double topZ, double endZ, double angleDegrees, double upperRadius,
                                        double lowerRadius, int referenceFace);
// The taper angle an entry stores: a negative entry plus 90, and a result
// of 89.999 or more in magnitude leaves `current` as it was.
float TaperAngleFromEntry(double entered, float current);

}  // namespace dorn
