// The DXF export's file text: see dxf_writer.h.
#include "kelto_dorn/files/dxf_writer.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/dimension_painter.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/drawing/origins.h"
#include "kelto_dorn/files/import_placement.h"
#include "platform/record_file.h"

namespace dorn {

int g_dxfExportOptions = kDxfExportFigures | kDxfExportCurves;
int g_dxfAllLayers = 0;

void ResetDxfExportState() {
  g_dxfExportOptions = kDxfExportFigures | kDxfExportCurves;
  g_dxfAllLayers = 0;
}

namespace {

constexpr std::size_t kExaminedDigits = 48;
// Half the length of an origin mark's axis lines while the drawing commands
// have not installed theirs (mm).
constexpr double kSameAngle = 1e-6;

void Line(std::string& out, std::string_view text) {
  out.append(text);
  out.push_back('\n');
}

void Lines(std::string& out, std::initializer_list<std::string_view> lines) {
  for (std::string_view l : lines) Line(out, l);
}

void Int(std::string& out, long value) { Line(out, std::to_string(value)); }

const char* LineTypeName(std::int32_t attribute) {
  if (attribute & kLineTypeDashed) return "DASHED2";
  if (attribute & kLineTypeChain) return "CENTER2";
  if (attribute & kLineTypeTwoDotChain) return "PHANTOM2";
  return "CONTINUOUS";
}

// Layer, colour and line type of an entity.
void EntityHead(std::string& out, const char* name, const FigureRecord& f) {
  Lines(out, {name, "  8"});
  Int(out, f.layer + 1);
  Line(out, " 62");
  Int(out, f.attribute & 0xFF);
  Lines(out, {"  6", LineTypeName(f.attribute)});
}

Vec2 Absolute(const FigureRecord& f, Vec2 p) { return {p.x + f.origin.x, p.y + f.origin.y}; }

void WriteLine(std::string& out, const FigureRecord& f, Vec2 a, Vec2 b) {
  EntityHead(out, "LINE", f);
  Line(out, " 10"), WriteDxfNumber(out, a.x);
  Line(out, " 20"), WriteDxfNumber(out, a.y);
  Lines(out, {" 30", "0.0", " 11"});
  WriteDxfNumber(out, b.x);
  Line(out, " 21"), WriteDxfNumber(out, b.y);
  Lines(out, {" 31", "0.0", "  0"});
}

// An arrowhead with its tip at p (absolute) pointing along the unit d, with
// wings `first` and `first + 1` of the drawing's arrow style.
void WriteArrowHead(std::string& out, const FigureRecord& f, Vec2 p, Vec2 d, int first) {
  const std::array<Vec2, 4> wings = ArrowWingVectors();
  const auto wing = [&](int i) {
    const Vec2 w = wings[static_cast<std::size_t>(i)];
    return Vec2{p.x + w.x * d.x - w.y * d.y, p.y + w.x * d.y + w.y * d.x};
  };
  const Vec2 w1 = wing(first), w2 = wing(first + 1);
  WriteLine(out, f, w1, p);
  WriteLine(out, f, p, w2);
  if (g_dimensionStyle.arrowFilled) WriteLine(out, f, w1, w2);
}

// The unit tangent of a counter-clockwise arc at p (relative).
Vec2 ArcTangent(Vec2 centre, Vec2 p) {
  const double rx = p.x - centre.x, ry = p.y - centre.y, len = std::hypot(rx, ry);
  if (!(len > 0.0)) return {1.0, 0.0};
  return {-ry / len, rx / len};
}

bool IsDimensionLine(std::int32_t kind) {
  return (kind & 0xFF) == 0x02 && (kind >> 8) >= 0xD0 && (kind >> 8) <= 0xD6 && (kind & ~0xFFFF) == 0;
}

void WriteLineFigure(std::string& out, const FigureRecord& f) {
  const Vec2 a = Absolute(f, f.start), b = Absolute(f, f.end);
  WriteLine(out, f, a, b);
  if (!IsDimensionLine(f.kind)) return;
  int code = f.kind >> 8;
  if (code == 0xD5) code = 0xD9;
  if (code == 0xD6) code = 0xD8;
  const double len = std::hypot(b.x - a.x, b.y - a.y);
  if (!(len > 0.0)) return;
  const Vec2 d{(b.x - a.x) / len, (b.y - a.y) / len};
  if (code & 0x1) WriteArrowHead(out, f, a, d, 0);
  if (code & 0x2) WriteArrowHead(out, f, b, d, 2);
  if (code & 0x4) WriteArrowHead(out, f, Absolute(f, f.dir), d, 2);
  if (code & 0x8) WriteArrowHead(out, f, Absolute(f, f.centre), d, 2);
}

void WriteArcFigure(std::string& out, const FigureRecord& figure) {
  FigureRecord f = figure;
  if (f.radius < 0.0) {
    std::swap(f.start, f.end);
    f.radius = -f.radius;
  }
  const double a0 = VectorAngle0(f.start.x - f.centre.x, f.start.y - f.centre.y);
  const double a1 = VectorAngle0(f.end.x - f.centre.x, f.end.y - f.centre.y);
  const Vec2 c = Absolute(f, f.centre);
  const bool arc = std::fabs(a0 - a1) >= kSameAngle;
  EntityHead(out, arc ? "ARC" : "CIRCLE", f);
  Line(out, " 10"), WriteDxfNumber(out, c.x);
  Line(out, " 20"), WriteDxfNumber(out, c.y);
  Lines(out, {" 30", "0.0", " 40"});
  WriteDxfNumber(out, f.radius);
  if (arc) {
    Line(out, " 50"), WriteDxfNumber(out, a0);
    Line(out, " 51"), WriteDxfNumber(out, a1);
  }
  Line(out, "  0");
  if (figure.kind == 0xD303 || figure.kind == 0xD403) {
    WriteArrowHead(out, f, Absolute(f, f.start), ArcTangent(f.centre, f.start), 0);
    WriteArrowHead(out, f, Absolute(f, f.end), ArcTangent(f.centre, f.end), 2);
  }
}

void WritePointMark(std::string& out, const FigureRecord& f) {
  const Vec2 c = Absolute(f, f.start);
  EntityHead(out, "CIRCLE", f);
  Line(out, " 10"), WriteDxfNumber(out, c.x);
  Line(out, " 20"), WriteDxfNumber(out, c.y);
  Lines(out, {" 30", "0.0", " 40"});
  WriteDxfNumber(out, f.radius != 0.0 ? f.radius : 10.0);
  Line(out, "  0");
}

void WriteHead(std::string& out) {
  // The code page, so that other programs read the Japanese texts as such.
  Lines(out, {"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1009", "  9", "$DWGCODEPAGE", "  3",
              "ANSI_932", "  0", "ENDSEC"});
  Lines(out, {"  0", "SECTION", "  2", "TABLES", "  0", "TABLE", "  2", "LTYPE", " 70", "   4", "  0"});
  Lines(out, {"LTYPE", "  2", "CONTINUOUS", " 70", "64", "  3", "Solid line", " 72", "65", " 73", "0", " 40", "0.0",
              "  0"});
  Lines(out, {"LTYPE", "  2", "DASHED2", " 70", "64", "  3", "...............", " 72", "65", " 73", "2", " 40", "0.2",
              " 49", "0.1", " 49", "-0.1", "  0"});
  Lines(out, {"LTYPE", "  2", "CENTER2", " 70", "64", "  3", "_____ _ _____ _ _____", " 72", "65", " 73", "4", " 40",
              "0.8", " 49", "0.5", " 49", "-0.1", " 49", "0.1", " 49", "-0.1", "  0"});
  Lines(out, {"LTYPE", "  2", "PHANTOM2", " 70", "64", "  3", "_____ _ _ _____ _ _ _____", " 72", "65", " 73", "6",
              " 40", "1.2", " 49", "0.7", " 49", "-0.1", " 49", "0.1", " 49", "-0.1", " 49", "0.1", " 49", "-0.1",
              "  0"});
  // Each layer its own entry after the table head; flags 0: on, thawed,
  // unlocked and not from another drawing.
  const int first = g_dxfAllLayers ? 1 : g_curLayer + 1;
  const int last = g_dxfAllLayers ? kLayerCount : g_curLayer + 1;
  Lines(out, {"ENDTAB", "  0", "TABLE", "  2", "LAYER", " 70"});
  Int(out, last - first + 1);
  for (int n = first; n <= last; ++n) {
    Lines(out, {"  0", "LAYER", "  2"});
    Int(out, n);
    Lines(out, {" 70", "0", " 62", "3", "  6", "CONTINUOUS"});
  }
  Lines(out, {"  0", "ENDTAB", "  0", "ENDSEC", "  0", "SECTION", "  2", "ENTITIES", "  0"});
}

void WriteTable(std::string& out, int table, bool anyLayer) {
  const FigureTable* t = g_figureStore.Table(table);
  if (t == nullptr) return;
  for (int i = 0; i < t->count(); ++i) {
    const FigureRecord& f = t->slot(i);
    if (anyLayer || f.layer == g_curLayer) WriteDxfFigure(out, f);
  }
}

// The origin mark's axis line of origin i, as the view draws it.
FigureRecord OriginAxisLine(int i, bool yAxis) {
  const FigureRecord saved = g_curFigure;
  if (yAxis) MakeOriginAxisLineY(i);
  else MakeOriginAxisLineX(i);
  const FigureRecord line = g_curFigure;
  g_curFigure = saved;
  return line;
}

void WriteTexts(std::string& out) {
  for (int i = 0; i < kTextRecordCount; ++i) {
    const TextRecord& t = g_textRecords[static_cast<std::size_t>(i)];
    if (t.layer < 0) break;
    if (!g_dxfAllLayers && t.layer != g_curLayer) continue;
    if (t.layer >= kLayerCount) continue;  // hidden texts are no layer's
    Lines(out, {"TEXT", "  8"});
    Int(out, t.layer + 1);
    Line(out, " 62");
    Int(out, t.colour);
    Line(out, " 10"), WriteDxfNumber(out, static_cast<double>(t.baseX) + t.originX);
    Line(out, " 20"), WriteDxfNumber(out, static_cast<double>(t.baseY) + t.originY);
    Line(out, " 40"), WriteDxfNumber(out, t.size);
    Line(out, " 50"), WriteDxfNumber(out, t.angle);
    Line(out, "  1");
    Line(out, std::string_view(t.text, strnlen(t.text, sizeof t.text)));
    Line(out, "  0");
  }
}

}  // namespace

void WriteDxfNumber(std::string& out, double value) {
  char text[400];
  std::snprintf(text, sizeof text, "%15.15f", value);
  std::string s(text);
  // Leading blanks of the width are not part of the number.
  s.erase(0, s.find_first_not_of(' '));
  const std::size_t point = s.find('.');
  if (point != std::string::npos && s.size() <= point + kExaminedDigits + 1) {
    std::size_t end = s.size();
    while (end > point + 2 && s[end - 1] == '0') --end;
    s.resize(end);
  }
  Line(out, s);
}

void WriteDxfFigure(std::string& out, const FigureRecord& f) {
  if (f.kind == kKindLine || IsDimensionLine(f.kind)) return WriteLineFigure(out, f);
  if (f.kind == kKindArc || f.kind == 0xD303 || f.kind == 0xD403) return WriteArcFigure(out, f);
  if (f.kind == kKindPointMark) return WritePointMark(out, f);
}

std::string DxfOutputPath(std::string_view chosen) {
  std::string path;
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    path.push_back(chosen[i]);
    if (chosen[i] == ':' && (i + 1 >= chosen.size() || chosen[i + 1] != '\\')) path.push_back('\\');
  }
  // Only the name's own extension is replaced: dots in folder names stay.
  const std::size_t nameStart = path.find_last_of("\\/") == std::string::npos ? 0 : path.find_last_of("\\/") + 1;
  const std::size_t dot = path.rfind('.');
  if (dot != std::string::npos && dot >= nameStart) path.resize(dot);
  return path + ".DXF";
}

std::string BuildDxfText() {
  std::string out;
  WriteHead(out);
  if (g_dxfExportOptions & kDxfExportFigures) {
    if (g_dxfAllLayers) {
      for (int t = 0; t < kLayerCount; ++t) WriteTable(out, t, true);
    } else {
      WriteTable(out, g_curLayer, true);
    }
  }
  if (g_dxfExportOptions & kDxfExportCurves) WriteTable(out, kTableCurves, g_dxfAllLayers != 0);
  if (g_curLayer >= 0 && g_curLayer < kLayerCount) {
    const int origins = std::min(g_originCount[static_cast<std::size_t>(g_curLayer)], kOriginsPerLayer);
    for (int i = 0; i < origins; ++i) {
      WriteDxfFigure(out, OriginAxisLine(i, false));
      WriteDxfFigure(out, OriginAxisLine(i, true));
    }
  }
  WriteTexts(out);
  Lines(out, {"ENDSEC", "  0", "EOF"});
  return out;
}

}  // namespace dorn
