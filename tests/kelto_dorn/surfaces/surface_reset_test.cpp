// The surface record's reset and the surface table reset.
#include <cstring>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/surfaces/surface_state.h"

namespace dorn {
namespace {

class SurfaceResetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAppState();
    ResetSurfaceState();
  }
  void TearDown() override {
    ResetSurfaceState();
    ResetAppState();
  }
};

// Every field of a reset record, checked byte range by byte range.
void ExpectResetRecord(const SurfaceDefinition& s) {
  EXPECT_EQ(s.key, 0);
  EXPECT_EQ(s.kind, 0);
  EXPECT_EQ(s.mode, 0);
  EXPECT_EQ(s.option, 0);
  EXPECT_EQ(s.baseLine1, 0);
  EXPECT_EQ(s.baseLine2, 0);
  for (int i = 0; i < kSurfaceCurveKeys; ++i) {
    ASSERT_EQ(s.curvesA[i], 0xFFFF) << i;
    ASSERT_EQ(s.curvesB[i], 0xFFFF) << i;
  }
  EXPECT_EQ(s.zSurface1, 0);
  EXPECT_EQ(s.zSurface2, 0);
  EXPECT_EQ(s.z1, 0.0);
  EXPECT_EQ(s.z2, 0.0);
  for (int i = 0; i < kSurfaceValues; ++i) {
    ASSERT_EQ(s.x[i], 0.0) << i;
    ASSERT_EQ(s.y[i], 0.0) << i;
  }
}

SurfaceDefinition Filled() {
  SurfaceDefinition s;
  std::memset(static_cast<void*>(&s), 0x33, sizeof s);
  return s;
}

TEST_F(SurfaceResetTest, ResetSurfaceRecordClearsEveryField) {
  g_curSurface = Filled();
  ResetSurfaceRecord();
  ExpectResetRecord(g_curSurface);
  // The reset record's bytes at the offsets the drawing file relies on.
  const auto* bytes = reinterpret_cast<const unsigned char*>(&g_curSurface);
  EXPECT_EQ(bytes[24], 0xFF);
  EXPECT_EQ(bytes[25], 0xFF);
  EXPECT_EQ(bytes[26], 0x00);
  EXPECT_EQ(bytes[152 + 31 * 4], 0xFF);
  EXPECT_EQ(bytes[280], 0x00);
}

TEST_F(SurfaceResetTest, ClearSurfaceTableResetsTheCurrentRecordTheIndexAndEverySlot) {
  g_curSurface = Filled();
  g_surfaceSlots.fill(Filled());
  g_surfaceIndexTable.count = 12;
  g_surfaceIndexTable.currentSlot = 11;
  g_surfaceIndexTable.indexInProgress = 11;
  for (DefinitionIndexRecord& r : g_surfaceIndexTable.records) {
    r.recordKind = 1;
    r.key = 4100;
    r.slot = 3;
    r.kindCode = 0x4000;
    std::memset(r.name, 'S', sizeof r.name);
  }

  ClearSurfaceTable();
  ExpectResetRecord(g_curSurface);
  for (const SurfaceDefinition& s : g_surfaceSlots) ExpectResetRecord(s);
  EXPECT_EQ(g_surfaceIndexTable.count, 0);
  EXPECT_EQ(g_surfaceIndexTable.currentSlot, 0);
  EXPECT_EQ(g_surfaceIndexTable.indexInProgress, 0);
  for (const DefinitionIndexRecord& r : g_surfaceIndexTable.records) {
    ASSERT_EQ(r.recordKind + r.key + r.slot + r.kindCode, 0);
    ASSERT_EQ(r.name[0], '\0');
  }
}

}  // namespace
}  // namespace dorn
