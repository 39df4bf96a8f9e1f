// Keys, names and registering of surfaces.
#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "kelto_dorn/surfaces/surface_store.h"
#include "platform/headless/headless_backend.h"
#include "platform/text.h"

namespace dorn {
namespace {

class SurfaceStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_ = &platform::headless::InstallHeadlessBackend();
    ResetAppState();
    ResetSurfaceState();
    ClearSurfaceTable();
  }
  void TearDown() override {
    ResetSurfaceState();
    ResetAppState();
    platform::UninstallBackend();
  }
  // A new surface of `kind` named and registered in the slot behind the last.
  bool AddSurface(SurfaceKind kind) {
    g_surfaceIndexTable.currentSlot = g_surfaceIndexTable.count;
    g_curSurface.kind = static_cast<std::int32_t>(kind);
    MakeSurfaceName();
    return RegisterSurface(1);
  }
  std::string Name(int index) const {
    return platform::FieldText(g_surfaceIndexTable.records[static_cast<std::size_t>(index)].name);
  }
  platform::headless::HeadlessBackend* backend_ = nullptr;
};

TEST_F(SurfaceStoreTest, KeysStepByAHundredAndStartAgainAt4050AfterTheLast) {
  ASSERT_TRUE(AddSurface(SurfaceKind::Xy));
  ASSERT_TRUE(AddSurface(SurfaceKind::Wire4));
  EXPECT_EQ(Name(0), "XY_4000");
  EXPECT_EQ(Name(1), "WIRE_4100");
  EXPECT_EQ(g_surfaceSlots[1].key, 4100);
  EXPECT_EQ(g_surfaceIndexTable.count, 2);
  g_surfaceIndexTable.records[1].key = 7100;
  EXPECT_EQ(NextSurfaceKey(), 4050);
  g_surfaceIndexTable.records[1].key = 7000;
  EXPECT_EQ(NextSurfaceKey(), 7100);
}

// Codes 0 and -1 store nothing; a stored surface re-registered stays one.
TEST_F(SurfaceStoreTest, RegisteringStoresOnPositiveCodesAndCountsOnlyANewSurface) {
  for (int code : {0, -1}) {
    g_curSurface.kind = static_cast<std::int32_t>(SurfaceKind::Bl);
    MakeSurfaceName();
    EXPECT_FALSE(RegisterSurface(code)) << code;
    EXPECT_EQ(g_surfaceIndexTable.count, 0) << code;
    EXPECT_EQ(g_surfaceIndexTable.records[0].key, 0) << "the record in progress is cleared";
  }
  ASSERT_TRUE(AddSurface(SurfaceKind::Bl));
  ASSERT_TRUE(GetSurface(0));
  g_curSurface.z1 = 5.0;
  g_surfaceIndexTable.currentSlot = 0;
  EXPECT_TRUE(RegisterSurface(1));
  EXPECT_EQ(g_surfaceIndexTable.count, 1);
  EXPECT_EQ(g_surfaceSlots[0].z1, 5.0);
  EXPECT_EQ(g_curSurface.kind, 0) << "the working record is reset";
}

TEST_F(SurfaceStoreTest, AFullTableRefusesANewSurfaceWithError480) {
  g_surfaceIndexTable.count = kSurfaceSlotCount;
  g_surfaceIndexTable.currentSlot = kSurfaceSlotCount;
  g_curSurface.kind = static_cast<std::int32_t>(SurfaceKind::Xy);
  EXPECT_FALSE(RegisterSurface(1));
  EXPECT_EQ(g_surfaceIndexTable.count, kSurfaceSlotCount);
  ASSERT_EQ(backend_->MessageBoxes().size(), 1u);
  EXPECT_FALSE(GetSurface(kSurfaceSlotCount));
  EXPECT_EQ(backend_->MessageBoxes().size(), 2u);
}

}  // namespace
}  // namespace dorn
