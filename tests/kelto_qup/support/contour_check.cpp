#include "tests/kelto_qup/support/contour_check.h"

#include <polyclipping/clipper.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <unordered_map>

namespace testsupport {

namespace {

constexpr double kPi = std::numbers::pi;
// Samples of a move and of the wall: 0.05 mm apart.
constexpr double kSampleStep = 0.05;
// A move's ends may lie this much inside the radius: the NC words carry
// three decimals and the engine rounds its joints to 0.001.
constexpr double kEndAllowance = 0.002;
// Inside a straight move, a chord of the circle the tool steps round (a
// drawn arc, or a corner the tool turns round) dips towards its centre; the
// engine's chord tolerance bounds that dip.
constexpr double kChordTolerance = 0.01;
// A wall point is cut when a move at the depth passes within radius + this
// (the chord tolerance and the end allowance).
constexpr double kTouchAllowance = 0.012;
// The contour and the offset are polygonised within kPolygonSagitta each: a
// tool centre this near the offset boundary stands on it.
constexpr double kPolygonSagitta = 0.0005;
constexpr double kReachTolerance = 0.005;
// Z levels: the NC words carry three decimals.
constexpr double kLevelTolerance = 0.0005;
// A rapid below the top must run where a feed move has been, this near.
constexpr double kClearedTolerance = 0.01;
// Elements meet, and an arc's ends lie on its circle, within this.
constexpr double kChainTolerance = 0.001;
// Integer units of the clipping library: 0.01 µm.
constexpr double kClipperScale = 1e5;
// Wrong-side on an open contour is judged this many tool radii from it.
constexpr double kOpenSideReach = 3.0;

struct Vec {
  double x = 0.0, y = 0.0;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(double s, Vec a) { return {s * a.x, s * a.y}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
double Cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }
double Norm(Vec a) { return std::sqrt(a.x * a.x + a.y * a.y); }
Vec LeftNormal(Vec t) { return {-t.y, t.x}; }

// An angle brought into [0, 2 pi).
double Wrap(double a) {
  a = std::fmod(a, 2.0 * kPi);
  return a < 0.0 ? a + 2.0 * kPi : a;
}

// A drawn element with what the check needs of it.
struct Element {
  Vec a, b;           // start, end
  double turn = 0.0;  // 0 line, +1 counter-clockwise arc, -1 clockwise
  Vec c;              // arc centre
  double r = 0.0;     // arc radius
  double a0 = 0.0;    // arc: angle of the start about the centre
  double sweep = 0.0; // arc: angle swept, (0, 2 pi]
  double length = 0.0;

  bool IsArc() const { return turn != 0.0; }
  Vec At(double s) const {
    if (!IsArc()) return a + s * (b - a);
    const double angle = a0 + turn * s * sweep;
    return c + r * Vec{std::cos(angle), std::sin(angle)};
  }
  // Unit tangent in the drawn direction.
  Vec TangentAt(double s) const {
    if (!IsArc()) return (1.0 / length) * (b - a);
    const double angle = a0 + turn * s * sweep;
    return turn * Vec{-std::sin(angle), std::cos(angle)};
  }
  // Whether the direction from the centre towards p lies within the sweep.
  bool WithinSweep(Vec p) const {
    const double along = Wrap(turn * (std::atan2(p.y - c.y, p.x - c.x) - a0));
    return along <= sweep + 1e-12;
  }
};

Element Prepare(const DrawnElement& d) {
  Element e;
  e.a = {d.x0, d.y0};
  e.b = {d.x1, d.y1};
  if (d.radius == 0.0) {
    e.length = Norm(e.b - e.a);
    if (e.length < 1e-9) throw std::invalid_argument("a drawn line of no length");
    return e;
  }
  e.turn = d.radius > 0.0 ? 1.0 : -1.0;
  e.c = {d.cx, d.cy};
  e.r = std::fabs(d.radius);
  if (std::fabs(Norm(e.a - e.c) - e.r) > kChainTolerance || std::fabs(Norm(e.b - e.c) - e.r) > kChainTolerance) {
    throw std::invalid_argument("a drawn arc whose ends are not on its circle");
  }
  e.a0 = std::atan2(e.a.y - e.c.y, e.a.x - e.c.x);
  const double a1 = std::atan2(e.b.y - e.c.y, e.b.x - e.c.x);
  e.sweep = Norm(e.b - e.a) < 1e-9 ? 2.0 * kPi : Wrap(e.turn * (a1 - e.a0));
  if (e.sweep < 1e-12) e.sweep = 2.0 * kPi;
  e.length = e.r * e.sweep;
  return e;
}

// The nearest point of an element to p.
struct Nearest {
  double distance = std::numeric_limits<double>::infinity();
  Vec point;
  int element = -1;
  int end = -1;  // 0 or 1 when the nearest point is the element's start or end
};

Nearest NearestOn(const Element& e, int index, Vec p) {
  Nearest n;
  n.element = index;
  if (!e.IsArc()) {
    const Vec v = e.b - e.a;
    const double t = Dot(p - e.a, v) / Dot(v, v);
    if (t <= 0.0) {
      n.point = e.a, n.end = 0;
    } else if (t >= 1.0) {
      n.point = e.b, n.end = 1;
    } else {
      n.point = e.a + t * v;
    }
  } else {
    const double fromCentre = Norm(p - e.c);
    if (fromCentre > 1e-12 && e.WithinSweep(p)) {
      n.point = e.c + (e.r / fromCentre) * (p - e.c);
    } else {
      const bool start = Norm(p - e.a) <= Norm(p - e.b);
      n.point = start ? e.a : e.b;
      n.end = start ? 0 : 1;
    }
  }
  n.distance = Norm(p - n.point);
  return n;
}

struct Box {
  double x0, y0, x1, y1;
};
Box Around(Vec p, double margin) { return {p.x - margin, p.y - margin, p.x + margin, p.y + margin}; }

// Buckets of a square grid: each item is filed in every cell its box
// touches, a lookup visits the cells a box touches. Items are entered as
// pieces no longer than a cell, so a long move fills a row of cells, not
// their whole square.
class BucketGrid {
 public:
  explicit BucketGrid(double cell) : cell_(cell) {}

  void Insert(int id, const Box& box) {
    ForCells(box, [&](std::int64_t key) {
      std::vector<int>& bucket = cells_[key];
      if (bucket.empty() || bucket.back() != id) bucket.push_back(id);
    });
  }
  // Calls f(id) for the items of the cells `box` touches; an item may come
  // more than once.
  template <typename F>
  void Visit(const Box& box, F&& f) const {
    ForCells(box, [&](std::int64_t key) {
      const auto it = cells_.find(key);
      if (it == cells_.end()) return;
      for (int id : it->second) f(id);
    });
  }
  double Cell() const { return cell_; }

 private:
  template <typename F>
  void ForCells(const Box& box, F&& f) const {
    const std::int64_t ix0 = Index(box.x0), ix1 = Index(box.x1), iy0 = Index(box.y0), iy1 = Index(box.y1);
    for (std::int64_t ix = ix0; ix <= ix1; ++ix) {
      for (std::int64_t iy = iy0; iy <= iy1; ++iy) f((ix << 32) ^ (iy & 0xFFFFFFFF));
    }
  }
  std::int64_t Index(double v) const { return static_cast<std::int64_t>(std::floor(v / cell_)); }

  double cell_;
  std::unordered_map<std::int64_t, std::vector<int>> cells_;
};

// A straight piece of a path, with the levels at its ends.
struct Piece {
  Vec a, b;
  double za = 0.0, zb = 0.0;
};

Vec NearestOnPiece(const Piece& s, Vec p) {
  const Vec v = s.b - s.a;
  const double l2 = Dot(v, v);
  const double t = l2 > 0.0 ? std::clamp(Dot(p - s.a, v) / l2, 0.0, 1.0) : 0.0;
  return s.a + t * v;
}

// Pieces filed in a grid, cut to at most a cell's length.
class PieceIndex {
 public:
  explicit PieceIndex(double cell) : grid_(cell) {}
  void Add(const Piece& piece) {
    const double length = Norm(piece.b - piece.a);
    const int parts = std::max(1, static_cast<int>(std::ceil(length / grid_.Cell())));
    for (int i = 0; i < parts; ++i) {
      const double s0 = static_cast<double>(i) / parts, s1 = static_cast<double>(i + 1) / parts;
      Piece p{piece.a + s0 * (piece.b - piece.a), piece.a + s1 * (piece.b - piece.a),
              piece.za + s0 * (piece.zb - piece.za), piece.za + s1 * (piece.zb - piece.za)};
      const int id = static_cast<int>(pieces_.size());
      pieces_.push_back(p);
      seen_.push_back(0);
      grid_.Insert(id, {std::min(p.a.x, p.b.x), std::min(p.a.y, p.b.y), std::max(p.a.x, p.b.x), std::max(p.a.y, p.b.y)});
    }
  }
  // The distance from p of the nearest piece within `reach` whose nearest
  // point q `accept(piece, q)` takes; infinity when there is none.
  template <typename Accept>
  double NearestWithin(Vec p, double reach, Accept&& accept) {
    ++stamp_;
    double best = std::numeric_limits<double>::infinity();
    grid_.Visit(Around(p, reach), [&](int id) {
      if (seen_[static_cast<std::size_t>(id)] == stamp_) return;
      seen_[static_cast<std::size_t>(id)] = stamp_;
      const Piece& piece = pieces_[static_cast<std::size_t>(id)];
      const Vec q = NearestOnPiece(piece, p);
      const double distance = Norm(q - p);
      if (distance < best && accept(piece, q)) best = distance;
    });
    return best <= reach ? best : std::numeric_limits<double>::infinity();
  }
  double NearestWithin(Vec p, double reach) {
    return NearestWithin(p, reach, [](const Piece&, Vec) { return true; });
  }
  bool Empty() const { return pieces_.empty(); }

 private:
  BucketGrid grid_;
  std::vector<Piece> pieces_;
  std::vector<int> seen_;
  int stamp_ = 0;
};

// Points of an element from its start to its end (the end included), no
// farther than `sagitta` from it.
std::vector<Vec> Polygonise(const Element& e, double sagitta) {
  if (!e.IsArc()) return {e.a, e.b};
  const double step = 2.0 * std::acos(std::max(0.0, 1.0 - sagitta / e.r));
  const int n = std::max(2, static_cast<int>(std::ceil(e.sweep / std::max(step, 1e-6))));
  std::vector<Vec> points;
  points.reserve(static_cast<std::size_t>(n) + 1);
  for (int i = 0; i <= n; ++i) points.push_back(i == n ? e.b : e.At(static_cast<double>(i) / n));
  return points;
}

// Point in a closed polygon (even-odd), through bands of edges along Y.
class PolygonBands {
 public:
  explicit PolygonBands(const std::vector<Vec>& polygon) : polygon_(polygon) {
    double y0 = std::numeric_limits<double>::infinity(), y1 = -y0;
    for (const Vec& p : polygon) y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    y0_ = y0;
    const std::size_t bands = std::max<std::size_t>(1, polygon.size() / 4);
    height_ = std::max((y1 - y0) / static_cast<double>(bands), 1e-9);
    bands_.resize(bands);
    for (std::size_t i = 0; i < polygon.size(); ++i) {
      const Vec a = polygon[i], b = polygon[(i + 1) % polygon.size()];
      const std::size_t lo = Band(std::min(a.y, b.y)), hi = Band(std::max(a.y, b.y));
      for (std::size_t k = lo; k <= hi; ++k) bands_[k].push_back(i);
    }
  }
  bool Contains(Vec p) const {
    if (p.y < y0_ || bands_.empty()) return false;
    const double band = (p.y - y0_) / height_;
    if (band >= static_cast<double>(bands_.size())) return false;
    bool inside = false;
    for (std::size_t i : bands_[static_cast<std::size_t>(band)]) {
      const Vec a = polygon_[i], b = polygon_[(i + 1) % polygon_.size()];
      if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) / (b.y - a.y) * (b.x - a.x)) inside = !inside;
    }
    return inside;
  }

 private:
  std::size_t Band(double y) const {
    return std::min(bands_.size() - 1, static_cast<std::size_t>(std::max(0.0, (y - y0_) / height_)));
  }
  const std::vector<Vec>& polygon_;
  double y0_ = 0.0, height_ = 1.0;
  std::vector<std::vector<std::size_t>> bands_;
};

// Points of a move with their level, its ends first and last: a straight
// move every `step`, an arc every `step` along it, or (with step 0) a
// straight move by its ends and an arc in chords within kPolygonSagitta.
struct MoveSample {
  Vec p;
  double z;
};

std::vector<MoveSample> PointsOfMove(const CanonMove& m, double step) {
  std::vector<MoveSample> samples;
  const Vec from{m.fromX, m.fromY}, to{m.x, m.y};
  if (m.kind != CanonMove::Kind::kArc) {
    const int n = step > 0.0 ? std::max(1, static_cast<int>(std::ceil(Norm(to - from) / step))) : 1;
    for (int i = 0; i <= n; ++i) {
      const double s = static_cast<double>(i) / n;
      samples.push_back({i == n ? to : from + s * (to - from), m.fromZ + s * (m.z - m.fromZ)});
    }
    return samples;
  }
  const Vec c{m.centreFirst, m.centreSecond};
  const double turn = m.turn >= 0 ? 1.0 : -1.0;
  const double r = Norm(from - c);
  const double a0 = std::atan2(from.y - c.y, from.x - c.x), a1 = std::atan2(to.y - c.y, to.x - c.x);
  double sweep = Norm(to - from) < 1e-9 ? 2.0 * kPi : Wrap(turn * (a1 - a0));
  if (sweep < 1e-12) sweep = 2.0 * kPi;
  sweep += 2.0 * kPi * std::max(0, std::abs(m.turn) - 1);
  const double angleStep = step > 0.0 ? step / std::max(r, 1e-9) : 2.0 * std::acos(std::max(0.0, 1.0 - kPolygonSagitta / std::max(r, 1e-9)));
  const int n = std::max(1, static_cast<int>(std::ceil(sweep / std::max(angleStep, 1e-6))));
  for (int i = 0; i <= n; ++i) {
    const double s = static_cast<double>(i) / n;
    const double angle = a0 + turn * s * sweep;
    const Vec p = i == n ? to : c + r * Vec{std::cos(angle), std::sin(angle)};
    samples.push_back({p, m.fromZ + s * (m.z - m.fromZ)});
  }
  return samples;
}

// The points at which a move is judged.
std::vector<MoveSample> SampleMove(const CanonMove& m) { return PointsOfMove(m, kSampleStep); }
// The path a move cuts, as pieces between these points.
std::vector<MoveSample> TraceMove(const CanonMove& m) { return PointsOfMove(m, 0.0); }

std::string Format(const char* format, double a, double b, double c, double d) {
  char text[200];
  std::snprintf(text, sizeof text, format, a, b, c, d);
  return text;
}

// The whole judgement of one program.
class ContourJudge {
 public:
  explicit ContourJudge(const ContourCut& cut) : cut_(cut), radius_(cut.toolRadius), drawnGrid_(GridCell(cut)) {
    for (const DrawnElement& d : cut.contour) elements_.push_back(Prepare(d));
    if (elements_.empty()) throw std::invalid_argument("no drawn contour");
    // Chains: an element that does not start where the one before ends
    // starts a stroke of its own (a character of several strokes).
    chainOf_.assign(elements_.size(), 0);
    chains_.push_back({0, 0});
    for (std::size_t i = 1; i < elements_.size(); ++i) {
      if (Norm(elements_[i].a - elements_[i - 1].b) > kChainTolerance) chains_.push_back({i, i});
      chains_.back().last = i;
      chainOf_[i] = chains_.size() - 1;
    }
    closed_ = Norm(elements_.back().b - elements_.front().a) <= kChainTolerance;
    if (chains_.size() > 1) {
      for (const Chain& c : chains_) {
        if (Norm(elements_[c.last].b - elements_[c.first].a) <= kChainTolerance) {
          throw std::invalid_argument("a closed contour among several strokes");
        }
      }
      closed_ = false;
    }
    for (const Chain& c : chains_) {
      std::vector<Vec> path;
      for (std::size_t i = c.first; i <= c.last; ++i) {
        const std::vector<Vec> points = Polygonise(elements_[i], kPolygonSagitta);
        for (std::size_t k = 0; k + 1 < points.size(); ++k) {
          // Filed by pieces of the element: its box grown by the sagitta.
          const Vec a = points[k], b = points[k + 1];
          const double parts = std::ceil(Norm(b - a) / drawnGrid_.Cell());
          for (double t = 0.0; t < parts; t += 1.0) {
            const Vec p = a + (t / parts) * (b - a), q = a + ((t + 1.0) / parts) * (b - a);
            drawnGrid_.Insert(static_cast<int>(i),
                              {std::min(p.x, q.x) - kPolygonSagitta, std::min(p.y, q.y) - kPolygonSagitta,
                               std::max(p.x, q.x) + kPolygonSagitta, std::max(p.y, q.y) + kPolygonSagitta});
          }
          path.push_back(a);
        }
        if (!closed_ && i == c.last) path.push_back(points.back());
      }
      paths_.push_back(std::move(path));
    }
    seen_.assign(elements_.size(), 0);
    if (closed_) {
      double area = 0.0;
      const std::vector<Vec>& polygon = paths_.front();
      for (std::size_t i = 0; i < polygon.size(); ++i) area += Cross(polygon[i], polygon[(i + 1) % polygon.size()]);
      const bool counterClockwise = area > 0.0;
      switch (cut.side) {
        case CutSide::kInside: pocket_ = true; break;
        case CutSide::kOutside: pocket_ = false; break;
        case CutSide::kLeft: pocket_ = counterClockwise; break;
        case CutSide::kRight: pocket_ = !counterClockwise; break;
      }
      // The free side lies left of the drawn travel where it is the inside
      // of a counter-clockwise contour or the outside of a clockwise one.
      freeLeft_ = pocket_ == counterClockwise;
      bands_ = std::make_unique<PolygonBands>(paths_.front());
    } else {
      if (cut.side == CutSide::kInside || cut.side == CutSide::kOutside) {
        throw std::invalid_argument("inside or outside of an open contour");
      }
      freeLeft_ = cut.side == CutSide::kLeft;
    }
  }

  ContourCheckResult Judge(const std::vector<CanonMove>& moves) {
    BuildReach();
    PieceIndex cleared(std::max(radius_, 0.5));
    std::vector<PieceIndex> atDepth;
    for (std::size_t k = 0; k < cut_.depths.size(); ++k) atDepth.emplace_back(std::max(radius_, 0.5));
    for (const CanonMove& m : moves) {
      if (m.reference) continue;
      if (m.kind == CanonMove::Kind::kTraverse) {
        JudgeRapid(m, cleared);
        continue;
      }
      JudgeFeed(m, SampleMove(m));
      // The cut as pieces: a straight move whole, an arc in chords that
      // stay within kPolygonSagitta of it.
      const std::vector<MoveSample> path = TraceMove(m);
      for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const Piece piece{path[i].p, path[i + 1].p, path[i].z, path[i + 1].z};
        cleared.Add(piece);
        for (std::size_t k = 0; k < cut_.depths.size(); ++k) {
          const double d = cut_.depths[k];
          if (std::fabs(piece.za - d) <= kLevelTolerance && std::fabs(piece.zb - d) <= kLevelTolerance) {
            atDepth[k].Add(piece);
          }
        }
      }
    }
    for (std::size_t k = 0; k < cut_.depths.size(); ++k) JudgeWall(cut_.depths[k], atDepth[k]);
    return std::move(result_);
  }

 private:
  static double GridCell(const ContourCut& cut) { return std::max(cut.toolRadius, 0.5); }

  // The nearest drawn element within `reach` of p.
  Nearest NearestDrawn(Vec p, double reach) {
    ++stamp_;
    Nearest best;
    drawnGrid_.Visit(Around(p, reach), [&](int id) {
      if (seen_[static_cast<std::size_t>(id)] == stamp_) return;
      seen_[static_cast<std::size_t>(id)] = stamp_;
      const Nearest n = NearestOn(elements_[static_cast<std::size_t>(id)], id, p);
      if (n.distance < best.distance) best = n;
    });
    if (best.distance > reach) best = Nearest{};
    return best;
  }

  // The centre about which the tool turns where it is nearest the wall at
  // `n`: a corner the tool goes round, or a drawn arc's centre; none along a
  // line.
  bool TurningCentre(const Nearest& n, Vec& centre) const {
    if (n.end >= 0) {
      centre = n.point;
      return true;
    }
    const Element& e = elements_[static_cast<std::size_t>(n.element)];
    if (!e.IsArc()) return false;
    centre = e.c;
    return true;
  }

  // True when p lies across the contour from the side it is cut on.
  bool OnWrongSide(Vec p) {
    if (closed_) return bands_->Contains(p) != pocket_;
    const Nearest n = NearestDrawn(p, kOpenSideReach * radius_);
    if (n.element < 0) return false;
    const std::size_t i = static_cast<std::size_t>(n.element);
    // The open ends of a stroke have no side.
    const Chain& chain = chains_[chainOf_[i]];
    if ((i == chain.first && n.end == 0) || (i == chain.last && n.end == 1)) return false;
    const Vec v = p - n.point;
    bool left = false;
    if (n.end < 0) {
      left = Cross(TangentAtPoint(elements_[i], n.point), v) > 0.0;
    } else {
      // At a joint: left of the turn's inner side needs both elements,
      // of its outer side either.
      const std::size_t before = n.end == 0 ? i - 1 : i, after = before + 1;
      const Vec tin = elements_[before].TangentAt(1.0), tout = elements_[after].TangentAt(0.0);
      const bool leftOfIn = Cross(tin, v) > 0.0, leftOfOut = Cross(tout, v) > 0.0;
      left = Cross(tin, tout) > 0.0 ? leftOfIn && leftOfOut : leftOfIn || leftOfOut;
    }
    return left != freeLeft_;
  }

  static Vec TangentAtPoint(const Element& e, Vec q) {
    if (!e.IsArc()) return e.TangentAt(0.0);
    const Vec u = (1.0 / Norm(q - e.c)) * (q - e.c);
    return e.turn * LeftNormal(u);
  }

  void JudgeFeed(const CanonMove& m, const std::vector<MoveSample>& samples) {
    const double top = cut_.partTop - kLevelTolerance;
    const Vec from{m.fromX, m.fromY}, to{m.x, m.y};
    const double length = Norm(to - from);
    double worstGouge = 0.0, worstSide = -1.0;
    MoveSample gougeAt{}, sideAt{};
    for (std::size_t i = 0; i < samples.size(); ++i) {
      const MoveSample& s = samples[i];
      if (s.z >= top) continue;
      const Nearest n = NearestDrawn(s.p, radius_ + 0.1);
      if (n.element >= 0) {
        double allowance = kEndAllowance;
        Vec centre;
        const bool inside = i > 0 && i + 1 < samples.size();
        if (inside && m.kind == CanonMove::Kind::kFeed && TurningCentre(n, centre)) {
          const double rho = 0.5 * (Norm(from - centre) + Norm(to - centre));
          const double t = static_cast<double>(i) / static_cast<double>(samples.size() - 1);
          const double dip = rho - std::sqrt(std::max(0.0, rho * rho - t * (1.0 - t) * length * length));
          allowance += std::min(dip, kChordTolerance);
        }
        const double into = radius_ - n.distance;
        if (into > allowance && into > worstGouge) {
          worstGouge = into;
          gougeAt = s;
        }
      }
      if (OnWrongSide(s.p)) {
        const double beyond = n.element >= 0 ? n.distance : radius_ + 0.1;
        if (beyond > worstSide) {
          worstSide = beyond;
          sideAt = s;
        }
      }
    }
    if (worstGouge > 0.0) result_.findings.push_back({Verdict::kGouge, m.line, gougeAt.p.x, gougeAt.p.y, gougeAt.z, worstGouge});
    if (worstSide >= 0.0) result_.findings.push_back({Verdict::kWrongSide, m.line, sideAt.p.x, sideAt.p.y, sideAt.z, worstSide});
  }

  void JudgeRapid(const CanonMove& m, PieceIndex& cleared) {
    const double top = cut_.partTop - kLevelTolerance;
    if (std::min(m.z, m.fromZ) >= top) return;
    for (const MoveSample& s : SampleMove(m)) {
      if (s.z >= top) continue;
      const double near = cleared.NearestWithin(s.p, kClearedTolerance, [&](const Piece& piece, Vec) {
        return std::max(piece.za, piece.zb) <= s.z + kLevelTolerance;
      });
      if (std::isinf(near)) {
        result_.findings.push_back({Verdict::kRapidLow, m.line, s.p.x, s.p.y, s.z, cut_.partTop - s.z});
        return;
      }
    }
  }

  // Where the tool's centre can stand touching the wall: the boundary of
  // the contour offset by the radius (round joins), inwards for a pocket,
  // outwards for a boss, on both sides of an open contour.
  void BuildReach() {
    reach_ = std::make_unique<PieceIndex>(std::max(radius_, 0.5));
    auto scaled = [](const std::vector<Vec>& points) {
      ClipperLib::Path path;
      for (const Vec& p : points) {
        path.emplace_back(static_cast<ClipperLib::cInt>(std::llround(p.x * kClipperScale)),
                          static_cast<ClipperLib::cInt>(std::llround(p.y * kClipperScale)));
      }
      return path;
    };
    ClipperLib::ClipperOffset offset(2.0, kPolygonSagitta * kClipperScale);
    double delta = radius_;
    if (closed_) {
      ClipperLib::Path path = scaled(paths_.front());
      if (!ClipperLib::Orientation(path)) ClipperLib::ReversePath(path);
      offset.AddPath(path, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
      if (pocket_) delta = -radius_;
    } else {
      for (const std::vector<Vec>& stroke : paths_) offset.AddPath(scaled(stroke), ClipperLib::jtRound, ClipperLib::etOpenRound);
    }
    ClipperLib::Paths boundary;
    offset.Execute(boundary, delta * kClipperScale);
    for (const ClipperLib::Path& loop : boundary) {
      for (std::size_t i = 0; i < loop.size(); ++i) {
        const ClipperLib::IntPoint& a = loop[i];
        const ClipperLib::IntPoint& b = loop[(i + 1) % loop.size()];
        reach_->Add({{a.X / kClipperScale, a.Y / kClipperScale}, {b.X / kClipperScale, b.Y / kClipperScale}});
      }
    }
  }

  // Every wall point the tool can touch is touched from the free side by a
  // move at `depth`: one finding per stretch that is not, with its length
  // and its middle.
  void JudgeWall(double depth, PieceIndex& cuts) {
    for (const Chain& chain : chains_) {
      std::vector<WallSample> wall;
      for (std::size_t i = chain.first; i <= chain.last; ++i) {
        const Element& e = elements_[i];
        const int n = std::max(1, static_cast<int>(std::ceil(e.length / kSampleStep)));
        for (int k = 0; k < n; ++k) {
          const double s = (k + 0.5) / n;
          const Vec w = e.At(s);
          const Vec normal = (freeLeft_ ? 1.0 : -1.0) * LeftNormal(e.TangentAt(s));
          const bool reachable = !std::isinf(reach_->NearestWithin(w + radius_ * normal, kReachTolerance));
          // Touched from the free side: a tool beyond the wall cuts the
          // material, not this face of it.
          const bool touched = !std::isinf(cuts.NearestWithin(w, radius_ + kTouchAllowance, [&](const Piece&, Vec q) {
            return Dot(q - w, normal) > 0.0;
          }));
          wall.push_back({w, e.length / n, reachable && !touched});
        }
      }
      JudgeStretches(depth, wall);
    }
  }

  struct WallSample {
    Vec w;
    double length;
    bool uncut;
  };

  // One finding per run of uncut samples; on a closed contour a run across
  // its start is one.
  void JudgeStretches(double depth, const std::vector<WallSample>& wall) {
    const std::size_t count = wall.size();
    std::size_t begin = 0;
    if (closed_ && wall.front().uncut && wall.back().uncut) {
      while (begin < count && wall[begin].uncut) ++begin;
      if (begin == count) {
        result_.findings.push_back({Verdict::kUncut, 0, wall.front().w.x, wall.front().w.y, depth, TotalLength(wall)});
        return;
      }
    }
    for (std::size_t i = begin; i < begin + count;) {
      if (!wall[i % count].uncut) {
        ++i;
        continue;
      }
      std::size_t last = i;
      double length = 0.0;
      while (last < begin + count && wall[last % count].uncut) length += wall[last++ % count].length;
      const Vec middle = wall[((i + last - 1) / 2) % count].w;
      result_.findings.push_back({Verdict::kUncut, 0, middle.x, middle.y, depth, length});
      i = last;
    }
  }

  template <typename Samples>
  static double TotalLength(const Samples& wall) {
    double length = 0.0;
    for (const auto& s : wall) length += s.length;
    return length;
  }

  const ContourCut& cut_;
  double radius_;
  std::vector<Element> elements_;
  bool closed_ = false;
  bool pocket_ = false;
  bool freeLeft_ = true;
  // The elements from `first` to `last` meet end to start.
  struct Chain {
    std::size_t first, last;
  };
  std::vector<Chain> chains_;
  std::vector<std::size_t> chainOf_;
  std::vector<std::vector<Vec>> paths_;  // each chain polygonised, a closed one without its last point
  BucketGrid drawnGrid_;
  std::vector<int> seen_;
  int stamp_ = 0;
  std::unique_ptr<PolygonBands> bands_;
  std::unique_ptr<PieceIndex> reach_;
  ContourCheckResult result_;
};

}  // namespace

const char* VerdictName(Verdict verdict) {
  switch (verdict) {
    case Verdict::kGouge: return "GOUGE";
    case Verdict::kWrongSide: return "WRONG-SIDE";
    case Verdict::kUncut: return "UNCUT";
    case Verdict::kRapidLow: return "RAPID-LOW";
  }
  return "?";
}

bool ContourCheckResult::Has(Verdict verdict) const {
  return std::any_of(findings.begin(), findings.end(), [&](const ContourFinding& f) { return f.verdict == verdict; });
}

std::vector<Verdict> ContourCheckResult::Verdicts() const {
  std::vector<Verdict> out;
  for (Verdict v : {Verdict::kGouge, Verdict::kWrongSide, Verdict::kUncut, Verdict::kRapidLow}) {
    if (Has(v)) out.push_back(v);
  }
  return out;
}

std::string ContourCheckResult::Describe(std::size_t limit) const {
  std::string text;
  for (Verdict v : Verdicts()) {
    std::vector<ContourFinding> of;
    for (const ContourFinding& f : findings) {
      if (f.verdict == v) of.push_back(f);
    }
    std::stable_sort(of.begin(), of.end(), [](const ContourFinding& a, const ContourFinding& b) { return a.amount > b.amount; });
    for (std::size_t i = 0; i < of.size() && i < limit; ++i) {
      const ContourFinding& f = of[i];
      text += VerdictName(v);
      switch (v) {
        case Verdict::kGouge:
          text += " line " + std::to_string(f.line) + Format(": %.3f into the wall at X%.3f Y%.3f Z%.3f", f.amount, f.x, f.y, f.z);
          break;
        case Verdict::kWrongSide:
          text += " line " + std::to_string(f.line) +
                  Format(": across the wall (%.3f from it) at X%.3f Y%.3f Z%.3f", f.amount, f.x, f.y, f.z);
          break;
        case Verdict::kUncut:
          text += Format(": %.3f of wall not cut at Z%.3f, about X%.3f Y%.3f", f.amount, f.z, f.x, f.y);
          break;
        case Verdict::kRapidLow:
          text += " line " + std::to_string(f.line) +
                  Format(": rapid %.3f below the top, outside what was cut, at X%.3f Y%.3f Z%.3f", f.amount, f.x, f.y, f.z);
          break;
      }
      text += "\n";
    }
    if (of.size() > limit) text += "  ... and " + std::to_string(of.size() - limit) + " more\n";
  }
  return text;
}

DrawnPoint PointAlong(const DrawnElement& element, double s) {
  const Element e = Prepare(element);
  const Vec p = e.At(s), t = e.TangentAt(s);
  return {p.x, p.y, t.x, t.y};
}

double DistanceFromContour(const std::vector<DrawnElement>& contour, double x, double y) {
  double best = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < contour.size(); ++i) {
    best = std::min(best, NearestOn(Prepare(contour[i]), static_cast<int>(i), {x, y}).distance);
  }
  return best;
}

bool InsideContour(const std::vector<DrawnElement>& contour, double x, double y) {
  std::vector<Vec> polygon;
  for (const DrawnElement& d : contour) {
    const std::vector<Vec> points = Polygonise(Prepare(d), kPolygonSagitta);
    polygon.insert(polygon.end(), points.begin(), points.end() - 1);
  }
  return PolygonBands(polygon).Contains({x, y});
}

ContourCheckResult CheckContourCut(const ContourCut& cut, const std::vector<CanonMove>& moves) {
  ContourJudge judge(cut);
  return judge.Judge(moves);
}

}  // namespace testsupport
