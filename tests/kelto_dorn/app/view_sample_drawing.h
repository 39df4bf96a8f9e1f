#pragma once
// A sample drawing for the raster picture and the repaint benchmark: figures
// of every kind the view paints, spread over the layers.
namespace dorn::test {

// Lines, arcs, circles, points, broken and thick lines, dimensions, a named
// curve and texts on layer 0, with the work box shown.
void MakeSampleDrawing();

// `count` short lines and arcs spread evenly over the 32 layers, all inside
// a window of width x height pixels at the layers' current transform.
void MakeManyFigures(int count, int width, int height);

}  // namespace dorn::test
