// Automatic connection of loose figures: see figure_chains.h.
#include "kelto_dorn/drawing/figure_chains.h"

#include <cmath>
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

  // One scan from the start: true when a figure was attached.
  bool Grow() {
    const int top = count_ - 1;
    const Vec2 origin = g_figureStore.SegmentBlock(top)->origin;
    for (FigureRecord& f : figures_) {
      if (f.group != 0 || !Chainable(f) || f.origin != origin) continue;
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
