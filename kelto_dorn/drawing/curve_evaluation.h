#pragma once
// The pocket fields of a curve being registered from the work list (segment
// blocks 0..g_workCount-1): its kind, the IP flag and the IP point.
namespace dorn {

inline constexpr int kCurveKindPocketCircle = 5;
inline constexpr int kCurveKindPocket = 7;
inline constexpr int kCurveIpPointSet = 0x80;

// Fills g_curCurveRecord's kind (7, or 5 for a single circle), flag 0x80
// and IP point (drawing coordinates) from the work list. Mode 0 first frames
// the list with point figures (kind 1) at its start and end carrying the
// tangent there (g_workCount grows by two). The IP point of a closed
// contour lies inside it: half-way across, along the normal at the middle
// of the first figure, to the farthest figure that the normal crosses; an
// open chain (or a contour the normal crosses nowhere) takes its start.
void EvaluateCurvePick(int mode);

}  // namespace dorn
