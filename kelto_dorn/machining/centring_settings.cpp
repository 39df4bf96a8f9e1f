#include "kelto_dorn/machining/centring_settings.h"

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/machining/settings_writes.h"
#include "platform/paths.h"

namespace dorn {

namespace {

constexpr int kFirstWorkNumber = 54;

std::filesystem::path CentringFile() { return platform::ProgramFolder() / handover::kAutoCenteringFileName; }

void TakeWorkSettings(handover::AutoCenteringRecord& r) {
  r.x = g_drawingHeader.workSizeX;
  r.y = g_drawingHeader.workSizeY;
  r.thickness = g_drawingHeader.workSizeZ;
  r.cycleKind = CornerOfOriginCode(g_drawingHeader.workOriginPosition);
  ApplyCorner(r);
}

}  // namespace

int CornerOfOriginCode(int code) {
  switch (code) {
    case 1:
      return 3;
    case 2:
      return 4;
    case 3:
      return 1;
    case 4:
      return 2;
    default:
      return 1;
  }
}

void ApplyCorner(handover::AutoCenteringRecord& r) {
  struct Corner {
    int side;
    double fx, fy;
  };
  static constexpr Corner kCorners[4] = {{3, 0.5, 0.5}, {4, -0.5, 0.5}, {1, -0.5, -0.5}, {2, 0.5, -0.5}};
  if (r.cycleKind < 1 || r.cycleKind > 4) return;
  const Corner& c = kCorners[r.cycleKind - 1];
  r.sideCode = c.side;
  r.offsetX = r.x * c.fx;
  r.offsetY = r.y * c.fy;
}

CentringRecords LoadCentringRecords(platform::FileResult& read) {
  CentringRecords records{};
  for (std::size_t i = 0; i < records.size(); ++i) {
    handover::AutoCenteringRecord& r = records[i];
    r.active = 1;
    r.macroCall = 1;
    r.workNumber = kFirstWorkNumber + static_cast<int>(i);
    TakeWorkSettings(r);
  }
  std::size_t count = 0;
  read = handover::ReadAutoCenteringRecords(CentringFile(), records, &count);
  for (handover::AutoCenteringRecord& r : records) TakeWorkSettings(r);
  handover::AutoCenteringRecord& g54 = records[0];
  g54.e = g_drawingHeader.workSizeY * 0.5;
  g54.i = std::fabs(g_drawingHeader.originOffsetX);
  g54.j = std::fabs(g_drawingHeader.originOffsetY);
  if (g54.centringKind < 0 || g54.centringKind > 2) g54.centringKind = 0;
  return records;
}

bool SaveCentringRecords(CentringRecords& records, int post) {
  if (post < 0 || post > 2) post = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    records[i].workNumber = kFirstWorkNumber + static_cast<int>(i);
    records[i].centringKind = post;
  }
  return WriteSettingsFile(CentringFile(), records.data(), sizeof(records));
}

}  // namespace dorn
