// Storing surfaces: see surface_store.h.
#include "kelto_dorn/surfaces/surface_store.h"

#include <cstdio>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/surfaces/surface_state.h"

namespace dorn {

namespace {

constexpr std::int32_t kFirstSurfaceKey = 4000;
constexpr std::int32_t kSurfaceKeyStep = 100;
constexpr std::int32_t kLastSurfaceKey = 7100;
constexpr std::int32_t kSecondRoundKey = 4050;

const char* DefaultNamePattern(std::int32_t kind) {
  switch (static_cast<SurfaceKind>(kind)) {
    case SurfaceKind::Roll:
      return "ROLL_%d";
    case SurfaceKind::Xz:
      return "XZ_%d";
    case SurfaceKind::Gl:
      return "GL_%d";
    case SurfaceKind::Yz:
      return "YZ_%d";
    case SurfaceKind::Xy:
      return "XY_%d";
    case SurfaceKind::XyRib:
      return "XYRIB_%d";
    case SurfaceKind::Space:
      return "SPACE_%d";
    case SurfaceKind::Scale:
      return "SCALE_%d";
    case SurfaceKind::Bl:
      return "BL_%d";
    case SurfaceKind::BlRib:
      return "BLRIB_%d";
    case SurfaceKind::Ref:
      return "REF_%d";
    case SurfaceKind::Fillet:
    case SurfaceKind::FilletWall:
      return "FLT_%d";
    case SurfaceKind::PlusFillet:
      return "P+FLT_%d";
    case SurfaceKind::Wire4:
    case SurfaceKind::Wire2:
      return "WIRE_%d";
  }
  return nullptr;
}

bool InSlots(int slot) { return slot >= 0 && slot < kSurfaceSlotCount; }

// The record behind the last surface is kept cleared.
void ClearRecordBehindLast() {
  const int count = g_surfaceIndexTable.count;
  if (!InSlots(count)) return;
  DefinitionIndexRecord& r = g_surfaceIndexTable.records[static_cast<std::size_t>(count)];
  r.key = r.slot = r.kindCode = 0;
  r.name[0] = '\0';
}

}  // namespace

bool PutSurface(int slot) {
  if (!InSlots(slot)) {
    ShowErrorCode(kErrorSurfacesFull);
    return false;
  }
  g_surfaceSlots[static_cast<std::size_t>(slot)] = g_curSurface;
  return true;
}

bool GetSurface(int slot) {
  if (!InSlots(slot)) {
    ResetSurfaceRecord();
    ShowErrorCode(kErrorSurfacesFull);
    return false;
  }
  g_curSurface = g_surfaceSlots[static_cast<std::size_t>(slot)];
  return true;
}

std::int32_t NextSurfaceKey() {
  const int count = g_surfaceIndexTable.count;
  if (count <= 0) return kFirstSurfaceKey;
  const int last = count <= kSurfaceSlotCount ? count - 1 : kSurfaceSlotCount - 1;
  const std::int32_t key = g_surfaceIndexTable.records[static_cast<std::size_t>(last)].key + kSurfaceKeyStep;
  return key > kLastSurfaceKey ? kSecondRoundKey : key;
}

void MakeSurfaceName() {
  const int count = g_surfaceIndexTable.count;
  if (!InSlots(count)) return;
  DefinitionIndexRecord& r = g_surfaceIndexTable.records[static_cast<std::size_t>(count)];
  const std::int32_t key = NextSurfaceKey();
  r.key = key;
  r.slot = g_surfaceIndexTable.currentSlot;
  r.kindCode = g_curSurface.kind;
  std::memset(r.name, 0, sizeof r.name);
  if (const char* pattern = DefaultNamePattern(g_curSurface.kind))
    std::snprintf(r.name, sizeof r.name, pattern, static_cast<int>(key));
  g_curSurface.key = key;
}

bool RegisterSurface(int code) {
  bool stored = false;
  if (code > 0) {
    const int slot = g_surfaceIndexTable.currentSlot;
    const int count = g_surfaceIndexTable.count;
    if (count >= kSurfaceSlotCount && slot >= count) {
      ShowErrorCode(kErrorSurfacesFull);
    } else if (slot >= 0 && slot <= count) {
      // A slot behind the packed surfaces would leave a hole in the table.
      stored = PutSurface(slot);
      if (stored && slot == count) ++g_surfaceIndexTable.count;
    }
  }
  ResetSurfaceRecord();
  ClearRecordBehindLast();
  return stored;
}

}  // namespace dorn
