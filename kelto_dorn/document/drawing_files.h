#pragma once
// The drawing files in the "SEG" folder of the drawing's unit:
//   ".MZF" the figures: 128-byte FigureRecords of layers 0-31 (figure number
//          90 written as 378), then those of table 90 numbered 90;
//   ".KWD" everything else (version 3): the system record, surfaces,
//          machining definitions (16096 bytes), curves, index records, layer
//          records, origins, texts and machining step records. The older
//          ".KWQ" (version 2) and ".KSE" (version 1, 16 layers) hold 13968-
//          byte definitions and are converted when read.
// Files are written whole to a temporary name and renamed, so a failed save
// leaves the previous drawing as it was. What a file holds is untrusted:
// records out of range are skipped and reported, counts are clamped, every
// text field is terminated.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace dorn {

class CKelDoc;

// The path of a drawing file of the drawing named in g_drawingHeader
// (data root \ unit \ second name \ SEG \ drawing name + extension), or an
// empty path when a name is empty or would leave its folder.
std::filesystem::path DrawingFilePath(const char* extension);

// Origins that no figure of their layer (or curve figure on it) uses are
// removed (origin 0 stays); a current index beyond the count becomes 0.
void CleanUpOrigins();

// The bytes of the two files, as SaveDrawing writes them.
std::vector<std::uint8_t> BuildFigureFile(std::string* fault);
std::vector<std::uint8_t> BuildDefinitionFile(CKelDoc& document, std::string* fault);

// Saves the drawing named in g_drawingHeader, "$TMG_FLG.@@@" and the
// machining defaults. Every failure is shown in the error box; false when
// anything was not written.
bool SaveDrawing(CKelDoc& document);
// The same to an explicit path without extension.
bool SaveDrawingTo(CKelDoc& document, const std::filesystem::path& base);

struct DrawingLoadReport {
  bool figuresFound = false;
  int definitionVersion = 0;  // 3 ".KWD", 2 ".KWQ", 1 ".KSE", 0 none found
  int figuresLoaded = 0;
  std::vector<std::string> faults;  // UTF-8, one line per damaged part
};

// Reads the sections of a definition file of the given version (3 ".KWD",
// 2 ".KWQ", 1 ".KSE") from memory into a drawing that was just reset; the
// loader's second half, callable on any bytes.
void LoadDefinitionBytes(CKelDoc& document, std::span<const std::uint8_t> bytes, int version,
                         DrawingLoadReport& report);

// Resets the drawing and loads it from the SEG folder of the names in
// g_drawingHeader, or from `base` (a path without extension) when given. The
// names by which the drawing was opened win over those in the file. Damage
// is reported in one error box and in the result.
DrawingLoadReport LoadDrawing(CKelDoc& document, const std::filesystem::path* base = nullptr);

}  // namespace dorn
