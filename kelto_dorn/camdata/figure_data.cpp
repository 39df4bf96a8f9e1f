// The figure data at the head of the element stream: the first record, the
// work outline and the figures of the drawing's curves as geometry records,
// each filled from the current figure after its values are snapped to zero.
#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/work_box.h"
#include "kelto_dorn/camdata/cam_builder.h"
#include "platform/text.h"

namespace dorn {

namespace {

namespace code = handover::element_code;

// Numbers of the fixed records of the figure data.
constexpr std::int32_t kFirstRecordNumber = 0;
constexpr std::int32_t kWorkOutlineNumber = 3;
// Curves of this kind (characters) are not written as figures.
constexpr std::int32_t kCharacterCurveKind = 1332;
// Taper curves, whose figures are written again under key + 2.
constexpr std::int32_t kTaperCurveKind8 = 8;
constexpr std::int32_t kTaperCurveKind9 = 9;
// Curves above this kind end with their point under key + 1.
constexpr std::int32_t kLastPlainCurveKind = 4;
// The running number of the point pairs of a marked taper curve: it starts
// here, moves on by one per figure and by 35 per curve, and the curve key is
// added to it.
constexpr std::int32_t kTaperPointCounterStart = 8217;
constexpr std::int32_t kTaperPointCounterPerCurve = 35;
// A marked figure of a curve.
constexpr std::int32_t kFigureMarked = 1;
constexpr std::int32_t kElementMarked = 0x50000;

// Values this close to zero are written as zero, so that the companion's
// joint tests see exact zeros (mm, and unit vectors).
constexpr double kStartXZero = 1e-11;
constexpr double kCoordinateZero = 1e-10;
constexpr double kRadiusZero = 1e-12;

void Snap(double& v, double threshold) {
  if (!(std::fabs(v) >= threshold)) v = 0.0;
}

void SnapCurrentFigure() {
  FigureRecord& f = g_curFigure;
  Snap(f.start.x, kStartXZero);
  for (double* v : {&f.start.y, &f.end.x, &f.end.y, &f.centre.x, &f.centre.y, &f.dir.x, &f.dir.y}) {
    Snap(*v, kCoordinateZero);
  }
  Snap(f.radius, kRadiusZero);
  f.kind &= 0xFF;
}

}  // namespace

void CCamDataBuilder::WriteFigureData() {
  work_.number = kFirstRecordNumber;
  work_.code = code::kLine;
  work_.d2 = 1.0;
  WriteCamRecord();
  WriteWorkOutline();
  WriteCurveFigures();
}

// The rectangle form of the work outline: the lower left and the upper
// right corner of the work box.
void CCamDataBuilder::WriteWorkOutline() {
  const std::optional<WorkBoxCorners> corners = FindWorkBoxCorners();
  if (!corners) {
    Skip(platform::Sjis("ワークの原点位置が不明です: 外形は書かれません"));
    return;
  }
  for (const Vec2& p : {corners->lowerLeft, corners->upperRight}) {
    work_.number = kWorkOutlineNumber;
    work_.code = code::kPoint;
    work_.d4 = work_.d6 = p.x;
    work_.d5 = work_.d7 = p.y;
    WriteCamRecord();
  }
  if (definitionFault_) {
    definitionFault_ = false;
    Skip(platform::Sjis("ワークの大きさが数値ではありません: 外形は書かれません"));
  }
}

void CCamDataBuilder::WriteGeometryRecord(bool withStart) {
  SnapCurrentFigure();
  const FigureRecord& f = g_curFigure;
  switch (f.kind) {
    case kKindPoint:
    case kKindPointMark:
      work_.code = code::kPoint;
      work_.d2 = f.dir.x;
      work_.d3 = f.dir.y;
      work_.d4 = work_.d6 = f.start.x;
      work_.d5 = work_.d7 = f.start.y;
      break;
    case kKindLine:
      work_.code = code::kLine;
      work_.d2 = f.dir.x;
      work_.d3 = f.dir.y;
      work_.d4 = f.end.x;
      work_.d5 = f.end.y;
      work_.d6 = f.start.x;
      work_.d7 = f.start.y;
      break;
    case kKindArc:
      work_.code = code::kArc;
      work_.d1 = f.radius;
      if (withStart) {
        work_.d2 = f.start.x;
        work_.d3 = f.start.y;
      }
      work_.d4 = f.end.x;
      work_.d5 = f.end.y;
      work_.d6 = f.centre.x;
      work_.d7 = f.centre.y;
      break;
    default:
      ClearCamRecord();  // a kind that has no geometry record fills nothing
      return;
  }
  if (f.kind != kKindPoint && f.kind != kKindPointMark && f.choice == kFigureMarked) work_.flags = kElementMarked;
  WriteCamRecord();
}

void CCamDataBuilder::WritePointRecord(double x, double y, double dx, double dy, std::int32_t number,
                                       std::int32_t flags) {
  work_.number = number;
  work_.code = code::kPoint;
  work_.flags = flags;
  work_.d2 = dx;
  work_.d3 = dy;
  work_.d4 = work_.d6 = x;
  work_.d5 = work_.d7 = y;
  WriteCamRecord();
}

void CCamDataBuilder::WriteCurveFigure(int figureIndex, std::int32_t number) {
  GetFigure(kTableCurves, figureIndex);
  work_.number = number;
  WriteGeometryRecord();
}

void CCamDataBuilder::WriteCurveFigures() {
  std::int32_t taperCounter = kTaperPointCounterStart;
  const int figures = GetFigureCount(kTableCurves);
  const int curves = g_curveCount < kCurveTableSize ? g_curveCount : kCurveTableSize;
  for (int c = 0; c < curves; ++c) {
    const CurveRecord& curve = g_curveTable[static_cast<std::size_t>(c)];
    if (curve.layer == kCurveEntryEmpty || curve.kind == kCharacterCurveKind) continue;
    const int first = curve.first < 0 ? 0 : curve.first;
    const int end = curve.end < figures ? curve.end : figures;
    const bool taper = curve.kind == kTaperCurveKind8 || curve.kind == kTaperCurveKind9;
    const bool pointPairs = curve.kind == kTaperCurveKind8 && curve.taperCode != 0;
    for (int i = first; i < end; ++i) {
      if (!pointPairs) {
        WriteCurveFigure(i, curve.key);
        continue;
      }
      // Each figure between a point at its start and one at its end.
      GetFigure(kTableCurves, i);
      const FigureRecord f = g_curFigure;
      WritePointRecord(f.start.x, f.start.y, 0.0, 0.0, taperCounter + curve.key);
      WriteCurveFigure(i, curve.key);
      WritePointRecord(f.end.x, f.end.y, 0.0, 0.0, taperCounter + curve.key);
      ++taperCounter;
    }
    if (pointPairs) taperCounter += kTaperPointCounterPerCurve;
    if (taper) {
      for (int i = first; i < end; ++i) WriteCurveFigure(i, curve.key + 2);
    }
    if (curve.kind > kLastPlainCurveKind) WritePointRecord(curve.ipX, curve.ipY, 0.0, 0.0, curve.key + 1);
    if (definitionFault_) {
      definitionFault_ = false;
      Skip(platform::Sjis("曲線 ") + platform::FieldText(curve.name) +
           platform::Sjis(" に数値でない値があり、その図形を除きました"));
    }
  }
}

}  // namespace dorn
