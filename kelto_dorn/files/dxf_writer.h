#pragma once
// The DXF export: the current drawing as an ASCII DXF file with a line-type
// table, a layer table with every layer on and unlocked, and LINE, ARC,
// CIRCLE and TEXT entities for the figures, the registered machining curves,
// the origin marks and the texts of the current layer (or of all layers).
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// Export choices: bit 0x01 the figures of the layer tables, bit 0x10 the
// registered machining curves (table 90); both at start-up. They keep their
// values from one export to the next; the all-layers flag starts at 0 each
// time the property dialog opens.
inline constexpr int kDxfExportFigures = 0x01;
inline constexpr int kDxfExportCurves = 0x10;
extern int g_dxfExportOptions;
extern int g_dxfAllLayers;
void ResetDxfExportState();

// One real as the export writes it: "%15.15f" with trailing zeros cut to one
// after the point (12.5, 3.0, 0.0), and a line end.
void WriteDxfNumber(std::string& out, double value);

// One figure (g_curFigure's layout) as DXF entities: lines and dimension
// lines with their arrowheads as LINEs, arcs as ARC (counter-clockwise) or
// CIRCLE, point marks as CIRCLE; other kinds write nothing.
void WriteDxfFigure(std::string& out, const FigureRecord& figure);

// The file the export writes for a chosen path (CP932): a "\" after every
// ":" not followed by one, and the last extension of the name replaced by
// ".DXF" (a name without one gets it).
std::string DxfOutputPath(std::string_view chosen);

// The whole file text for the current drawing and the current choices.
std::string BuildDxfText();


// failure shows " >>> DXF_FILE::オープンエラー！？" and the reason and
// returns false.
bool WriteDxfFile(const std::filesystem::path& file);

}  // namespace dorn
