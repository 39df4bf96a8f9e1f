// The layout of a dimension at the cursor: see dimension_layout.h.
#include "kelto_dorn/drawing/dimension_layout.h"

#include <cmath>
#include <cstring>

#include "kelto_dorn/app/number_text.h"

namespace dorn {

namespace {

constexpr double kDegrees = 57.29577951308232;
constexpr double kWidthPerCharacter = 0.625;
constexpr double kFrameHeightFactor = 1.25;
// The leader's text is typed only when it is stored: its shelf is laid out
// for a text this wide meanwhile.
constexpr double kLeaderPreviewWidth = 50.0;

Vec2 Add(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
Vec2 Sub(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
Vec2 Scale(Vec2 a, double k) { return {a.x * k, a.y * k}; }
double Length(Vec2 a) { return std::hypot(a.x, a.y); }
double Cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }
double Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
Vec2 LeftNormal(Vec2 d) { return {-d.y, d.x}; }
Vec2 Unit(Vec2 a) {
  const double l = Length(a);
  return l > 0.0 ? Vec2{a.x / l, a.y / l} : Vec2{1.0, 0.0};
}
Vec2 Direction(double degrees) { return {std::cos(degrees / kDegrees), std::sin(degrees / kDegrees)}; }
// Degrees in [0, 360).
double Angle0(Vec2 v) {
  double a = std::atan2(v.y, v.x) * kDegrees;
  if (a < 0.0) a += 360.0;
  if (a >= 360.0) a -= 360.0;
  return a;
}
double Normalised(double degrees) {
  double a = std::fmod(degrees, 360.0);
  if (a < 0.0) a += 360.0;
  return a;
}
// A text angle that never reads upside down: above 90 and up to 270 it is
// turned by 180.
double Readable(double degrees) {
  const double a = Normalised(degrees);
  return a > 90.0 && a <= 270.0 ? a - 180.0 : a;
}

FigureRecord Line(const FigureRecord& pattern, std::int32_t kind, Vec2 a, Vec2 b) {
  FigureRecord f = pattern;
  f.kind = kind;
  f.start = a;
  f.end = b;
  f.centre = {};
  f.radius = 0.0;
  f.dir = Unit(Sub(b, a));
  return f;
}

// The arc about c of radius r from angle a1 counter-clockwise to a2.
FigureRecord AngleArc(const FigureRecord& pattern, Vec2 c, double r, double a1, double a2) {
  FigureRecord f = pattern;
  f.kind = kDimAngleArc;
  f.centre = c;
  f.radius = r;
  f.start = Add(c, Scale(Direction(a1), r));
  f.end = Add(c, Scale(Direction(a2), r));
  f.dir = {};
  return f;
}

bool IsArc(const FigureRecord& f) { return (f.kind & 0xFF) == kKindArc; }

// Where the line through p along d meets the figure f; for an arc the
// meeting inside its span (else the one nearer p). False when they miss.
bool MeetFigure(Vec2 p, Vec2 d, const FigureRecord& f, Vec2& at) {
  if (IsArc(f)) {
    const double r = std::fabs(f.radius);
    const Vec2 w = Sub(p, f.centre);
    const double b = Dot(w, d), c = Dot(w, w) - r * r;
    const double disc = b * b - c;
    if (disc < 0.0) return false;
    const double s = std::sqrt(disc);
    const Vec2 q1 = Add(p, Scale(d, -b - s)), q2 = Add(p, Scale(d, -b + s));
    const bool nearerFirst = Length(Sub(q1, p)) <= Length(Sub(q2, p));
    at = PickPointInsideArc(f, nearerFirst ? q1 : q2, nearerFirst ? q2 : q1);
    return true;
  }
  const Vec2 e = Unit(Sub(f.end, f.start));
  const double den = Cross(d, e);
  if (std::fabs(den) < 1e-12) return false;
  const double t = Cross(Sub(f.start, p), e) / den;
  at = Add(p, Scale(d, t));
  return true;
}

// The text centred on `middle` along the readable angle of `along`.
void CentreText(TextRecord& t, Vec2 middle, double along, double w) {
  t.angle = static_cast<float>(Readable(along));
  const Vec2 td = Direction(t.angle);
  const Vec2 base = Sub(middle, Scale(td, w / 2.0));
  t.baseX = static_cast<float>(base.x);
  t.baseY = static_cast<float>(base.y);
}

void SetBase(TextRecord& t, Vec2 p) {
  t.baseX = static_cast<float>(p.x);
  t.baseY = static_cast<float>(p.y);
}

// An extension line at a fixed coordinate from 0.5 beyond the point toward
// the cursor to `to` (moved on by `over` past the cursor).
FigureRecord Extension(const FigureRecord& pattern, bool vertical, Vec2 p, double cursor, double over) {
  const double from = vertical ? p.y : p.x;
  const double sign = cursor > from ? 1.0 : -1.0;
  const double a = from + 0.5 * sign, b = cursor + over * sign;
  return vertical ? Line(pattern, kDimExtensionLine, {p.x, a}, {p.x, b})
                  : Line(pattern, kDimExtensionLine, {a, p.y}, {b, p.y});
}

struct Context {
  const DimensionItem& item;
  Vec2 cursor;
  const DimensionStyle& style;
  FigureRecord pattern;  // layer, colour, origin of the figures
  DimensionLayout out;
  double Width(const std::string& text) const { return DimensionTextWidth(style.textSize, text.size()); }
  void SetText(const std::string& text) { SetTextRecordText(out.text, text); }
};

void LinearLayout(Context& c, bool vertical) {
  const Vec2 p1 = c.item.work.start, p2 = c.item.work.end;
  const double value = vertical ? std::fabs(p1.y - p2.y) : std::fabs(p1.x - p2.x);
  const std::string text = DimensionNumber(c.style.dimPrecision, value);
  c.SetText(text);
  const double w = c.Width(text);
  if (!vertical) {
    c.out.figures[0] = Extension(c.pattern, true, p1, c.cursor.y, 2.0);
    c.out.figures[1] = Extension(c.pattern, true, p2, c.cursor.y, 2.0);
    c.out.figures[2] = Line(c.pattern, kDimArrowLine, {p1.x, c.cursor.y}, {p2.x, c.cursor.y});
    SetBase(c.out.text, {(p1.x + p2.x) / 2.0 - w / 2.0, c.cursor.y + 0.3});
    c.out.text.angle = 0.0f;
  } else {
    c.out.figures[0] = Extension(c.pattern, false, p1, c.cursor.x, 2.0);
    c.out.figures[1] = Extension(c.pattern, false, p2, c.cursor.x, 2.0);
    c.out.figures[2] = Line(c.pattern, kDimArrowLine, {c.cursor.x, p1.y}, {c.cursor.x, p2.y});
    // Turned by 90 degrees the text's upper side faces -X: it sits 0.3 to
    // the left of the dimension line, as the horizontal one sits above it.
    SetBase(c.out.text, {c.cursor.x - 0.3, (p1.y + p2.y) / 2.0 - w / 2.0});
    c.out.text.angle = 90.0f;
  }
}

void AlignedLayout(Context& c) {
  const Vec2 p1 = c.item.work.start, p2 = c.item.work.end;
  const Vec2 d = Unit(Sub(p2, p1));
  const double length = Length(Sub(p2, p1));
  const double y = Cross(d, Sub(c.cursor, p1));
  const Vec2 n = Scale(LeftNormal(d), y >= 0.0 ? 1.0 : -1.0);
  const double across = std::fabs(y);
  const Vec2 e1 = Add(p1, Scale(n, across)), e2 = Add(p2, Scale(n, across));
  c.out.figures[0] = Line(c.pattern, kDimExtensionLine, Add(p1, Scale(n, 0.5)), e1);
  c.out.figures[1] = Line(c.pattern, kDimExtensionLine, Add(p2, Scale(n, 0.5)), e2);
  c.out.figures[2] = Line(c.pattern, kDimArrowLine, Sub(e1, Scale(n, 3.5)), Sub(e2, Scale(n, 3.5)));
  const std::string text = DimensionNumber(c.style.dimPrecision, length);
  c.SetText(text);
  const double k = y > 0.0 ? -3.0 : -4.0;
  SetBase(c.out.text, Add(Add(e1, Scale(n, k)), Scale(d, length / 2.0 - c.Width(text) / 2.0)));
  c.out.text.angle = static_cast<float>(Angle0(d));
}

void CircleLayout(Context& c, bool diameter) {
  const Vec2 centre = c.item.work.centre;
  const double r = std::fabs(c.item.work.radius);
  const Vec2 u = Unit(Sub(c.cursor, centre));
  const std::string& text = c.item.fixedText;
  c.SetText(text);
  const double w = c.Width(text);
  if (diameter) {
    c.out.figures[0] = Line(c.pattern, kDimArrowLine, Sub(centre, Scale(u, r)), Add(centre, Scale(u, r)));
    CentreText(c.out.text, centre, Angle0(u), w);
  } else {
    c.out.figures[0] = Line(c.pattern, kDimRadiusLine, c.cursor, Add(centre, Scale(u, r)));
    c.out.text.angle = static_cast<float>(Readable(Angle0(u)));
    SetBase(c.out.text, c.cursor);
  }
  if (c.out.text.angle > 80.0f && c.out.text.angle < 100.0f) {
    c.out.text.baseX -= 0.2f;
  } else {
    c.out.text.baseY += 0.2f;
  }
}

void AngleLayout(Context& c) {
  const FigureRecord& w = c.item.work;
  const Vec2 vertex = w.centre;
  const double radius = Length(Sub(c.cursor, vertex)) - 2.0;
  double from = 0.0, sweep = 0.0;
  if (c.item.anglePick == AnglePick::kTwoLines) {
    // Sides along the two lines' directions; of the four sectors they form,
    // the one holding the cursor.
    const double a1 = Angle0(w.dir);
    double t2 = Normalised(Angle0(c.item.other.dir) - a1);
    if (t2 > 180.0) t2 -= 180.0;
    const double tc = Normalised(Angle0(Sub(c.cursor, vertex)) - a1);
    const double bounds[5] = {0.0, t2, 180.0, 180.0 + t2, 360.0};
    for (int i = 0; i < 4; ++i) {
      if (tc >= bounds[i] && tc < bounds[i + 1]) {
        from = a1 + bounds[i];
        sweep = bounds[i + 1] - bounds[i];
      }
    }
    c.out.figures[0].kind = c.out.figures[1].kind = 0;
  } else {
    const double a1 = Angle0(Sub(w.start, vertex));
    const double t2 = Normalised(Angle0(Sub(w.end, vertex)) - a1);
    const double tc = Normalised(Angle0(Sub(c.cursor, vertex)) - a1);
    if (tc < t2) {
      from = a1;
      sweep = t2;
    } else {
      from = a1 + t2;
      sweep = 360.0 - t2;
    }
    c.out.figures[0] = Line(c.pattern, kDimExtensionLine, vertex, w.start);
    c.out.figures[1] = Line(c.pattern, kDimExtensionLine, vertex, w.end);
  }
  c.out.figures[2] = AngleArc(c.pattern, vertex, radius, from, from + sweep);
  const std::string text = DimensionNumber(c.style.dimPrecision, sweep) + "\x81\x8B";  // degree sign
  c.SetText(text);
  // The text lies along the tangent at the arc's mid-angle, centred on the
  // arc there.
  const double mid = Normalised(from + sweep / 2.0);
  const double angle = mid > 180.0 ? mid + 90.0 : mid - 90.0;
  const Vec2 onArc = Add(vertex, Scale(Direction(mid), radius));
  c.out.text.angle = static_cast<float>(Normalised(angle));
  SetBase(c.out.text, Sub(onArc, Scale(Direction(angle), c.Width(text) / 2.0)));
}

void OrdinateLayout(Context& c, bool xAxis) {
  const FigureRecord& w = c.item.work;
  const Vec2 p = w.start;
  const double value = xAxis ? p.x : p.y;
  const std::string text = (xAxis ? "X" : "Y") + DimensionNumber(c.style.dimPrecision, value);
  c.SetText(text);
  if (xAxis) {
    c.out.figures[0] = Extension(c.pattern, true, p, c.cursor.y, 0.0);
    if (c.item.bothEnds) c.out.figures[1] = Extension(c.pattern, true, w.end, c.cursor.y, 0.0);
    const bool above = c.cursor.y > p.y;
    SetBase(c.out.text, {p.x + (above ? 0.2 : -0.2), c.cursor.y});
    c.out.text.angle = above ? -90.0f : 90.0f;
  } else {
    c.out.figures[0] = Extension(c.pattern, false, p, c.cursor.x, 0.0);
    if (c.item.bothEnds) c.out.figures[1] = Extension(c.pattern, false, w.end, c.cursor.x, 0.0);
    SetBase(c.out.text, {c.cursor.x > p.x ? c.cursor.x - 15.0 : c.cursor.x, p.y + 0.2});
    c.out.text.angle = 0.0f;
  }
}

void LeaderLayout(Context& c, bool coordinate) {
  const Vec2 p = c.item.work.start;
  const Vec2 u = Unit(Sub(c.cursor, p));
  double w = kLeaderPreviewWidth;
  if (coordinate) {
    const std::string text = "(" + DimensionNumber(c.style.dimPrecision, p.x) + " , " +
                             DimensionNumber(c.style.dimPrecision, p.y) + ")";
    c.SetText(text);
    w = c.Width(text);
  }
  c.out.figures[0] = Line(c.pattern, kDimLeaderLine, coordinate ? Add(p, Scale(u, 0.5)) : p, c.cursor);
  const bool right = u.x >= 0.0;
  const Vec2 shelfEnd = Add(c.cursor, {right ? w + 3.0 : -(w + 3.0), 0.0});
  c.out.figures[1] = Line(c.pattern, kDimExtensionLine, c.cursor, shelfEnd);
  SetBase(c.out.text, {right ? c.cursor.x + 1.4 : shelfEnd.x + 2.4, c.cursor.y + 0.2});
  c.out.text.angle = 0.0f;
}

// The dimension line between a and b with its value centred above it.
void DistanceLine(Context& c, Vec2 a, Vec2 b) {
  c.out.figures[0] = Line(c.pattern, kDimArrowLine, a, b);
  const std::string text = DimensionNumber(c.style.dimPrecision, Length(Sub(b, a)));
  c.SetText(text);
  CentreText(c.out.text, Scale(Add(a, b), 0.5), Angle0(Sub(b, a)), c.Width(text));
  c.out.text.baseY += 0.2f;
}

void PointToFigureLayout(Context& c) {
  const Vec2 p = c.item.work.start;
  const FigureRecord& f = c.item.other;
  const Vec2 d = IsArc(f) ? Unit(Sub(f.centre, p)) : LeftNormal(Unit(Sub(f.end, f.start)));
  Vec2 q = p;
  if (!MeetFigure(p, d, f, q)) q = p;
  DistanceLine(c, p, q);
}

void BetweenFiguresLayout(Context& c) {
  const FigureRecord& first = c.item.other;
  const FigureRecord& second = c.item.work;
  // The construction line passes through the cursor, or through the second
  // figure's centre when that is an arc.
  const Vec2 through = IsArc(second) ? second.centre : c.cursor;
  const Vec2 d = IsArc(first) ? Unit(Sub(through, first.centre)) : LeftNormal(Unit(Sub(first.end, first.start)));
  Vec2 a = through, b = through;
  if (!MeetFigure(through, d, first, a) || !MeetFigure(through, d, second, b)) a = b = through;
  DistanceLine(c, a, b);
}

void TextOnlyLayout(Context& c) {
  SetBase(c.out.text, c.cursor);
  c.out.text.angle = 0.0f;
}

}  // namespace

double DimensionTextWidth(double textSize, std::size_t characters) {
  return textSize * kWidthPerCharacter * static_cast<double>(characters);
}

std::string DimensionNumber(int precision, double value) {
  const int saved = g_dropBarePoint;
  g_dropBarePoint = 1;
  FormatNumber(precision, value);
  g_dropBarePoint = saved;
  const char* text = g_textBuffer;
  while (*text == ' ') ++text;
  return text;
}

Vec2 PickPointInsideArc(const FigureRecord& arc, Vec2 a, Vec2 b) {
  const double s = Angle0(Sub(arc.start, arc.centre));
  const double e = Angle0(Sub(arc.end, arc.centre));
  // The span counter-clockwise from start to end (clockwise arcs from end).
  const double from = arc.radius < 0.0 ? e : s;
  double sweep = Normalised((arc.radius < 0.0 ? s : e) - from);
  if (sweep == 0.0) sweep = 360.0;  // a full circle
  auto inside = [&](Vec2 p) { return Normalised(Angle0(Sub(p, arc.centre)) - from) <= sweep; };
  return !inside(a) && inside(b) ? b : a;
}

std::array<FigureRecord, 4> TextFrame(const TextRecord& text, const FigureRecord& pattern) {
  const Vec2 d = Direction(text.angle);
  const Vec2 up = Scale(LeftNormal(d), text.size * kFrameHeightFactor);
  const Vec2 a{text.baseX, text.baseY};
  const Vec2 b = Add(a, Scale(d, DimensionTextWidth(text.size, std::strlen(text.text))));
  return {Line(pattern, kDimExtensionLine, a, b), Line(pattern, kDimExtensionLine, Add(a, up), Add(b, up)),
          Line(pattern, kDimExtensionLine, a, Add(a, up)), Line(pattern, kDimExtensionLine, b, Add(b, up))};
}

DimensionLayout LayoutDimension(int command, const DimensionItem& item, Vec2 cursor, const TextRecord& text,
                                const DimensionStyle& style) {
  Context c{item, {Round3(cursor.x), Round3(cursor.y)}, style, {}, {}};
  c.pattern.layer = item.work.layer;
  c.pattern.style = kNewFigureStyle;
  c.pattern.attribute = style.dimLineColor & kAttrColourMask;
  c.pattern.origin = item.work.origin;
  c.pattern.depth = item.work.depth;
  c.out.text = text;
  c.out.text.originX = static_cast<float>(item.work.origin.x);
  c.out.text.originY = static_cast<float>(item.work.origin.y);
  switch (command) {
    case dim::kHorizontal: LinearLayout(c, false); break;
    case dim::kVertical: LinearLayout(c, true); break;
    case dim::kAligned: AlignedLayout(c); break;
    case dim::kAngle: AngleLayout(c); break;
    case dim::kDiameter: CircleLayout(c, true); break;
    case dim::kRadius: CircleLayout(c, false); break;
    case dim::kOrdinateX: OrdinateLayout(c, true); break;
    case dim::kOrdinateY: OrdinateLayout(c, false); break;
    case dim::kCoordinate: LeaderLayout(c, true); break;
    case dim::kLeader: LeaderLayout(c, false); break;
    case dim::kPointToFigure: PointToFigureLayout(c); break;
    case dim::kBetweenFigures: BetweenFiguresLayout(c); break;
    default: TextOnlyLayout(c); break;
  }
  c.out.frame = TextFrame(c.out.text, c.pattern);
  return c.out;
}

}  // namespace dorn
