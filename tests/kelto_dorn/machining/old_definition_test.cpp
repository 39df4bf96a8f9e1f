#include "kelto_dorn/machining/old_definition.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/machining_test_support.h"

namespace dorn {
namespace {

using testing::MachiningTest;

std::vector<std::uint8_t> ReadFixture(const char* name) {
  std::ifstream in(testsupport::FixturePath(name), std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class OldDefinitionTest : public MachiningTest {
 protected:
  void SetUp() override {
    MachiningTest::SetUp();
    g_machiningDefaults.moveZ = 42.0;
    old_ = ReadFixture("machining/old_definition_13968.bin");
    ASSERT_EQ(old_.size(), 13968u);
    loaded_ = std::make_unique<MachiningDefinition>();
  }
  std::vector<std::uint8_t> old_;
  std::unique_ptr<MachiningDefinition> loaded_;
};

TEST_F(OldDefinitionTest, OlderFormIsConvertedFieldByField) {
  ResetMachiningRecord(*atc_);
  g_curMachiningDef.zOrigin = -1.0;  // the working record must come through unchanged
  const auto working = std::make_unique<MachiningDefinition>(g_curMachiningDef);

  ASSERT_TRUE(LoadStoredDefinition(old_, *loaded_, *atc_));
  const MachiningDefinition& d = *loaded_;
  EXPECT_EQ(d.kind, 0xA000);
  EXPECT_EQ(d.number, 12000);
  EXPECT_EQ(d.generalA, 3);
  EXPECT_EQ(d.generalB, 4);
  EXPECT_EQ(d.zOrigin, 55.5);
  EXPECT_EQ(d.holeIPoint, 44.25);
  EXPECT_EQ(d.checkSurfaces[0].typeWord, 7);
  EXPECT_EQ(d.checkSurfaces[0].surfaceKey, 9);
  EXPECT_EQ(d.figures[131].figureKey, 4242);
  EXPECT_EQ(d.cornerSwitch, 4096);
  EXPECT_EQ(d.cornerDistance, 2.5);
  EXPECT_EQ(d.cornerRate, 60.0);
  for (int i = 0; i < 32; ++i) {
    ASSERT_EQ(d.curves[i].type, 1);
    ASSERT_EQ(d.curves[i].key, 100 + i);
  }
  // Items the older form has no room for are empty.
  for (int i = 32; i < kCurveItemCount; ++i) {
    ASSERT_EQ(d.curves[i].type, 0);
    ASSERT_EQ(d.curves[i].key, 0);
  }
  for (int s = 0; s < kStepCount; ++s) {
    ASSERT_EQ(d.steps[s].colour, s + 2);
    ASSERT_EQ(d.steps[s].depth, -static_cast<double>(s));
    ASSERT_EQ(d.steps[s].toolDownAmount, 10.0 + s);
    ASSERT_EQ(d.stepTools[s].inUse, s < 3 ? 1 : 0);
    ASSERT_EQ(d.stepTools[s].atcNumber, s + 1);
    ASSERT_EQ(d.stepTools[s].diameter, static_cast<float>(s) + 0.5f);
    ASSERT_EQ(platform::FieldText(d.stepTools[s].toolName), "T" + std::to_string(s));
  }
  EXPECT_EQ(platform::Cp932ToUtf8(platform::FieldText(d.processName)), "工程A");
  // 52 bytes without a terminator keep 51.
  EXPECT_EQ(platform::FieldText(d.machineName), std::string(51, 'M'));
  EXPECT_EQ(d.general16068[0], 7);
  EXPECT_EQ(d.general16068[2], 9);
  for (std::int32_t v : d.reserved16080) EXPECT_EQ(v, 0);

  EXPECT_EQ(std::memcmp(&g_curMachiningDef, working.get(), sizeof(MachiningDefinition)), 0);
}

TEST_F(OldDefinitionTest, ConversionKeepsWhatTheOlderFormDoesNotHold) {
  auto old = std::make_unique<MachiningDefinitionV1>();
  std::memcpy(old.get(), old_.data(), sizeof(MachiningDefinitionV1));
  MachiningDefinition& target = *loaded_;
  std::memset(&target, 0, sizeof target);
  target.curves[40].key = 999;
  target.reserved16080[1] = 5;
  ConvertOldMachiningDefinition(*old, target);
  EXPECT_EQ(target.curves[31].key, 131);
  EXPECT_EQ(target.curves[40].key, 999);
  EXPECT_EQ(target.reserved16080[1], 5);
}

TEST_F(OldDefinitionTest, CurrentFormIsTakenAsStoredAndOtherSizesAreRefused) {
  ResetMachiningRecord(*atc_);
  MachiningDefinition stored = g_curMachiningDef;
  stored.kind = 0xB400;
  stored.curves[79].key = 4321;
  std::memset(stored.processName, 'P', sizeof stored.processName);  // no terminator
  std::vector<std::uint8_t> bytes(sizeof stored);
  std::memcpy(bytes.data(), &stored, sizeof stored);
  ASSERT_TRUE(LoadStoredDefinition(bytes, *loaded_, *atc_));
  EXPECT_EQ(loaded_->kind, 0xB400);
  EXPECT_EQ(loaded_->curves[79].key, 4321);
  EXPECT_EQ(platform::FieldText(loaded_->processName), std::string(63, 'P'));

  loaded_->kind = 1;
  bytes.resize(13967);
  EXPECT_FALSE(LoadStoredDefinition(bytes, *loaded_, *atc_));
  EXPECT_EQ(loaded_->kind, 1);
}

}  // namespace
}  // namespace dorn
