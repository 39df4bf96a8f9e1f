#include "kelto_dorn/machining/check_surface_rules.h"

#include <algorithm>

#include "kelto_dorn/app/app_state.h"

namespace dorn {

namespace {

constexpr int kListEnd = 0xFFFF;
constexpr int kListAll = 0x9999;
constexpr std::int32_t kFilletSurfaceKind = 0x7000;
constexpr std::int32_t kHighestPlainSurfaceKind = 0x6FFF;

// Hole, taper and fillet definitions take no fillet-family surfaces and
// no FILLET type.
bool RestrictedKind(std::int32_t kind) { return kind == 0xB400 || kind == 0xDA00 || kind == 0xF400; }

bool Holds(const MachiningDefinition& d, int row) {
  return row >= 0 && row < kCheckSurfaceRowCount && d.checkSurfaces[row].surfaceKey > 0;
}

std::int32_t TypeOf(const CheckSurfaceRow& r) { return r.typeWord & 0xFF; }
void SetType(CheckSurfaceRow& r, std::int32_t type) { r.typeWord = (r.typeWord & ~0xFF) | type; }

}  // namespace

std::vector<ChosenSurface> ChosenSurfaces(std::span<const int> answer) {
  std::vector<ChosenSurface> chosen;
  const int count = std::min(g_surfaceIndexTable.count, static_cast<int>(g_surfaceIndexTable.records.size()));
  for (const int index : answer) {
    if (index == kListEnd || index == kListAll || index < 0 || index >= count) break;
    const DefinitionIndexRecord& r = g_surfaceIndexTable.records[static_cast<std::size_t>(index)];
    chosen.push_back({r.key, r.kindCode});
  }
  return chosen;
}

void FillCheckSurfaces(MachiningDefinition& d, int row, std::span<const ChosenSurface> chosen) {
  for (const ChosenSurface& s : chosen) {
    if (row < 0 || row >= kCheckSurfaceRowCount) return;
    CheckSurfaceRow& r = d.checkSurfaces[row];
    if (RestrictedKind(d.kind) && s.kindCode > kHighestPlainSurfaceKind) {
      r = CheckSurfaceRow{0, 0, 0};
      continue;
    }
    const bool fillet = s.kindCode == kFilletSurfaceKind;
    r.surfaceKey = s.key;
    SetType(r, fillet ? kFilletType : kCheckType);
    r.side = fillet ? 3 : 1;
    ++row;
  }
}

void CycleCheckSurfaceSide(MachiningDefinition& d, int row) {
  if (!Holds(d, row)) return;
  CheckSurfaceRow& r = d.checkSurfaces[row];
  if (TypeOf(r) == kFilletType) {
    r.side = 3;
  } else if (r.side == 1 || r.side == 2) {
    r.side = 3 - r.side;
  }
}

void CycleCheckSurfaceType(MachiningDefinition& d, int row) {
  if (!Holds(d, row)) return;
  CheckSurfaceRow& r = d.checkSurfaces[row];
  const std::int32_t type = TypeOf(r);
  if (type == kCheckType) {
    SetType(r, kModelType);
  } else if (type == kModelType) {
    SetType(r, RestrictedKind(d.kind) ? kCheckType : kFilletType);
  } else if (type == kFilletType) {
    SetType(r, kCheckType);
  }
  if (TypeOf(r) == kFilletType) {
    r.side = 3;
  } else if (r.side == 3) {
    r.side = 1;
  }
}

void ToggleCheckSurfaceFaceOffset(MachiningDefinition& d, int row) {
  if (!Holds(d, row)) return;
  CheckSurfaceRow& r = d.checkSurfaces[row];
  if ((r.typeWord & kNoFaceOffset) != 0) {
    r.typeWord &= 0xFF;
  } else {
    r.typeWord |= kNoFaceOffset;
  }
}

void DeleteCheckSurfaceRow(MachiningDefinition& d, int row) {
  if (row < 0 || row >= kCheckSurfaceRowCount) return;
  std::copy(d.checkSurfaces + row + 1, d.checkSurfaces + kCheckSurfaceRowCount, d.checkSurfaces + row);
  d.checkSurfaces[kCheckSurfaceRowCount - 1] = kEmptyCheckSurfaceRow;
}

void InsertCheckSurfaceRow(MachiningDefinition& d, int row) {
  if (row < 0 || row >= kCheckSurfaceRowCount) return;
  std::copy_backward(d.checkSurfaces + row, d.checkSurfaces + kCheckSurfaceRowCount - 1,
                     d.checkSurfaces + kCheckSurfaceRowCount);
  d.checkSurfaces[row] = kEmptyCheckSurfaceRow;
}

void CompactCheckSurfaces(MachiningDefinition& d) {
  int to = 0;
  for (int from = 0; from < kCheckSurfaceRowCount; ++from) {
    if (d.checkSurfaces[from].surfaceKey != 0) d.checkSurfaces[to++] = d.checkSurfaces[from];
  }
  for (; to < kCheckSurfaceRowCount; ++to) d.checkSurfaces[to] = kEmptyCheckSurfaceRow;
}

void ResetCheckSurfaces(MachiningDefinition& d) {
  for (CheckSurfaceRow& r : d.checkSurfaces) r = kEmptyCheckSurfaceRow;
}

}  // namespace dorn
