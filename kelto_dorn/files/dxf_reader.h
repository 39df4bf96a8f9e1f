#pragma once
// The DXF reader: an ASCII DXF file's LINE, ARC, CIRCLE, POLYLINE,
// LWPOLYLINE, ELLIPSE, SPLINE, LEADER, SOLID, INSERT and DIMENSION entities
// become figures of the table g_figureTableSelector names (or, with
// "レイヤー別表示", of the drawing layer of the file's layer), TEXT and MTEXT
// texts. Block figures wait in work table 99 until an INSERT places them.
// The caller opens and closes the file; the stroke font reads its
// per-character files through the same reader.
//
// Options: g_dxfCompound ("複合図形": read the BLOCKS section), g_cadByColor
// ("カラー別表示"), g_cadByLayer ("レイヤー別表示").
#include <cstdio>
#include <string>

namespace dorn {

struct DxfReadOutcome {
  bool ok = true;
  int figures = 0;     // figures stored in drawing tables
  int texts = 0;       // texts appended
  int lastLine = 0;    // the line the read ended on
  std::string message; // CP932; what went wrong when !ok, or what was left out
};

// Reads the open file to its end or to "EOF". A file that is binary DXF,
// holds nothing a DXF reader recognises, or ends inside an entity or before
// the end of its ENTITIES section is reported (file and line) and leaves the
// drawing as it was: every figure, text and curve number of the read is
// taken back. `name` is the file name for messages (CP932); with
// `quiet` nothing is shown (the stroke font reports on its own).
DxfReadOutcome ReadDxfFile(std::FILE* file, const std::string& name, bool quiet = false);

// Limits of the reader's tables: what does not fit is left out and reported
// once per read.
inline constexpr int kDxfLayerLimit = 558;
inline constexpr int kDxfLineTypeLimit = 558;
inline constexpr int kDxfBlockLimit = 8558;
inline constexpr int kDxfVertexLimit = 55997;

}  // namespace dorn
