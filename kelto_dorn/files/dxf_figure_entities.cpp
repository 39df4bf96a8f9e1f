// The DXF reader's figure entities: LINE, ARC, CIRCLE, LWPOLYLINE, POLYLINE,
// ELLIPSE, SPLINE, LEADER and SOLID.
#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/drawing/curve_through_points.h"
#include "kelto_dorn/drawing/ellipse_points.h"
#include "kelto_dorn/files/dxf_reader_core.h"

namespace dorn::dxf {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSmallestArc = 0.001;
// An ARC whose ends meet is dropped when it is this large (a stray full
// circle of a broken file).
constexpr double kLargestClosedArc = 1200.0;
constexpr double kEllipseStep = 9.0;

Vec2 Polar(Vec2 c, double r, double degrees) {
  return {c.x + r * std::cos(degrees * kRadiansPerDegree), c.y + r * std::sin(degrees * kRadiansPerDegree)};
}

double Distance(Vec2 a, Vec2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The arc's start and end angles, as an arc keeps them in its direction pair.
void SetArcAngles(FigureRecord& f) {
  f.dir = {VectorAngle0(f.start.x - f.centre.x, f.start.y - f.centre.y),
           VectorAngle0(f.end.x - f.centre.x, f.end.y - f.centre.y)};
}

}  // namespace

void Reader::ReadLineEntity() {
  EntityHead head = NewHead();
  Vec2 a, b;
  bool haveEnd = false;
  int code = 0;
  // A LINE ends only after its end point: one without it takes the groups
  // that follow.
  while (NextCode(code) && (code != 0 || !haveEnd)) {
    if (!NextValue()) break;
    switch (code) {
      case 10: a.x = Real(head); break;
      case 20: a.y = Real(head); break;
      case 11: b.x = Real(head), haveEnd = true; break;
      case 21: b.y = Real(head); break;
      default: CommonGroup(code, head);
    }
  }
  if (cut_) return;
  if (head.mirrorX) a.x = -a.x, b.x = -b.x;
  StoreLine(a, b, head, EntityColour(head));
}

void Reader::ReadArc(bool circle) {
  EntityHead head = NewHead();
  Vec2 c;
  double r = 0.0, a0 = 0.0, a1 = 0.0;
  int code = 0;
  while (NextCode(code) && code != 0) {
    if (!NextValue()) break;
    switch (code) {
      case 10: c.x = Real(head); break;
      case 20: c.y = Real(head); break;
      case 40: r = Real(head); break;
      case 50: a0 = circle ? 0.0 : Real(head); break;
      case 51: a1 = circle ? 0.0 : Real(head); break;
      default: CommonGroup(code, head);
    }
  }
  if (cut_ || std::fabs(r) < kSmallestArc) return;
  ResetCurrentFigure();
  FigureRecord& f = g_curFigure;
  f.kind = kKindArc;
  f.centre = c;
  f.radius = r;
  f.start = Polar(c, r, a0);
  f.end = Polar(c, r, a1);
  if (head.mirrorX) {
    f.centre.x = -f.centre.x, f.start.x = -f.start.x, f.end.x = -f.end.x;
    f.radius = -f.radius;
  }
  if (!circle && Distance(f.start, f.end) < 1e-6 && std::fabs(r) > kLargestClosedArc) return;
  if (circle) f.end = f.start;
  SetArcAngles(f);
  Finish(head, EntityColour(head));
}

void Reader::NoteVertexFull() {
  ReportOnce(fullShown_[kFullVertices], "ポリラインの頂点が多すぎます: 残りの頂点は読みません");
}

void Reader::ReadLwPolyline() {
  EntityHead head = NewHead();
  std::vector<Vertex> vertices;
  bool closed = false, dropping = false;
  int code = 0;
  while (NextCode(code) && code != 0) {
    if (!NextValue()) break;
    switch (code) {
      case 10:
        dropping = vertices.size() >= static_cast<std::size_t>(kDxfVertexLimit);
        if (dropping) {
          NoteVertexFull();
        } else {
          vertices.push_back({});
          vertices.back().p.x = Real(head);
        }
        break;
      case 20:
        if (!dropping && !vertices.empty()) vertices.back().p.y = Real(head);
        break;
      case 42:
        if (!dropping && !vertices.empty()) vertices.back().bulge = Real(head);
        break;
      case 70: closed = (Integer() & 1) != 0; break;
      default: CommonGroup(code, head);
    }
  }
  if (cut_ || head.bad) return;
  if (head.mirrorX) {
    for (Vertex& v : vertices) v.p.x = -v.p.x, v.bulge = -v.bulge;
  }
  EmitPolyline(vertices, closed, head);
}

void Reader::ReadPolyline() {
  EntityHead head = NewHead();
  bool closed = false;
  int code = 0;
  while (NextCode(code) && code != 0) {
    if (!NextValue()) break;
    if (code == 70) closed = (Integer() & 1) != 0;
    else CommonGroup(code, head);
  }
  std::vector<Vertex> vertices;
  while (!cut_) {
    if (!ReadLine()) {
      cut_ = true;
      break;
    }
    const bool vertex = line_ == "VERTEX";
    if (!vertex && line_ != "SEQEND") {
      // No end mark: the line is the next entity's name.
      repeatLine_ = true;
      break;
    }
    Vertex v;
    EntityHead scratch;
    bool mirror = false;
    while (NextCode(code) && code != 0) {
      if (!NextValue()) break;
      switch (code) {
        case 10: v.p.x = Real(scratch); break;
        case 20: v.p.y = Real(scratch); break;
        case 42: v.bulge = Real(scratch); break;
        case 50: v.tangent = true, v.tangentAngle = Real(scratch); break;
        case 70: v.tangentAngle = 0.0; break;
        case 230: mirror = Real(scratch) < 0.0; break;
        default: break;
      }
    }
    if (!vertex) break;
    if (scratch.bad) head.bad = true;
    if (mirror) v.p.x = -v.p.x, v.bulge = -v.bulge;
    if (vertices.size() >= static_cast<std::size_t>(kDxfVertexLimit)) NoteVertexFull();
    else vertices.push_back(v);
  }
  if (cut_ || head.bad) return;
  EmitPolyline(vertices, closed, head);
}

void Reader::EmitBulgeArc(Vec2 a, Vec2 b, double bulge, const EntityHead& head, int colour) {
  if (bulge < 0.0) std::swap(a, b);
  const double sweep = 4.0 * std::atan(std::fabs(bulge));
  const double chord = Distance(a, b);
  const double half = sweep / 2.0;
  if (chord <= 0.0 || std::sin(half) <= 0.0) return;
  const double r = chord / (2.0 * std::sin(half));
  if (r <= kSmallestArc) return;
  // The centre lies on the chord's bisector, left of a->b for a sweep below
  // 180 degrees and right of it above.
  const Vec2 mid{(a.x + b.x) / 2.0, (a.y + b.y) / 2.0};
  const Vec2 left{-(b.y - a.y) / chord, (b.x - a.x) / chord};
  const double d = r * std::cos(half);
  ResetCurrentFigure();
  FigureRecord& f = g_curFigure;
  f.kind = kKindArc;
  f.centre = {mid.x + left.x * d, mid.y + left.y * d};
  f.start = a;
  f.end = b;
  f.radius = r;
  SetArcAngles(f);
  Finish(head, colour);
}

void Reader::EmitPolyline(std::vector<Vertex>& vertices, bool closed, const EntityHead& head) {
  if (closed && vertices.size() >= 2) vertices.push_back(vertices.front());
  const int colour = EntityColour(head);
  const auto sink = [this, &head](FigureRecord& piece) { PlacePiece(piece, head); };
  for (std::size_t i = 0; i + 1 < vertices.size(); ++i) {
    const Vertex& a = vertices[i];
    const Vertex& b = vertices[i + 1];
    if (a.tangent && b.tangent) {
      ComputeSplineSegment(a.p, UnitVectorFromAngle(a.tangentAngle), b.p, UnitVectorFromAngle(b.tangentAngle), sink);
    } else if (a.bulge != 0.0) {
      EmitBulgeArc(a.p, b.p, a.bulge, head, colour);
    } else {
      StoreLine(a.p, b.p, head, colour);
    }
  }
}

void Reader::EmitCurvePoints(const std::vector<CurvePoint>& points, const EntityHead& head) {
  if (points.size() < 2 || curBlock_ == kSkippedBlock) return;
  // Inside a block the points wait in work table 100 and only the pieces
  // join the block; outside they stay with their curve.
  const int table = curBlock_ >= 0 ? kTableWork100 : head.table;
  const Vec2 base = curBlock_ >= 0 ? blocks_[static_cast<std::size_t>(curBlock_)].base : Vec2{};
  const int before = GetFigureCount(table);
  g_figureTableSelector = table;
  for (const CurvePoint& point : points) {
    ResetCurrentFigure();
    FigureRecord& f = g_curFigure;
    f.kind = point.tangent ? kKindCurvePointAngle : kKindCurvePoint;
    f.start = f.end = {point.p.x - base.x, point.p.y - base.y};
    f.number = g_pointCurveNumber;
    f.origin = CurrentLayerOrigin();
    f.attribute = MapImportColour(EntityColour(head), head.lineBits);
    if (point.tangent) {
      f.dir = point.t;
      f.radius = VectorAngle0(point.t.x, point.t.y);
    }
    if (!AppendFigure(0)) break;
  }
  const int end = GetFigureCount(table);
  const auto sink = [this, &head](FigureRecord& piece) { PlacePiece(piece, head); };
  ComputeCurveFromPoints(before, end, end, sink);
  if (curBlock_ >= 0) DecrementFigureCount(table, GetFigureCount(table) - before);
  else outcome_.figures += end - before;
  g_figureTableSelector = selectedTable_;
}

void Reader::ReadEllipse() {
  EntityHead head = NewHead();
  Vec2 c, major;
  double ratio = 1.0;
  int code = 0;
  while (NextCode(code) && code != 0) {
    if (!NextValue()) break;
    switch (code) {
      case 10: c.x = Real(head); break;
      case 20: c.y = Real(head); break;
      case 11: major.x = Real(head); break;
      case 21: major.y = Real(head); break;
      case 40: ratio = Real(head); break;
      default: CommonGroup(code, head);
    }
  }
  if (cut_ || head.bad) return;
  if (head.mirrorX) c.x = -c.x, major.x = -major.x;
  const double a = std::hypot(major.x, major.y), b = a * ratio;
  if (a < kSmallestArc || std::fabs(b) < kSmallestArc) return;
  const double slope = VectorAngle(major.x, major.y) * kRadiansPerDegree;
  const double cs = std::cos(slope), sn = std::sin(slope);
  const int count = EllipsePointCount(kEllipseStep);
  std::vector<CurvePoint> points;
  points.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const double t = std::min(360.0, i * kEllipseStep) * kRadiansPerDegree;
    const double x = a * std::cos(t), y = b * std::sin(t);
    CurvePoint point{{c.x + x * cs - y * sn, c.y + x * sn + y * cs}, {}, false};
    if (i == 0 || i == count - 1) point = {point.p, {-sn, cs}, true};
    points.push_back(point);
  }
  EmitCurvePoints(points, head);
}

void Reader::ReadSpline() {
  EntityHead head = NewHead();
  std::vector<CurvePoint> points;
  Vec2 startTangent, endTangent;
  bool haveStart = false, haveEnd = false, closed = false;
  int code = 0;
  while (NextCode(code) && code != 0) {
    if (!NextValue()) break;
    switch (code) {
      case 11:
        if (points.size() < static_cast<std::size_t>(kDxfVertexLimit)) points.push_back({{Real(head), 0.0}, {}, false});
        else NoteVertexFull();
        break;
      case 21:
        if (!points.empty()) points.back().p.y = Real(head);
        break;
      case 12: startTangent.x = Real(head), haveStart = true; break;
      case 22: startTangent.y = Real(head); break;
      case 13: endTangent.x = Real(head), haveEnd = true; break;
      case 23: endTangent.y = Real(head); break;
      case 70: closed = (Integer() & 1) != 0; break;
      default: CommonGroup(code, head);
    }
  }
  if (cut_ || head.bad || points.empty()) return;
  if (closed) points.push_back(points.front());
  const auto unit = [](Vec2 v) {
    const double n = std::hypot(v.x, v.y);
    return n > 0.0 ? Vec2{v.x / n, v.y / n} : Vec2{1.0, 0.0};
  };
  if (haveStart) points.front() = {points.front().p, unit(startTangent), true};
  if (haveEnd) points.back() = {points.back().p, unit(endTangent), true};
  if (head.mirrorX) {
    for (CurvePoint& p : points) p.p.x = -p.p.x, p.t.x = -p.t.x;
  }
  EmitCurvePoints(points, head);
}

void Reader::ReadLeader() {
  EntityHead head = NewHead();
  std::vector<Vec2> vertices;
  int code = 0;
  while (NextCode(code) && code != 0) {
    if (!NextValue()) break;
    if (code == 10) {
      if (vertices.size() < static_cast<std::size_t>(kDxfVertexLimit)) vertices.push_back({Real(head), 0.0});
    } else if (code == 20) {
      if (!vertices.empty()) vertices.back().y = Real(head);
    } else {
      CommonGroup(code, head);
    }
  }
  if (cut_ || vertices.size() < 2) return;
  const int colour = EntityColour(head);
  const std::size_t n = vertices.size();
  StoreLine(vertices[n - 2], vertices[n - 1], head, colour);
  if (n == 3) StoreLine(vertices[0], vertices[1], head, colour);
}

void Reader::ReadSolid() {
  EntityHead head = NewHead();
  Vec2 corner[4];
  bool haveThird = false, haveFourth = false;
  int code = 0;
  while (NextCode(code) && code != 0) {
    if (!NextValue()) break;
    if (code >= 10 && code <= 13) {
      corner[code - 10].x = Real(head);
      haveThird |= code == 12;
      haveFourth |= code == 13;
    } else if (code >= 20 && code <= 23) {
      corner[code - 20].y = Real(head);
    } else {
      CommonGroup(code, head);
    }
  }
  if (cut_ || !haveThird) return;
  if (!haveFourth) corner[3] = corner[2];
  const int colour = EntityColour(head);
  for (int i = 0; i < 4; ++i) StoreLine(corner[i], corner[(i + 1) % 4], head, colour);
}

}  // namespace dorn::dxf
