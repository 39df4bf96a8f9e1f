#pragma once
// OMIT rows of a plane contour: figure-table entries 0-127 of the definition
// (flags with bit 0 registered and bit 15 NOT, the contour figure's key, the
// Z source surface, DOWN and UP F-codes, the Z value), the spare entry 128
// that shifting moves into the last row, and the OMIT contour stock (the
// value of entry 130, record offset 4760). The window-free rules of the OMIT
// dialog.
#include "kelto_dorn/machining/machining_definition.h"

namespace dorn {

inline constexpr std::int32_t kOmitRegistered = 0x0001;
inline constexpr std::int32_t kOmitNot = 0x8000;

inline double& OmitStock(MachiningDefinition& d) { return d.figures[kDrawSwitchEntry].value; }

// Offsets 0-19 and the Z value to 0; offset 20 stays.
void ClearOmitRow(MachiningFigureEntry& row);
// Delete mode: the rows from `row` on move up one, the last row takes the
// spare entry, the spare is cleared.
void DeleteOmitRow(MachiningDefinition& d, int row);
// Insert mode: the rows from `row` move down one (the last row's contents
// are lost) and `row` is cleared.
void InsertOmitRow(MachiningDefinition& d, int row);
// 登 録: rows with a contour figure close up in their order, each marked
// registered; the rows behind them are cleared.
void CompactOmitRows(MachiningDefinition& d);
// RESET: entries 0-129 cleared and the stock 0.
void ResetOmitRows(MachiningDefinition& d);
// The first row without a contour figure, or -1 when all 128 are filled.
int FirstEmptyOmitRow(const MachiningDefinition& d);
// A figure click picks only without a gap above the row.
bool OmitRowPickable(const MachiningDefinition& d, int row);

}  // namespace dorn
