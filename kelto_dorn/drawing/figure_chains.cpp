// Automatic connection of loose figures: see figure_chains.h.
#include "kelto_dorn/drawing/figure_chains.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/drawing/curve_engine_calls.h"
#include "kelto_dorn/drawing/picked_figure_edits.h"

namespace dorn {
namespace {

constexpr double kShortest = 0.001;
constexpr std::int32_t kExcluded = -1;
constexpr int kErrorCountOverflow = 4;
// The stack keeps this many segment blocks free.
constexpr int kStackReserve = 10;
// Beyond this many chained figures the window is kept responsive.
constexpr int kPumpAfter = 1512;
// Larger direction components than this decide a line's sense.
constexpr double kDirectionComponent = 0.1;
// The end grid's cells are never smaller than this (mm).
constexpr double kSmallestCell = 1e-6;

std::int32_t g_chainId = 0;

double Length(const FigureRecord& f) { return std::hypot(f.end.x - f.start.x, f.end.y - f.start.y); }

bool Chainable(const FigureRecord& f) {
  if (f.kind == kKindLine) return Length(f) >= kShortest;
  if (f.kind == kKindArc) return std::fabs(f.radius) >= kShortest;
  return false;
}

bool SameSense(const FigureRecord& f, const FigureRecord& top) {
  if (f.kind == kKindArc) return f.radius * top.radius > 0.0;
  const bool useX = std::fabs(f.dir.x) > kDirectionComponent;
  return useX ? f.dir.x * top.dir.x > 0.0 : f.dir.y * top.dir.y > 0.0;
}

bool BothEndsInside(const FigureRecord& f, const SelectionRegion& region) {
  const Vec2 o = f.origin;
  return InsideRegion(region, {f.start.x + o.x, f.start.y + o.y}) &&
         InsideRegion(region, {f.end.x + o.x, f.end.y + o.y});
}

// The loose figures and the chain stack of one connection.
class Connection {
 public:
  explicit Connection(const SelectionRegion& region) {
    const FigureTable* table = g_figureStore.Table(g_figureTableSelector);
    const int n = table != nullptr ? GetFigureCount(g_figureTableSelector) : 0;
    for (int i = 0; i < n; ++i) {
      FigureRecord f = table->slot(i);
      if (f.kind == kKindEmpty || !BothEndsInside(f, region)) continue;
      f.group = 0;
      figures_.push_back(f);
    }
    // Ends are found through a grid of cells no smaller than the joining
    // tolerance, so each attachment looks at the figures near the chain's
    // end instead of the whole list.
    cell_ = std::max(g_joinTolerance, kSmallestCell);
    for (std::size_t i = 0; i < figures_.size(); ++i) {
      if (!Chainable(figures_[i])) continue;
      ends_[CellKey(figures_[i].start)].push_back(static_cast<int>(i));
      ends_[CellKey(figures_[i].end)].push_back(static_cast<int>(i));
    }
  }

  void Run() {
    if (g_chainId <= kChainIdBase - 100) g_chainId = kChainIdBase;
    g_abortCount = 1;
    while (StartChain()) {
      while (Grow()) {
        if (stopped_) break;
      }
      if (stopped_) break;
    }
    g_abortCount = 0;
  }

  int count() const { return count_; }

 private:
  // Pushes the first free chainable figure as the seed of a new chain.
  bool StartChain() {
    for (FigureRecord& f : figures_) {
      if (f.group != 0) continue;
      if (!Chainable(f)) {
        f.kind = kExcluded;
        f.group = kExcluded;
        continue;
      }
      f.group = ++g_chainId;
      chainStart_ = count_;
      return Push(f);
    }
    return false;
  }

  long long CellKey(Vec2 p) const {
    return CellKey(static_cast<long long>(std::floor(p.x / cell_)), static_cast<long long>(std::floor(p.y / cell_)));
  }
  static long long CellKey(long long cx, long long cy) { return cx * 73856093LL ^ cy * 19349663LL; }

  // The free figures with an end in the cells around p, in list order.
  void AddNear(Vec2 p, std::vector<int>& out) const {
    const long long cx = static_cast<long long>(std::floor(p.x / cell_));
    const long long cy = static_cast<long long>(std::floor(p.y / cell_));
    for (long long dx = -1; dx <= 1; ++dx) {
      for (long long dy = -1; dy <= 1; ++dy) {
        const auto it = ends_.find(CellKey(cx + dx, cy + dy));
        if (it == ends_.end()) continue;
        for (int i : it->second)
          if (figures_[static_cast<std::size_t>(i)].group == 0) out.push_back(i);
      }
    }
  }

  // The figures the scan from the start of the list would test: those with
  // an end near the top's end (or, while only the seed is on the stack,
  // near its start), in list order.
  std::vector<int> Candidates(const FigureRecord& top, bool seedOnly) const {
    std::vector<int> near;
    AddNear(top.end, near);
    if (seedOnly) AddNear(top.start, near);
    std::sort(near.begin(), near.end());
    near.erase(std::unique(near.begin(), near.end()), near.end());
    return near;
  }

  // One scan from the start: true when a figure was attached.
  bool Grow() {
    const int top = count_ - 1;
    const FigureRecord& topFigure = *g_figureStore.SegmentBlock(top);
    const Vec2 origin = topFigure.origin;
    for (int index : Candidates(topFigure, count_ - chainStart_ <= 1)) {
      FigureRecord& f = figures_[static_cast<std::size_t>(index)];
      if (f.group != 0 || f.origin != origin) continue;
      g_curFigure = f;
      const int contact = TestEndpointsNearPicks(top, count_ - chainStart_ > 1 ? 1 : 0);
      if (contact == kHitNone) continue;
      if (contact == kHitSameLine) {
        if (!Absorb(f)) continue;
        return true;
      }
      f.group = g_chainId;
      g_curFigure.group = g_chainId;
      return Push(g_curFigure);
    }
    return false;
  }

  // A figure lying on the top figure in the same sense extends it.
  bool Absorb(FigureRecord& f) {
    FigureRecord& top = *g_figureStore.SegmentBlock(count_ - 1);
    if (!SameSense(g_curFigure, top)) return false;
    top.end = g_curFigure.end;
    f.group = g_chainId;
    if (top.kind == kKindLine && Length(top) == 0.0) {
      --count_;
      if (count_ <= chainStart_) {
        ShowErrorBoxCall(kErrorCountOverflow);
        stopped_ = true;
      }
    }
    return true;
  }

  bool Push(const FigureRecord& f) {
    if (count_ >= kSegmentBlockCount - kStackReserve) {
      ShowErrorBoxCall(kErrorCountOverflow);
      stopped_ = true;
      return false;
    }
    *g_figureStore.SegmentBlock(count_++) = f;
    if (count_ > kPumpAfter) {
      PumpMessages();
      if (g_abortCount > 1) stopped_ = true;
    }
    return !stopped_;
  }

  std::vector<FigureRecord> figures_;
  std::unordered_map<long long, std::vector<int>> ends_;  // grid cell -> figures with an end there
  double cell_ = kSmallestCell;
  int count_ = 0;
  int chainStart_ = 0;
  bool stopped_ = false;
};

}  // namespace

std::int32_t LastChainId() { return g_chainId; }

int AutoConnectFigures(const SelectionRegion& region) {
  const int selector = g_figureTableSelector;
  const FigureRecord saved = g_curFigure;
  Connection connection(region);
  connection.Run();
  g_figureTableSelector = selector;
  g_curFigure = saved;
  g_workCount = connection.count();
  return g_workCount;
}

}  // namespace dorn
