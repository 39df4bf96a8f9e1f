#pragma once
// The figures of a taper curve by section: each figure's style word names
// its section, and the figure is stored with that section's reference-face
// offset applied. The taper contour command moves picked figures into the
// section being chosen and opens the taper dialog again on the curve.
#include "kelto_dorn/app/curve_record.h"

namespace dorn {

// Moves figure `index` of table 90 into `section` (0-4) of its curve
// `record`: the old section's offset comes off, the new one's goes on.
void MoveFigureToSection(CurveRecord& record, int index, int section);

// The taper dialog again on curve `curve`, its figures shown without their
// offsets; after "登録" the figures are written back with the offsets the
// dialog computed, so that the stored figures always carry the offsets the
// record holds. Returns RegisterCurve's result (222: choose figures again).
int ReopenTaperDialog(int curve);

}  // namespace dorn
