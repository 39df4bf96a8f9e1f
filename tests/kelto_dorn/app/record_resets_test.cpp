// Layer defaults, curve reset and the lookups by key.
#include <cstring>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/record_resets.h"
#include "tests/kelto_dorn/app/kernel_fixture.h"

namespace dorn {
namespace {

using RecordResetsTest = test::KernelTest;

TEST_F(RecordResetsTest, InitLayerTablesGivesEveryLayerOneOriginAtZero) {
  g_originCount[3] = 9;
  g_layerOriginIndex[3] = 4;
  g_originTable[31][63] = {5, 5};
  InitLayerTables();
  for (int l = 0; l < 32; ++l) {
    EXPECT_EQ(g_originCount[l], 1);
    EXPECT_EQ(g_layerOriginIndex[l], 0);
    for (const Vec2& o : g_originTable[l]) ASSERT_EQ(o, (Vec2{}));
  }
}

TEST_F(RecordResetsTest, InitLayerDefaultsKeepsOnlyAPositiveGridPitch) {
  const double pitches[] = {12.5, 0.0, -3.0, 9999.0};
  for (int l = 0; l < 4; ++l) g_layerViews[l].gridPitch = pitches[l];
  g_layerViews[2].values[5] = 8;
  g_layerViews[2].scale = 300.0;
  g_layerViews[2].centreX = 4.0;
  g_figureTableSelector = 90;
  g_curLayer = 6;
  g_curOriginIndex = 3;

  InitLayerDefaults();
  EXPECT_DOUBLE_EQ(g_layerViews[0].gridPitch, 12.5);
  EXPECT_DOUBLE_EQ(g_layerViews[1].gridPitch, 9999.0);
  EXPECT_DOUBLE_EQ(g_layerViews[2].gridPitch, 9999.0);
  EXPECT_DOUBLE_EQ(g_layerViews[31].gridPitch, 9999.0);
  for (const LayerViewRecord& r : g_layerViews) {
    EXPECT_EQ(r.marker, 2842);
    EXPECT_EQ(r.values[5], 0);
    EXPECT_DOUBLE_EQ(r.scale, 50.0);
    EXPECT_DOUBLE_EQ(r.centreX, 0.0);
    EXPECT_DOUBLE_EQ(r.centreY, 0.0);
  }
  EXPECT_EQ(g_figureTableSelector, 0);
  EXPECT_EQ(g_curLayer, 0);
  EXPECT_EQ(g_curOriginIndex, 0);
  EXPECT_EQ(g_drawingHeader.curOriginIndex, 0);  // the same word
  EXPECT_EQ(g_originCount[17], 1);

  EXPECT_DOUBLE_EQ(g_shrinkRate, 20.0);
  EXPECT_DOUBLE_EQ(g_moveRate, 25.0);
  EXPECT_DOUBLE_EQ(g_joinTolerance, 0.01);
  EXPECT_EQ(g_cadByLayer, 0);
  EXPECT_EQ(g_dxfCompound, 1);
  EXPECT_EQ(g_cadByColor, 1);
  EXPECT_EQ(g_showDashed + g_showChain1 + g_showChain2, 3);
  EXPECT_DOUBLE_EQ(g_dimensionStyle.arrowAngle, 15.0);
  EXPECT_DOUBLE_EQ(g_dimensionStyle.arrowLength, 4.0);
  EXPECT_DOUBLE_EQ(g_dimensionStyle.textSize, 5.0);
  EXPECT_EQ(g_dimTextSlider, 5);
  EXPECT_EQ(g_dimensionStyle.dimLineColor, 21);
  EXPECT_EQ(g_dimensionStyle.textColor, 7);
  EXPECT_EQ(g_dimensionStyle.dimPickMode, 0);
}

TEST_F(RecordResetsTest, ResetCurrentCurveStartsANewCurveOfTheCurrentLayer) {
  std::memset(static_cast<void*>(&g_curCurveRecord), 0x5A, sizeof g_curCurveRecord);
  g_curLayer = 9;
  g_globalZMode = 9999;
  g_globalZ = -4.5;
  ResetCurrentCurve();
  EXPECT_EQ(g_curCurveRecord.layer, 9);
  EXPECT_EQ(g_curCurveRecord.colour, 6);
  EXPECT_DOUBLE_EQ(g_curCurveRecord.topZ, -4.5);
  EXPECT_EQ(g_curCurveRecord.key, 0);
  EXPECT_EQ(g_curCurveRecord.flags, 0);
  EXPECT_DOUBLE_EQ(g_curCurveRecord.endZ, 0.0);
  for (float v : g_curCurveRecord.values) ASSERT_EQ(v, 0.0f);
  EXPECT_EQ(g_curCurveRecord.name[0], '\0');
  EXPECT_EQ(g_curCurveRecord.name[63], '\0');

  g_globalZMode = 0;
  ResetCurrentCurve();
  EXPECT_DOUBLE_EQ(g_curCurveRecord.topZ, 0.0);
}

TEST_F(RecordResetsTest, LookupsByKeyFindTheFirstWithinTheCount) {
  EXPECT_EQ(FindCurveByKey(10), 0xFFFF);
  const int keys[] = {10, 20, 30, 20, 50};
  for (int i = 0; i < 5; ++i) g_curveTable[static_cast<std::size_t>(i)].key = keys[i];
  g_curveCount = 4;
  EXPECT_EQ(FindCurveByKey(20), 1);
  EXPECT_EQ(FindCurveByKey(30), 2);
  EXPECT_EQ(FindCurveByKey(50), 0xFFFF);  // beyond the count
  EXPECT_EQ(FindCurveByKey(0), 0xFFFF);
  g_curveCount = 5000;  // a damaged count never reads past the table
  EXPECT_EQ(FindCurveByKey(99), 0xFFFF);

  EXPECT_EQ(FindSurfaceByKey(4000), 0xFFFF);
  g_surfaceIndexTable.records[0].key = 4000;
  g_surfaceIndexTable.records[1].key = 4100;
  g_surfaceIndexTable.records[2].key = 4100;
  g_surfaceIndexTable.count = 3;
  EXPECT_EQ(FindSurfaceByKey(4100), 1);
  g_surfaceIndexTable.count = 1;
  EXPECT_EQ(FindSurfaceByKey(4100), 0xFFFF);
}

TEST_F(RecordResetsTest, ClearingAnIndexTableKeepsTheNameTail) {
  DefinitionIndexTable<512>& t = g_machiningIndexTable;
  t.count = 7;
  t.currentSlot = 3;
  t.indexInProgress = 2;
  for (DefinitionIndexRecord& r : t.records) {
    r.recordKind = 2;
    r.key = 5;
    r.slot = 6;
    r.kindCode = 0xA000;
    std::memset(r.name, 'N', sizeof r.name);
  }
  ClearDefinitionIndexTable(t);
  EXPECT_EQ(t.count, 0);
  EXPECT_EQ(t.currentSlot, 0);
  EXPECT_EQ(t.indexInProgress, 0);
  for (const DefinitionIndexRecord& r : t.records) {
    ASSERT_EQ(r.recordKind + r.key + r.slot + r.kindCode, 0);
    ASSERT_EQ(r.name[0], '\0');
    ASSERT_EQ(r.name[51], '\0');
    ASSERT_EQ(r.name[52], 'N');
  }
}

}  // namespace
}  // namespace dorn
