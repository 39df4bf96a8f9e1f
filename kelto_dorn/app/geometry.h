#pragma once
// The plane geometry kernel shared by every command of Kelto_Dorn: the
// intersection of two figures, angles and unit vectors, rotation and offset of
// points, parallel offset and reversal of figures, arc helpers, corner
// trimming of a figure chain, drawing extents and the +/- step values.
//
// Lengths are mm, angles degrees. Helpers that can meet degenerate input
// return 0 when done and 1 for the degenerate case; they never divide by 0.
#include <array>

#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// Degrees to radians and back, the exact double values every command uses.
inline constexpr double kRadiansPerDegree = 0.017453292519943295;
inline constexpr double kDegreesPerRadian = 57.29577951308232;

// Intersection result codes, carried in the result record's number word.
inline constexpr int kHitTouching = 0;  // one point, tangent
inline constexpr int kHitOnePoint = 1;
inline constexpr int kHitTwoPoints = 2;
inline constexpr int kHitSameLine = 15;  // overlapping lines or equal circles
inline constexpr int kHitNone = 0xFFFF;

// The intersection choice (low four bits of the second figure's choice word)
// that asks for both points of a line and a circle.
inline constexpr int kChoiceBothPoints = 15;

// Intersects two figures (lines are infinite, arcs are full circles, points
// give the foot or the nearest circle point). The result record carries the
// code in .number, the first point in .start and the second in .end; for
// kHitSameLine and kHitNone both points are (0, 0).
FigureRecord IntersectFigures(FigureRecord a, FigureRecord b);

double VectorAngle(double x, double y);   // degrees in (0, 360]
double VectorAngle0(double x, double y);  // degrees in [0, 360)
Vec2 UnitVectorFromAngle(double degrees);
// The unit vector from b to a, (0, 0) when they coincide; sets g_lastDistance.
Vec2 UnitVectorBetween(Vec2 a, Vec2 b);
// The distance of a and b rounded to 0.001.
double RoundedDistance(Vec2 a, Vec2 b);
// p + along u + across (-u.y, u.x) with u = q - p; side -1 turns the other way.
Vec2 RotateOffsetPoint(int side, double along, double across, Vec2 p, Vec2 q);
// Turns v by (cos, sin); side -1 gives the mirrored form.
Vec2 RotateVector(int side, double c, double s, Vec2 v);

// Block index that means "the current figure".
inline constexpr int kCurrentFigure = 0xFFFF;
// Sets the unit direction of a line from its end points (g_curFigure for
// kCurrentFigure, else segment block i). Returns 0, or 1 when the line is too
// short (0.0005 mm for the current figure, 0.00001 mm for a block); the
// direction is then left as it was. The length goes to g_lineLength.
int ComputeLineDirection(int block);
// Negates the direction of segment block i and exchanges its ends.
void ReverseFigure(int block);
// Offsets g_curFigure by d (lines and points to the left of their direction
// for positive d; arcs by radius - d). Returns 1 for an empty figure and for
// an arc that would vanish or turn inside out, else 0.
int OffsetFigure(double d);
// Moves g_curFigure's start, end and centre from relative to its origin to
// absolute, and back.
void TranslateCurrentFigure();
void UntranslateCurrentFigure();
// For an arc work record: start and end angles into its direction pair, its
// start point moved to the middle of the arc.
void ComputeArcAngles(FigureRecord& arc);
// Builds a full circle of radius |r| about g_curFigure's centre and stores it
// in the first free block from n (up to block 21), unless a circle of the same
// radius and centre stands among blocks 1-3 or 6..n-1. Returns 0 when stored,
// the number of matches for a duplicate, kNoFreeBlock when every block up to
// 21 is taken (nothing is stored then).
inline constexpr int kNoFreeBlock = -1;
int MakeArcFigure(double r, int n);
// 1 when g_curFigure's radius is within 0.001 of r and its centre within
// 0.0001 of (cx, cy).
int IsSameArcPoint(double r, double cx, double cy);
// The +/- button step: value moved by a step that grows with base.
double StepValue(int down, double base, double value);
// Moves the solvers' working line by d along its normal and gives the working
// circle the base circle's radius - d (flag set) or + d.
void OffsetReferenceFrame(double d, int flag, FigureRecord& workLine, FigureRecord& workCircle,
                          const FigureRecord& baseCircle);
// Puts block 0 into the marked (0xF0F0) block among 5..workCount-1, or at
// workCount, and trims the chain of blocks from 5 at their intersections;
// with pendingElementKind 8 the target becomes a point only.
void BuildCornerFigure(int workCount, int pendingElementKind);

// Per-layer extents, set up by the caller and widened by
// ComputeDrawingExtents over the start and end points of every figure.
struct DrawingExtents {
  std::array<double, 32> minX{};
  std::array<double, 32> minY{};
  std::array<double, 32> maxX{};
  std::array<double, 32> maxY{};
};
void ComputeDrawingExtents(DrawingExtents& extents);

}  // namespace dorn
