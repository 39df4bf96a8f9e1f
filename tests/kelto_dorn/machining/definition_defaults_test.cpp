#include "kelto_dorn/machining/definition_defaults.h"

#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/machining/machining_state.h"
#include "tests/kelto_dorn/machining/machining_test_support.h"

namespace dorn {
namespace {

using testing::MachiningTest;

class DefinitionDefaultsTest : public MachiningTest {
 protected:
  std::filesystem::path File() const { return home() / "$DEF_KAKO2.@@@"; }
};

TEST_F(DefinitionDefaultsTest, MissingFileGivesTheBuiltInValues) {
  g_machiningDefaults.originZ = 1.0;
  EXPECT_TRUE(ReadMachiningDefaults().missing());
  const handover::MachiningDefaults& m = g_machiningDefaults;
  EXPECT_EQ(m.originZ, 100.0);
  EXPECT_EQ(m.moveZ, 100.0);
  EXPECT_EQ(m.holeIPoint, 100.0);
  EXPECT_EQ(m.holeRPoint, 5.0);
  EXPECT_EQ(m.holeThroughAmount, 3.0);
  EXPECT_EQ(m.toolDownAmount, 10.0);
  EXPECT_EQ(m.downFeed, 80.0);
  EXPECT_EQ(m.feedCode, 180.0);
  EXPECT_EQ(m.wireDivision, 0.5);
  EXPECT_EQ(m.wireStock, 0.3);
  EXPECT_EQ(m.arcAngle, 90.0);
  EXPECT_EQ(m.deepHoleRest, 1.0);
  EXPECT_EQ(m.arcFeedPercent, 100);
  EXPECT_EQ(m.returnFeedPercent, 100);
  EXPECT_EQ(m.spindleSpeed, 1200);
  EXPECT_EQ(m.toolFeed, 500.0);
}

TEST_F(DefinitionDefaultsTest, StoredDefinitionValuesBecomeTheNextStartingValues) {
  g_machiningDefaults.originZ = 61.5;
  g_machiningDefaults.overrun = 1.0f;
  ASSERT_TRUE(WriteMachiningDefaults().ok());
  EXPECT_EQ(std::filesystem::file_size(File()), 168u);
  g_machiningDefaults = handover::MachiningDefaults{};
  ASSERT_TRUE(ReadMachiningDefaults().ok());
  EXPECT_EQ(g_machiningDefaults.originZ, 61.5);
  EXPECT_EQ(g_machiningDefaults.overrun, 1.0f);
}

TEST_F(DefinitionDefaultsTest, OlderFileOf128BytesKeepsThePresetsBehindIt) {
  handover::MachiningDefaults written{};
  written.originZ = 33.0;
  written.returnFeedPercent = 55;  // beyond the older form: not in the file
  std::ofstream(File(), std::ios::binary).write(reinterpret_cast<const char*>(&written), 128);
  ASSERT_TRUE(ReadMachiningDefaults().ok());
  EXPECT_EQ(g_machiningDefaults.originZ, 33.0);
  EXPECT_EQ(g_machiningDefaults.returnFeedPercent, 100);
}

TEST_F(DefinitionDefaultsTest, DamagedFileLeavesTheDefaultsAsTheyWere) {
  std::ofstream(File(), std::ios::binary) << std::string(100, '\x01');
  g_machiningDefaults.originZ = 12.0;
  EXPECT_FALSE(ReadMachiningDefaults().ok());
  EXPECT_EQ(g_machiningDefaults.originZ, 12.0);
  EXPECT_EQ(std::filesystem::file_size(File()), 100u);
}

}  // namespace
}  // namespace dorn
