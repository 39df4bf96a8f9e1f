#pragma once
// Point snapping on a picked figure (its end, mid point or centre) and the
// figure analysis texts in the band at the bottom of the view: the data of
// one figure, the two points of an intersection, the relation of two
// figures (angle or widths).
#include <string>
#include <vector>

#include "kelto_dorn/app/figure_record.h"
#include "platform/device_context.h"

namespace dorn {

// Prepares the band's text colours (mode 0 also clears it). False when the
// band is not shown (arrow view, printing, mode 44 outside XY).
bool ClearStatusBand(platform::DeviceContext& dc, int mode);
// The two lines of the band as ShowFigureAnalysis writes them (CP932).
std::vector<std::string> FigureAnalysisLines(const FigureRecord& f);
// Writes the analysis of g_curFigure into the band.
int ShowFigureAnalysis(platform::DeviceContext& dc);
// "交点１" and "交点２" lines with the figure's start and end.
void ShowIntersectionPoints(platform::DeviceContext& dc, const FigureRecord& figure);
// The mid point of g_curFigure becomes its start point (marks drawn,
// prompt 137).
void ComputeFigureMidpoint(platform::DeviceContext& dc);
// The end (mode 137: also the centre or mid point) of `figure` nearest the
// click within the pick tolerance; false when none is that near.
bool SnapToFigurePoint(const FigureRecord& figure, int mode, Vec2& point);
// A click in the point-on-figure state: the snapped point is the command's
// point and the engine goes on (mode 1: one of two intersection points).
void AddPointOnFigure(platform::DeviceContext& dc, int mode);
// The relation of the figures in blocks 8 and 9, as text lines (CP932);
// measuring lines go to block 7.
std::vector<std::string> TwoFigureAnalysisLines();
// Shows it in the band and beeps.
void AnalyseTwoFigures();

}  // namespace dorn
