#include "tests/kelto_dorn/camdata/contour_corpus.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <set>
#include <sstream>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/camdata/camdata_state.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/camdata/post_table.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/repeat_rules.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"
#include "tests/kelto_qup/support/handover_builder.h"
#include "tests/kelto_qup/support/rs274.h"
#include "tests/support/test_support.h"

namespace dorn::test {

namespace {

namespace fs = std::filesystem;
using testsupport::DrawnArc;
using testsupport::DrawnElement;
using testsupport::DrawnLine;
using testsupport::PointAlong;

constexpr double kPi = std::numbers::pi;
constexpr double kDepth = -5.0;        // the contour's depth; the part's top is Z 0
constexpr double kFirstPass = -2.0;    // the first of two passes
constexpr double kLeadRoom = 5.0;      // a TO point lies this far beyond the tool from the wall
constexpr std::int32_t kCurveKey = 601;

// A number as a job's name and its fixture show it.
std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", v);
  return text;
}

// ---- shapes, drawn counter-clockwise (their inside on the left)

Contour Polyline(const std::vector<std::array<double, 2>>& points) {
  Contour c;
  for (std::size_t i = 1; i < points.size(); ++i) {
    c.push_back(DrawnLine(points[i - 1][0], points[i - 1][1], points[i][0], points[i][1]));
  }
  return c;
}

Contour Reversed(const Contour& contour) {
  Contour r;
  for (auto it = contour.rbegin(); it != contour.rend(); ++it) {
    r.push_back({it->x1, it->y1, it->x0, it->y0, -it->radius, it->cx, it->cy});
  }
  return r;
}

// An arc of radius r about (cx, cy) from angle a0 to a1 (degrees), counter-
// clockwise when a1 > a0.
DrawnElement ArcByAngles(double cx, double cy, double r, double a0, double a1) {
  const double s = a0 * kPi / 180.0, e = a1 * kPi / 180.0;
  return DrawnArc(cx + r * std::cos(s), cy + r * std::sin(s), cx + r * std::cos(e), cy + r * std::sin(e), cx, cy,
                  a1 > a0 ? r : -r);
}

// A rectangle w x h with corner fillets of r, from the start of its bottom side.
Contour FilletedRectangle(double w, double h, double r) {
  return {DrawnLine(r, 0, w - r, 0),         ArcByAngles(w - r, r, r, -90, 0),    DrawnLine(w, r, w, h - r),
          ArcByAngles(w - r, h - r, r, 0, 90), DrawnLine(w - r, h, r, h),       ArcByAngles(r, h - r, r, 90, 180),
          DrawnLine(0, h - r, 0, r),          ArcByAngles(r, r, r, 180, 270)};
}

// A circle of R20 about the origin as `parts` arcs, from angle `from`.
Contour SplitCircle(int parts, double from = 0.0) {
  Contour c;
  for (int i = 0; i < parts; ++i) c.push_back(ArcByAngles(0, 0, 20, from + 360.0 * i / parts, from + 360.0 * (i + 1) / parts));
  return c;
}

// A circular segment: the arc of radius r over `degrees` about the top,
// then its chord.
Contour Segment(double r, double degrees) {
  const DrawnElement arc = ArcByAngles(0, 0, r, 90 - degrees / 2, 90 + degrees / 2);
  return {arc, DrawnLine(arc.x1, arc.y1, arc.x0, arc.y0)};
}

// A four-centre oval: arcs of R15 about (+-20, 0) at its ends, of R40 about
// (0, -+15) along its sides, meeting where they touch at (+-32, +-9). With
// `fromMiddle` it starts half-way round its right end, so that the arc it
// ends with and the one it starts with are of one circle.
Contour FourCentreOval(bool fromMiddle) {
  const double end = std::atan2(9.0, 12.0) * 180.0 / kPi;  // 36.87 degrees
  const double side = std::atan2(24.0, 32.0) * 180.0 / kPi;
  Contour c = {ArcByAngles(20, 0, 15, -end, end), ArcByAngles(0, -15, 40, side, 180 - side),
               ArcByAngles(-20, 0, 15, 180 - end, 180 + end), ArcByAngles(0, 15, 40, 180 + side, 360 - side)};
  if (!fromMiddle) return c;
  Contour split = {ArcByAngles(20, 0, 15, 0, end), c[1], c[2], c[3], ArcByAngles(20, 0, 15, -end, 0)};
  return split;
}

// A lens: the arcs of two R25 circles about (0, +-15) meeting at (+-20, 0);
// with `fromMiddle` it starts half-way along its lower arc.
Contour Lens(bool fromMiddle) {
  const double a = std::atan2(15.0, 20.0) * 180.0 / kPi;
  const DrawnElement lower = ArcByAngles(0, 15, 25, 180 + a, 360 - a), upper = ArcByAngles(0, -15, 25, a, 180 - a);
  if (!fromMiddle) return {lower, upper};
  return {ArcByAngles(0, 15, 25, 270, 360 - a), upper, ArcByAngles(0, 15, 25, 180 + a, 270)};
}

// A regular polygon of n sides about the origin, its radius rippled by
// `ripple` over `waves` waves.
Contour RoundPolygon(int n, double radius, double ripple, int waves) {
  std::vector<std::array<double, 2>> points;
  for (int i = 0; i <= n; ++i) {
    const double t = 2.0 * kPi * (i % n) / n;
    const double r = radius + ripple * std::sin(waves * t);
    points.push_back({r * std::cos(t), r * std::sin(t)});
  }
  return Polyline(points);
}

struct Shape {
  std::string name;
  Contour contour;
  bool narrow = false;  // a pocket the tool cannot cut
};

std::vector<Shape> Shapes() {
  std::vector<Shape> shapes = {
      {"square", Polyline({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}})},
      {"rect-r5", FilletedRectangle(120, 60, 5)},
      {"rect-120x60", Polyline({{0, 0}, {120, 0}, {120, 60}, {0, 60}, {0, 0}})},
      {"slot", {DrawnLine(0, 0, 100, 0), ArcByAngles(100, 20, 20, -90, 90), DrawnLine(100, 40, 0, 40),
                ArcByAngles(0, 20, 20, 90, 270)}},
      {"slot-8-wide", Polyline({{0, 0}, {100, 0}, {100, 8}, {0, 8}, {0, 0}}), true},
      {"l-sharp", Polyline({{0, 0}, {80, 0}, {80, 30}, {30, 30}, {30, 80}, {0, 80}, {0, 0}})},
      {"l-r3", {DrawnLine(0, 0, 80, 0), DrawnLine(80, 0, 80, 30), DrawnLine(80, 30, 33, 30),
                ArcByAngles(33, 33, 3, 270, 180), DrawnLine(30, 33, 30, 80), DrawnLine(30, 80, 0, 80),
                DrawnLine(0, 80, 0, 0)}},
      {"lens", Lens(false)},
      {"lens-split", Lens(true)},
      {"circle-1", SplitCircle(1)},
      {"circle-2", SplitCircle(2)},
      {"circle-3", SplitCircle(3, 30)},
      {"oval-4c", FourCentreOval(false)},
      {"oval-4c-split", FourCentreOval(true)},
      {"segment-120", Segment(40, 120)},
      {"segment-120-r20", Segment(20, 120), true},
      {"segment-180", Segment(40, 180)},
      {"segment-240", Segment(40, 240)},
      {"segment-300", Segment(40, 300)},
      {"quarter-pie", {DrawnLine(0, 0, 40, 0), ArcByAngles(0, 0, 40, 0, 90), DrawnLine(0, 40, 0, 0)}},
      {"d-shape", {DrawnLine(0, 0, 30, 0), ArcByAngles(30, 20, 20, -90, 90), DrawnLine(30, 40, 0, 40),
                   DrawnLine(0, 40, 0, 0)}},
      {"triangle", Polyline({{0, 0}, {100, 0}, {40, 70}, {0, 0}})},
      // Its top an S of two arcs that touch: up over (75, 65), down under (25, 15).
      {"s-top", {DrawnLine(0, 0, 100, 0), DrawnLine(100, 0, 100, 40), ArcByAngles(75, 40, 25, 0, 180),
                 ArcByAngles(25, 40, 25, 360, 180), DrawnLine(0, 40, 0, 0)}},
      {"collinear-split", Polyline({{0, 0}, {50, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}})},
      // Entered along a very short first element.
      {"short-first", Polyline({{0, 0}, {0.5, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}})},
      {"polygon-1000", RoundPolygon(1000, 50, 0, 0)},
      {"rippled-1000", RoundPolygon(1000, 50, 1.5, 24)},
  };
  for (const double size : {0.01, 1.0, 2.0, 4.0}) {
    const std::string text = Number(size);
    shapes.push_back({"chamfer-" + text,
                      Polyline({{0, 0}, {100 - size, 0}, {100, size}, {100, 100}, {0, 100}, {0, 0}})});
    shapes.push_back({"step-" + text,
                      Polyline({{0, 0}, {50, 0}, {50, size}, {100, size}, {100, 100}, {0, 100}, {0, 0}})});
  }
  return shapes;
}

// Open shapes, cut on the left of their drawn travel.
std::vector<Shape> OpenShapes() {
  return {
      {"open-l", Polyline({{0, 0}, {100, 0}, {100, 50}})},
      // An S of two arcs that touch at (50, 0): over (25, 25), under (75, -25).
      {"open-s", {ArcByAngles(25, 0, 25, 180, 0), ArcByAngles(75, 0, 25, 180, 360)}},
  };
}

// ---- where a job enters

bool IsClosed(const Contour& c) {
  return std::hypot(c.back().x1 - c.front().x0, c.back().y1 - c.front().y0) < 1e-6;
}

bool CounterClockwise(const Contour& c) {
  // The signed area of the points a fine walk round the contour passes.
  double area = 0.0;
  for (const DrawnElement& e : c) {
    constexpr int kSteps = 64;
    for (int i = 0; i < kSteps; ++i) {
      const testsupport::DrawnPoint a = PointAlong(e, static_cast<double>(i) / kSteps);
      const testsupport::DrawnPoint b = PointAlong(e, static_cast<double>(i + 1) / kSteps);
      area += a.x * b.y - a.y * b.x;
    }
  }
  return area > 0.0;
}

struct WallPoint {
  double x, y;
  double nx, ny;  // towards the tool's side
};

std::array<double, 2> LeftOf(double tx, double ty) { return {-ty, tx}; }

WallPoint MidOf(const DrawnElement& e, double s = 0.5) {
  const testsupport::DrawnPoint p = PointAlong(e, s);
  const auto n = LeftOf(p.tx, p.ty);
  return {p.x, p.y, n[0], n[1]};
}

// The joint before element 0, its normal half-way between those of the
// elements that meet there.
WallPoint CornerOf(const Contour& c) {
  const testsupport::DrawnPoint in = PointAlong(c.back(), 1.0), out = PointAlong(c.front(), 0.0);
  const auto a = LeftOf(in.tx, in.ty), b = LeftOf(out.tx, out.ty);
  double nx = a[0] + b[0], ny = a[1] + b[1];
  const double l = std::hypot(nx, ny);
  if (l < 1e-9) nx = b[0], ny = b[1];
  else nx /= l, ny /= l;
  return {out.x, out.y, nx, ny};
}

// A TO point on the tool's side of `w`, the tool's radius and the room for
// a lead clear of every wall: nearer where the room is short.
std::array<double, 2> ToPoint(const Contour& c, const WallPoint& w, double radius) {
  const bool closed = IsClosed(c);
  const bool pocket = closed && CounterClockwise(c);
  for (double d = radius + kLeadRoom; d > 0.05; d *= 0.8) {
    const double x = w.x + d * w.nx, y = w.y + d * w.ny;
    const bool freeSide = !closed || testsupport::InsideContour(c, x, y) == pocket;
    if (freeSide && testsupport::DistanceFromContour(c, x, y) >= std::min(d, radius) - 1e-9) return {x, y};
  }
  return {w.x + 0.5 * radius * w.nx, w.y + 0.5 * radius * w.ny};
}

double Degrees(double x, double y) { return std::atan2(y, x) * 180.0 / kPi; }


// ---- the job table

struct Builder {
  std::vector<CorpusJob> jobs;

  // A closed shape drawn counter-clockwise (cut inside) or clockwise (cut
  // outside), entered at `entry`: the middle of the first element, the
  // joint before it, the middle of the shortest element, or 2 along the
  // first element.
  CorpusJob Closed(const Shape& shape, bool clockwise, const std::string& entry, double tool = 10.0) {
    CorpusJob job;
    job.contour = clockwise ? Reversed(shape.contour) : shape.contour;
    job.toolDiameter = tool;
    job.mustRefuse = shape.narrow && !clockwise;
    WallPoint w{};
    if (entry == "mid") {
      w = MidOf(job.contour.front());
    } else if (entry == "corner") {
      w = CornerOf(job.contour);
    } else if (entry == "short") {
      const auto shortest = std::min_element(job.contour.begin(), job.contour.end(), [](const DrawnElement& a, const DrawnElement& b) {
        return Length(a) < Length(b);
      });
      w = MidOf(*shortest);
    } else {  // "near-corner"
      w = MidOf(job.contour.front(), 2.0 / Length(job.contour.front()));
    }
    job.cutIn = job.exit = ToPoint(job.contour, w, tool / 2);
    job.approachAngle = Degrees(-w.nx, -w.ny);
    job.escapeAngle = Degrees(w.nx, w.ny);
    job.name = shape.name + (clockwise ? "/outside/" : "/inside/") + entry;
    if (tool != 10.0) job.name += "/t" + Number(tool);
    return job;
  }

  // An open shape drawn forwards or backwards, entered at its start and
  // left at its end.
  CorpusJob Open(const Shape& shape, bool backwards, double tool = 10.0) {
    CorpusJob job;
    job.contour = backwards ? Reversed(shape.contour) : shape.contour;
    job.toolDiameter = tool;
    const WallPoint start = MidOf(job.contour.front(), 0.0), end = MidOf(job.contour.back(), 1.0);
    job.cutIn = ToPoint(job.contour, start, tool / 2);
    job.exit = ToPoint(job.contour, end, tool / 2);
    job.approachAngle = Degrees(-start.nx, -start.ny);
    job.escapeAngle = Degrees(end.nx, end.ny);
    job.name = shape.name + (backwards ? "/backwards" : "/forwards");
    if (tool != 10.0) job.name += "/t" + Number(tool);
    return job;
  }

  static double Length(const DrawnElement& e) {
    if (e.radius == 0.0) return std::hypot(e.x1 - e.x0, e.y1 - e.y0);
    double sweep = std::atan2(e.y1 - e.cy, e.x1 - e.cx) - std::atan2(e.y0 - e.cy, e.x0 - e.cx);
    if (e.radius < 0.0) sweep = -sweep;
    while (sweep <= 1e-12) sweep += 2.0 * kPi;
    return std::fabs(e.radius) * sweep;
  }

  void Add(CorpusJob job, const std::string& options) {
    job.name += "/" + options;
    jobs.push_back(std::move(job));
  }
};

// The options a job can carry beyond the plain cut, by name.
void ApplyOption(CorpusJob& job, const std::string& option) {
  if (option == "arc-leads") {
    job.lead = Lead::kArc, job.leadAmount = 3.0;
  } else if (option == "normal-leads") {
    job.lead = Lead::kNormal, job.leadAmount = 5.0;
  } else if (option == "tangent-leads") {
    job.lead = Lead::kTangent, job.leadAmount = 3.0;
  } else if (option == "vector-leads") {
    job.lead = Lead::kVector, job.leadAmount = 5.0;
  } else if (option == "overrun") {
    job.overrun = 5.0;
  } else if (option == "joint0") {
    job.passes = Passes::kJointKind0;
  } else if (option == "joint1") {
    job.passes = Passes::kJointKind1;
  } else if (option == "z-repeat") {
    job.passes = Passes::kZRepeat;
  } else if (option == "joint0-overrun") {
    job.passes = Passes::kJointKind0, job.overrun = 5.0;
  } else if (option == "there-and-back") {
    job.thereAndBack = true;
  }
}

// A shape with an element shorter than half its longest one has a short
// element to enter on.
bool HasShortElement(const Contour& c) {
  double shortest = 1e300, longest = 0.0;
  for (const DrawnElement& e : c) {
    shortest = std::min(shortest, Builder::Length(e));
    longest = std::max(longest, Builder::Length(e));
  }
  return shortest < 0.5 * longest;
}

std::vector<CorpusJob> MakeCorpus() {
  Builder b;
  const std::vector<Shape> shapes = Shapes();
  auto shape = [&](const std::string& name) -> const Shape& {
    return *std::find_if(shapes.begin(), shapes.end(), [&](const Shape& s) { return s.name == name; });
  };
  // Every shape both ways, entered in the middle of its first element, at
  // its start and in the middle of its shortest element.
  for (const Shape& s : shapes) {
    for (const bool clockwise : {false, true}) {
      b.Add(b.Closed(s, clockwise, "mid"), "plain");
      b.Add(b.Closed(s, clockwise, "corner"), "plain");
      if (HasShortElement(s.contour)) b.Add(b.Closed(s, clockwise, "short"), "plain");
    }
  }
  // The filleted rectangle with tools larger and smaller than its fillets
  // want.
  for (const double tool : {8.0, 12.0}) {
    for (const bool clockwise : {false, true}) {
      for (const char* entry : {"mid", "corner"}) b.Add(b.Closed(shape("rect-r5"), clockwise, entry, tool), "plain");
    }
  }
  // Leads, overrun, depth passes and the way back on everyday shapes.
  const char* options[] = {"arc-leads", "normal-leads", "tangent-leads", "vector-leads", "overrun",
                           "joint0",    "joint1",       "z-repeat",      "joint0-overrun", "there-and-back"};
  for (const char* name : {"square", "rect-r5", "circle-1", "quarter-pie", "d-shape", "triangle", "slot", "oval-4c"}) {
    for (const bool clockwise : {false, true}) {
      for (const char* option : options) {
        CorpusJob job = b.Closed(shape(name), clockwise, "mid");
        ApplyOption(job, option);
        b.Add(job, option);
      }
      for (const char* option : {"arc-leads", "normal-leads", "overrun"}) {
        CorpusJob job = b.Closed(shape(name), clockwise, "corner");
        ApplyOption(job, option);
        b.Add(job, option);
      }
    }
  }
  // A lead arc entered 2 from a corner; a rectangle cut outside with normal
  // leads of 5; a bore with tangent leads and a tool of 6.
  for (const bool clockwise : {false, true}) {
    CorpusJob near = b.Closed(shape("square"), clockwise, "near-corner");
    ApplyOption(near, "arc-leads");
    b.Add(near, "arc-leads");
  }
  {
    CorpusJob outside = b.Closed(shape("rect-120x60"), true, "mid");
    ApplyOption(outside, "normal-leads");
    b.Add(outside, "normal-leads");
    CorpusJob bore = b.Closed(shape("circle-1"), false, "mid", 6.0);
    ApplyOption(bore, "tangent-leads");
    b.Add(bore, "tangent-leads");
  }
  // The exit on the offset line of the side before the last.
  {
    CorpusJob exit = b.Closed(shape("square"), false, "mid");
    exit.exit = {30.0, 95.0};
    b.Add(exit, "exit-on-offset");
  }
  // Open contours on either side, plain and with leads and an overrun.
  for (const Shape& s : OpenShapes()) {
    for (const bool backwards : {false, true}) {
      b.Add(b.Open(s, backwards), "plain");
      for (const char* option : {"arc-leads", "overrun", "joint0"}) {
        CorpusJob job = b.Open(s, backwards);
        ApplyOption(job, option);
        b.Add(job, option);
      }
    }
  }
  // Characters offset 4.25 to the left of their strokes: an L of one
  // stroke, and two bars of a stroke each.
  for (const Shape& character : {Shape{"char-l", Polyline({{0, 0}, {10, 0}, {10, 10}})},
                                 Shape{"char-two-bars", {DrawnLine(0, 0, 20, 0), DrawnLine(0, 15, 20, 15)}}}) {
    CorpusJob job = b.Open(character, false, 8.5);
    job.kind = 0x8000;
    b.Add(job, "plain");
  }
  std::sort(b.jobs.begin(), b.jobs.end(), [](const CorpusJob& x, const CorpusJob& y) { return x.name < y.name; });
  return b.jobs;
}

}  // namespace

std::vector<double> JobDepths(const CorpusJob& job) {
  if (job.passes == Passes::kOne) return {kDepth};
  return {kFirstPass, kDepth};
}

const std::vector<CorpusJob>& ContourCorpus() {
  static const std::vector<CorpusJob> corpus = MakeCorpus();
  return corpus;
}

std::string JobFixture(const CorpusJob& job) {
  std::ostringstream out;
  out << "// " << job.name << "\n{";
  for (std::size_t i = 0; i < job.contour.size(); ++i) {
    const DrawnElement& e = job.contour[i];
    out << (i ? ",\n " : "");
    if (e.radius == 0.0) {
      out << "DrawnLine(" << Number(e.x0) << ", " << Number(e.y0) << ", " << Number(e.x1) << ", " << Number(e.y1) << ")";
    } else {
      out << "DrawnArc(" << Number(e.x0) << ", " << Number(e.y0) << ", " << Number(e.x1) << ", " << Number(e.y1) << ", "
          << Number(e.cx) << ", " << Number(e.cy) << ", " << Number(e.radius) << ")";
    }
  }
  out << "}\n// kind 0x" << std::hex << job.kind << std::dec << ", tool " << Number(job.toolDiameter) << ", left of travel";
  out << ", cut-in (" << Number(job.cutIn[0]) << ", " << Number(job.cutIn[1]) << "), exit (" << Number(job.exit[0])
      << ", " << Number(job.exit[1]) << ")";
  static const char* const kLeads[] = {"none", "arc", "normal", "tangent", "vector"};
  static const char* const kPasses[] = {"one pass", "joint kind 0", "joint kind 1", "Z repeat"};
  out << ", leads " << kLeads[static_cast<int>(job.lead)];
  if (job.lead != Lead::kNone) out << " " << Number(job.leadAmount);
  if (job.lead == Lead::kVector) out << " (" << Number(job.approachAngle) << ", " << Number(job.escapeAngle) << " deg)";
  out << ", overrun " << Number(job.overrun) << ", " << kPasses[static_cast<int>(job.passes)];
  if (job.thereAndBack) out << ", there and back";
  if (job.mustRefuse) out << ", must be refused";
  out << "\n";
  return out.str();
}

fs::path KnownFailuresTable() { return testsupport::FixturePath("contour_known_failures.txt"); }

std::map<std::string, std::vector<std::string>> ReadKnownFailures(const fs::path& table,
                                                                  std::vector<std::string>& problems) {
  std::map<std::string, std::vector<std::string>> known;
  std::ifstream in(table);
  if (!in) problems.push_back("cannot read " + table.string());
  std::string previous;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string name, verdict;
    words >> name;
    std::vector<std::string> verdicts;
    while (words >> verdict) verdicts.push_back(verdict);
    const std::string where = "line " + std::to_string(number) + " (" + name + "): ";
    if (verdicts.empty()) problems.push_back(where + "no verdicts");
    if (!std::is_sorted(verdicts.begin(), verdicts.end())) problems.push_back(where + "verdicts out of order");
    if (!previous.empty() && name <= previous) problems.push_back(where + "out of order or repeated");
    previous = name;
    known[name] = verdicts;
  }
  return known;
}

// ---- the road

void ContourCorpusTest::SetUp() {
  CamDataTest::SetUp();
  g_postTable = testsupport::HandoverBuilder::DecimalPointPosts();
  ASSERT_TRUE(WriteDornPostTable().ok());
  fs::create_directories(home() / "UNIT" / "PGM" / "DAT");
}

void ContourCorpusTest::AddContourCurve(std::int32_t key, const Contour& contour) {
  CurveRecord curve;
  curve.key = key;
  curve.first = GetFigureCount(kTableCurves);
  g_figureTableSelector = kTableCurves;
  int stroke = 0;
  for (std::size_t i = 0; i < contour.size(); ++i) {
    const DrawnElement& e = contour[i];
    // A figure that does not start where the one before ends begins a new
    // stroke, which a character's figures tell by their number.
    if (i > 0 && std::hypot(e.x0 - contour[i - 1].x1, e.y0 - contour[i - 1].y1) > 1e-9) ++stroke;
    ClearCurrentFigure();
    g_curFigure.number = stroke;
    g_curFigure.start = {e.x0, e.y0};
    g_curFigure.end = {e.x1, e.y1};
    if (e.radius == 0.0) {
      g_curFigure.kind = kKindLine;
      const double l = std::hypot(e.x1 - e.x0, e.y1 - e.y0);
      g_curFigure.dir = {(e.x1 - e.x0) / l, (e.y1 - e.y0) / l};
    } else {
      g_curFigure.kind = kKindArc;
      g_curFigure.centre = {e.cx, e.cy};
      g_curFigure.radius = e.radius;
    }
    ASSERT_TRUE(AppendFigure(0));
  }
  curve.end = GetFigureCount(kTableCurves);
  platform::SetFieldText(curve.name, "CONTOUR");
  g_curveTable[static_cast<std::size_t>(g_curveCount++)] = curve;
  g_figureTableSelector = 0;
}

// A plane contour over the curve as its dialog leaves it: tool at 500
// mm/min, cut at Z -5 from a start level of 50, the cut-in and the overrun
// at points, the job's leads and passes.
MachiningDefinition ContourCorpusTest::Definition(const CorpusJob& job, std::int32_t key) const {
  HoleDefinition base;
  MachiningDefinition d = MakeHoleDefinition(base);
  d.kind = job.kind;
  d.curves[0] = CurveListItem{1, key, 0, 0, 0, 0, 0, {}};
  StepCondition& c = d.steps[0];
  c.endDepth = kDepth;
  c.zone1Key = c.zone2Key = 0xFFFF;
  c.zone1X = job.cutIn[0], c.zone1Y = job.cutIn[1];
  c.zone2X = job.exit[0], c.zone2Y = job.exit[1];
  c.overrun = job.overrun > 0.0 ? 1.0f : 0.0f;
  c.word208 = job.thereAndBack ? 1 : 0;
  static constexpr int kLeadKinds[] = {0, 4, 2, 3, 6};
  if (job.lead != Lead::kNone) {
    c.approachOn = c.escapeOn = 1;
    c.approachKind = c.escapeKind = kLeadKinds[static_cast<int>(job.lead)];
    c.value264 = c.value304 = job.leadAmount;
    // A vector: no tilt, the direction of travel in the plane.
    c.value272 = c.value312 = 0.0;
    c.value280 = job.approachAngle;
    c.value320 = job.escapeAngle;
  }
  switch (job.passes) {
    case Passes::kOne:
      break;
    case Passes::kJointKind0:
    case Passes::kJointKind1:
      c.repeat[0] = RepeatBlock{1, 0, 0, job.passes == Passes::kJointKind0 ? 0 : 1, kFirstPass, kDepth - kFirstPass, kDepth};
      break;
    case Passes::kZRepeat:
      // Start, cut per pass (as the repeat dialog keeps it, a positive
      // amount) and end.
      c.repeat[0] = RepeatBlock{1, 0, 0, repeat_style::kZ, kFirstPass, kFirstPass - kDepth, kDepth};
      break;
  }
  AtcRecord& t = d.stepTools[0];
  t.diameter = static_cast<float>(job.toolDiameter);
  t.feed = 500.0f;
  return d;
}

// The drawing, the definition and the programs of the job before go; the
// program folder, the figure store, the definition slots and the post table
// stay (making those anew for every job took most of the corpus's time).
void ContourCorpusTest::ClearLastJob() {
  ClearFigureTable(kTableCurves);
  ResetCurveTable();
  ResetMachiningState();
  ClearDefinitionIndexTable(g_machiningIndexTable);
  ResetCamDataState();
  g_postTable = testsupport::HandoverBuilder::DecimalPointPosts();
  builder_.reset();
  for (const char* name : {"HOLE.NC", "HOLE.NC.numbered", "rs274.txt"}) {
    fs::remove(home() / "UNIT" / "PGM" / "DAT" / name);
    fs::remove(home() / name);
  }
}

CorpusOutcome ContourCorpusTest::RunCorpusJob(const CorpusJob& job) {
  ClearLastJob();
  host_ = qup::RecordingHost{};
  CorpusOutcome out;
  std::set<std::string> verdicts;
  AddContourCurve(kCurveKey, job.contour);
  g_machiningDefaults.overrun = static_cast<float>(job.overrun);
  StoreDefinition(Definition(job, kCurveKey), "輪郭加工_1");
  OrderAllItems();
  const CamBuildResult built = Build();
  if (!built.written) {
    out.verdicts = {"BUILD"};
    out.details = "the hand-over was not written: " + built.failure;
    return out;
  }
  qup::RunContext run(host_);
  run.job.Header = g_drawingHeader;
  run.job.Header.startMode = 4;
  run.job.Header.subMode = 6;
  run.job.Modes.StartMode = 4;
  run.job.OverrunLength = static_cast<float>(job.overrun);
  if (run.LoadJob() != 0) verdicts.insert("LOAD");
  run.InitNcJob();
  run.StartNcCreation();
  for (const std::string& box : host_.errorBoxes) {
    const std::size_t at = box.find("ERROR.");
    verdicts.insert(at != std::string::npos ? "ERROR-" + box.substr(at + 6, 4) : "ERROR-FAULT");
    out.details += platform::Cp932ToUtf8(box) + "\n";
  }
  const bool refused = run.job.RunIncomplete != 0 || !host_.errorBoxes.empty();

  const fs::path nc = home() / "UNIT" / "PGM" / "DAT" / "HOLE.NC";
  const testsupport::MotionCheck motion = testsupport::CheckNcMotion(nc, home());
  out.ran = motion.ran;
  if (motion.ran) {
    // A run that stopped leaves a program cut short, marked incomplete: that
    // it ends without its end is what a stop is, not a fault of its moves.
    std::vector<testsupport::MotionViolation> violations;
    for (const testsupport::MotionViolation& v : motion.violations) {
      const bool cutShort = v.what.find("File ended with no percent sign") != std::string::npos ||
                            v.what.find("ends with the spindle running") != std::string::npos;
      if (!(refused && cutShort)) violations.push_back(v);
    }
    if (!violations.empty()) {
      verdicts.insert("MOTION");
      out.details += testsupport::Describe(violations);
    }
    testsupport::ContourCut cut;
    cut.contour = job.contour;
    cut.toolRadius = job.toolDiameter / 2;
    cut.side = testsupport::CutSide::kLeft;
    cut.depths = JobDepths(job);
    const testsupport::ContourCheckResult check = testsupport::CheckContourCut(cut, motion.moves);
    for (testsupport::Verdict v : check.Verdicts()) verdicts.insert(testsupport::VerdictName(v));
    out.details += check.Describe(4);
  }
  if (job.mustRefuse) {
    // A contour the tool cannot follow: the run says so and what it leaves
    // is expected; a run that goes on as if all were well is the fault.
    if (refused) {
      std::erase_if(verdicts, [](const std::string& v) { return v.starts_with("ERROR-") || v == "UNCUT"; });
    } else {
      verdicts.insert("REFUSED-NOT");
    }
  }
  out.verdicts.assign(verdicts.begin(), verdicts.end());
  return out;
}

}  // namespace dorn::test
