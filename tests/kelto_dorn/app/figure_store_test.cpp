// The figure store: tables, growth, bounds, deletion, the current record,
// segment blocks, the curve table and the text records.
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "platform/text.h"
#include "tests/kelto_dorn/app/kernel_fixture.h"

namespace dorn {
namespace {

using FigureStoreTest = test::KernelTest;

FigureRecord Numbered(int number, int kind = kKindLine) {
  FigureRecord f;
  f.kind = kind;
  f.number = number;
  f.start = {static_cast<double>(number), 0.0};
  return f;
}

// Appends n numbered figures to the selected table.
void AppendNumbered(int n, int firstNumber = 0) {
  for (int i = 0; i < n; ++i) {
    g_curFigure = Numbered(firstNumber + i);
    ASSERT_TRUE(AppendFigure(0));
  }
}

int NumberAt(int table, int i) { return g_figureStore.Table(table)->slot(i).number; }

TEST_F(FigureStoreTest, StartMakesEveryTableWithItsInitialRoom) {
  for (int t = 0; t <= 32; ++t) {
    EXPECT_EQ(g_figureStore.Table(t)->capacity(), 1000) << t;
    EXPECT_EQ(GetFigureCount(t), 0) << t;
  }
  for (int t : {90, 91, 99, 100}) EXPECT_EQ(g_figureStore.Table(t)->capacity(), 2000) << t;
  EXPECT_EQ(g_figureStore.Table(90), g_figureStore.Table(91));
  for (int t : {-1, 33, 89, 92, 98, 101}) EXPECT_EQ(g_figureStore.Table(t), nullptr) << t;
  ASSERT_NE(g_figureStore.SegmentBlock(55999), nullptr);
  EXPECT_EQ(g_figureStore.SegmentBlock(56000), nullptr);
  EXPECT_EQ(g_figureStore.SegmentBlock(-1), nullptr);
}

TEST_F(FigureStoreTest, StoredFiguresCarryTheLayerOfTheirTable) {
  g_curLayer = 3;
  const struct {
    int table;
    int expectedLayer;
  } cases[] = {{5, 5}, {0, 0}, {31, 31}, {32, 3}, {90, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.table);
    g_figureTableSelector = c.table;
    g_curFigure = Numbered(1);
    g_curFigure.layer = 17;
    ASSERT_TRUE(AppendFigure(0));
    EXPECT_EQ(g_figureStore.Table(c.table)->slot(0).layer, c.expectedLayer);
    g_curFigure.layer = 17;
    ASSERT_TRUE(PutFigure(0));
    EXPECT_EQ(g_figureStore.Table(c.table)->slot(0).layer, c.expectedLayer);
  }
  // Table 91 (the other name of 90) and the work tables above it keep the
  // record's own layer.
  for (int table : {91, 99, 100}) {
    g_figureTableSelector = table;
    g_curFigure = Numbered(1);
    g_curFigure.layer = 17;
    ASSERT_TRUE(PutFigure(0));
    EXPECT_EQ(g_figureStore.Table(table)->slot(0).layer, 17) << table;
  }
}

TEST_F(FigureStoreTest, StoresClearTheUndoMarkerAndAppendMayOrTheAttributeWord) {
  g_figureTableSelector = 2;
  g_figureAttribute = 0x1000;
  g_undoSaved = 1;
  g_curFigure = Numbered(1);
  g_curFigure.attribute = 4;
  ASSERT_TRUE(AppendFigure(1));
  EXPECT_EQ(g_undoSaved, 0);
  EXPECT_EQ(g_figureStore.Table(2)->slot(0).attribute, 0x1004);
  g_curFigure.attribute = 4;
  ASSERT_TRUE(AppendFigure(0));
  EXPECT_EQ(g_figureStore.Table(2)->slot(1).attribute, 4);
  g_undoSaved = 1;
  ASSERT_TRUE(PutFigure(0));
  EXPECT_EQ(g_undoSaved, 0);
}

TEST_F(FigureStoreTest, PutBeyondTheCountAppendsOnTheCurveTableButNotOnLayers) {
  g_figureTableSelector = 90;
  AppendNumbered(3);
  g_curFigure = Numbered(50);
  ASSERT_TRUE(PutFigure(40));
  EXPECT_EQ(GetFigureCount(90), 4);
  EXPECT_EQ(NumberAt(90, 3), 50);
  // Inside the count a put overwrites.
  g_curFigure = Numbered(60);
  ASSERT_TRUE(PutFigure(1));
  EXPECT_EQ(NumberAt(90, 1), 60);
  EXPECT_EQ(GetFigureCount(90), 4);

  // On a layer the record goes to its index; the count grows by one.
  g_figureTableSelector = 7;
  AppendNumbered(2);
  g_curFigure = Numbered(70);
  ASSERT_TRUE(PutFigure(5));
  EXPECT_EQ(NumberAt(7, 5), 70);
  EXPECT_EQ(GetFigureCount(7), 3);
}

TEST_F(FigureStoreTest, GetFigureReadsOnlyWhereTheTableAllows) {
  g_figureTableSelector = 6;
  AppendNumbered(2, 10);
  g_figureTableSelector = 90;
  AppendNumbered(2, 20);

  const struct {
    int table;
    int index;
    bool reads;
  } cases[] = {
      {6, 1, true},       {6, 500, true},                  // a layer returns the stale record inside the capacity
      {6, 1000, false},                                    // beyond the allocated capacity: nothing
      {6, 239989, false},                                  // a valid index, but never allocated
      {6, 239990, false},                                  // i + 10 > 240000
      {6, -1, false},     {90, 1, true},  {90, 2, false},  // the curve table is checked against its count
      {91, 0, true},      {99, 0, false}, {45, 0, false},  // no such table
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.table) + "/" + std::to_string(c.index));
    g_figureTableSelector = c.table;
    g_curFigure = Numbered(-5, 77);
    GetFigure(c.index);
    EXPECT_EQ(g_curFigure.kind != 77, c.reads);
  }
  g_figureTableSelector = 6;
  GetFigure(500);
  EXPECT_EQ(g_curFigure.kind, kKindEmpty);
  GetFigure(1);
  EXPECT_EQ(g_curFigure.number, 11);
}

TEST_F(FigureStoreTest, PutBeyondTheCapacityGrowsFirstAndRefusesOnlyPastTheLimit) {
  g_figureTableSelector = 100;
  g_curFigure = Numbered(9);
  ASSERT_TRUE(PutFigure(4500));
  EXPECT_GE(g_figureStore.Table(100)->capacity(), 4601);
  GetFigure(4500);
  EXPECT_EQ(g_curFigure.number, 9);

  g_figureTableSelector = 3;
  g_curFigure = Numbered(8);
  EXPECT_FALSE(PutFigure(239990));
  EXPECT_FALSE(PutFigure(-1));
  EXPECT_EQ(GetFigureCount(3), 0);
  EXPECT_TRUE(ShownTexts().empty());
}

TEST_F(FigureStoreTest, TablesGrowToKeepFreeSlotsBehindTheCount) {
  g_figureTableSelector = 1;
  AppendNumbered(901);
  EXPECT_EQ(g_figureStore.Table(1)->capacity(), 1000);
  AppendNumbered(1, 901);  // count 901 before: 1000 < 901 + 100
  EXPECT_EQ(g_figureStore.Table(1)->capacity(), 2000);
  for (int i = 0; i < 902; ++i) ASSERT_EQ(NumberAt(1, i), i);

  // Stores on table 32 keep only 11 free slots.
  g_figureTableSelector = 32;
  for (int i = 0; i < 989; ++i) {
    g_curFigure = Numbered(i);
    ASSERT_TRUE(PutFigure(i));
  }
  EXPECT_EQ(g_figureStore.Table(32)->capacity(), 1000);
  g_curFigure = Numbered(989);
  ASSERT_TRUE(PutFigure(989));  // count 990 after: 1000 < 990 + 11
  EXPECT_EQ(g_figureStore.Table(32)->capacity(), 2000);
  for (int i = 0; i < 990; ++i) ASSERT_EQ(NumberAt(32, i), i);
}

TEST_F(FigureStoreTest, AFullTableRefusesFiguresAndKeepsEveryStoredOne) {
  g_figureTableSelector = 12;
  for (int i = 0; i < kFigureSlotLimit; ++i) {
    g_curFigure.number = i;
    ASSERT_TRUE(AppendFigure(0)) << i;
  }
  EXPECT_EQ(GetFigureCount(12), kFigureSlotLimit);
  EXPECT_EQ(g_figureStore.Table(12)->capacity(), kFigureSlotLimit);
  // Growth reached the limit, but every figure was stored: no box yet.
  EXPECT_TRUE(ShownTexts().empty());
  EXPECT_FALSE(g_figureStore.full);

  // The first refused store shows the drawing-too-large box, once per
  // command.
  g_curFigure.number = -1;
  EXPECT_FALSE(AppendFigure(0));
  EXPECT_FALSE(AppendFigure(0));
  EXPECT_EQ(GetFigureCount(12), kFigureSlotLimit);
  ASSERT_EQ(ShownTexts().size(), 1u);
  EXPECT_EQ(ShownTexts()[0], platform::Sjis("※ 図面のサイズが大きい過ぎます...\n ::MEMORY_ERROR..."));
  EXPECT_EQ(NumberAt(12, kFigureSlotLimit - 1), kFigureSlotLimit - 1);
  EXPECT_EQ(NumberAt(12, kFigureSlotLimit - 2), kFigureSlotLimit - 2);
  // The next command (its undo snapshot clears the flag) is told again.
  g_figureStore.full = false;
  EXPECT_FALSE(AppendFigure(0));
  EXPECT_EQ(ShownTexts().size(), 2u);

  // The curve table refuses the same way.
  g_figureStore.full = false;
  g_figureTableSelector = 90;
  for (int i = 0; i < kFigureSlotLimit; ++i) ASSERT_TRUE(PutFigure(i)) << i;
  EXPECT_EQ(ShownTexts().size(), 2u);
  EXPECT_FALSE(AppendFigure(0));
  EXPECT_EQ(GetFigureCount(90), kFigureSlotLimit);
  EXPECT_EQ(ShownTexts().size(), 3u);
}

TEST_F(FigureStoreTest, DeleteFigureMovesLaterRecordsDownAndIgnoresIndexesOutsideTheCount) {
  g_figureTableSelector = 4;
  AppendNumbered(5);
  DeleteFigure(1);
  ASSERT_EQ(GetFigureCount(4), 4);
  const int remaining[] = {0, 2, 3, 4};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(NumberAt(4, i), remaining[i]);

  for (int bad : {4, 5, 999, 5000, -1}) {
    SCOPED_TRACE(bad);
    DeleteFigure(bad);
    EXPECT_EQ(GetFigureCount(4), 4);
    EXPECT_EQ(NumberAt(4, 3), 4);
  }
  DeleteFigure(3);
  EXPECT_EQ(GetFigureCount(4), 3);
  EXPECT_EQ(NumberAt(4, 2), 3);
}

TEST_F(FigureStoreTest, CountsClearingAndTheLargestGroupWord) {
  g_figureTableSelector = 90;
  EXPECT_EQ(MaxFigureField(), 0);
  for (int group : {-1, 400003, 400001}) {
    g_curFigure = Numbered(1);
    g_curFigure.group = group;
    ASSERT_TRUE(AppendFigure(0));
  }
  EXPECT_EQ(MaxFigureField(), 400003);
  DecrementFigureCount(91, 1);
  EXPECT_EQ(GetFigureCount(90), 2);
  DecrementFigureCount(90, 10);
  EXPECT_EQ(GetFigureCount(91), 0);
  // A negative amount never raises the count past the records that exist.
  DecrementFigureCount(90, -5000);
  EXPECT_EQ(GetFigureCount(90), g_figureStore.Table(90)->capacity());
  g_figureTableSelector = 90;
  DeleteFigure(0);
  EXPECT_EQ(GetFigureCount(90), g_figureStore.Table(90)->capacity() - 1);

  g_figureTableSelector = 8;
  AppendNumbered(3);
  ClearFigureTable(8);
  EXPECT_EQ(GetFigureCount(8), 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(g_figureStore.Table(8)->slot(i).kind, kKindEmpty);
  EXPECT_EQ(GetFigureCount(55), 0);
}

TEST_F(FigureStoreTest, TwoArgumentFormsKeepTheSelection) {
  g_figureTableSelector = 2;
  g_curFigure = Numbered(33);
  ASSERT_TRUE(PutFigure(99, 0));
  EXPECT_EQ(g_figureTableSelector, 2);
  EXPECT_EQ(GetFigureCount(99), 1);
  g_curFigure = FigureRecord{};
  GetFigure(99, 0);
  EXPECT_EQ(g_curFigure.number, 33);
  EXPECT_EQ(g_figureTableSelector, 2);
}

TEST_F(FigureStoreTest, ClearCurrentFigureTakesLayerColourOriginAndDepth) {
  g_curLayer = 4;
  g_curOriginIndex = 2;
  g_originTable[4][2] = {15.0, -7.5};
  g_colorTable.figureColor = 9;
  g_colorTable.curveColor = 11;
  g_globalZ = 12.5;
  g_globalZMode = 9999;
  g_curFigure = Numbered(3);
  g_curFigure.group = g_curFigure.choice = 8;
  ClearCurrentFigure();
  EXPECT_EQ(g_curFigure.kind, 0);
  EXPECT_EQ(g_curFigure.number, 0);
  EXPECT_EQ(g_curFigure.group, 0);
  EXPECT_EQ(g_curFigure.choice, 0);
  EXPECT_EQ(g_curFigure.layer, 4);
  EXPECT_EQ(g_curFigure.style, 5);
  EXPECT_EQ(g_curFigure.attribute, 9);
  EXPECT_EQ(g_curFigure.origin, (Vec2{15.0, -7.5}));
  EXPECT_EQ(g_curFigure.start, (Vec2{}));
  EXPECT_DOUBLE_EQ(g_curFigure.depth, 12.5);

  g_globalZMode = 0;
  ClearCurrentFigure();
  EXPECT_DOUBLE_EQ(g_curFigure.depth, 0.0);

  ClearFigureList();
  for (int i : {0, 27, 55999}) {
    EXPECT_EQ(g_figureStore.SegmentBlock(i)->attribute, 11);
    EXPECT_EQ(g_figureStore.SegmentBlock(i)->layer, 4);
  }
}

TEST_F(FigureStoreTest, SegmentBlocksAndSaveSlot) {
  g_curFigure = Numbered(5);
  StoreSegment(10);
  CopySegment(10, 20000);
  g_curFigure = FigureRecord{};
  LoadSegment(20000);
  EXPECT_EQ(g_curFigure.number, 5);
  // Indexes outside the blocks do nothing.
  StoreSegment(56000);
  LoadSegment(-1);
  CopySegment(10, 56000);
  EXPECT_EQ(g_curFigure.number, 5);

  SaveCurrentFigure();
  g_curFigure.number = 6;
  RestoreCurrentFigure();
  EXPECT_EQ(g_curFigure.number, 5);
  FigureRecord buffer;
  CopyCurrentFigureTo(buffer);
  EXPECT_EQ(buffer.number, 5);
  buffer.number = 8;
  CopyCurrentFigureFrom(buffer);
  EXPECT_EQ(g_curFigure.number, 8);
}

// Clearing the list leaves every block, used or not, as the cleared record of
// that moment, whether or not that record changed since the last clear.
TEST_F(FigureStoreTest, ClearFigureListResetsEveryBlockToTheCurrentClearedRecord) {
  const auto expectCleared = [](int layer, const char* when) {
    for (int i : {0, 1, 399, 400, 20000, 55999}) {
      const FigureRecord& b = *g_figureStore.SegmentBlock(i);
      EXPECT_EQ(b.kind, 0) << when << " block " << i;
      EXPECT_EQ(b.number, 0) << when << " block " << i;
      EXPECT_EQ(b.layer, layer) << when << " block " << i;
      EXPECT_EQ(b.style, kNewFigureStyle) << when << " block " << i;
    }
  };
  // Writes blocks the way a command does: a run at the front and one far off.
  const auto use = [] {
    for (int i = 0; i < 400; ++i) {
      g_curFigure = Numbered(i + 1);
      StoreSegment(i);
    }
    g_curFigure = Numbered(7);
    StoreSegment(20000);
  };
  for (int layer : {2, 2, 5, 5, 2}) {
    use();
    g_curLayer = layer;
    ClearFigureList();
    // Read far blocks first: a block reached before those below it must not
    // leave them stale.
    EXPECT_EQ(g_figureStore.SegmentBlock(55999)->layer, layer);
    expectCleared(layer, "after a clear");
  }
  // Blocks stored after the clear hold what was stored, the rest stay cleared.
  g_curFigure = Numbered(9);
  StoreSegment(30000);
  LoadSegment(30000);
  EXPECT_EQ(g_curFigure.number, 9);
  LoadSegment(29999);
  EXPECT_EQ(g_curFigure.number, 0);
  EXPECT_EQ(g_curFigure.layer, 2);
}

TEST_F(FigureStoreTest, CurveTableResetAndEntries) {
  g_drawingHeader.globalZMode = 9999;
  g_drawingHeader.workSizeZ = 30.0;
  g_curveCount = 5;
  ResetCurveTable();
  EXPECT_EQ(g_curveCount, 0);
  for (int i : {0, 1023}) {
    const CurveRecord& c = g_curveTable[static_cast<std::size_t>(i)];
    EXPECT_EQ(c.layer, 0xFFFF);
    EXPECT_EQ(c.colour, 6);
    EXPECT_DOUBLE_EQ(c.topZ, 30.0);
    EXPECT_DOUBLE_EQ(c.endZ, 30.0);
    EXPECT_EQ(c.name[0], '\0');
  }
  EXPECT_EQ(g_curCurveRecord.layer, 0xFFFF);

  g_curCurveRecord.key = 40;
  StoreCurveEntry(3);
  g_curCurveRecord.key = 0;
  LoadCurveEntry(3);
  EXPECT_EQ(g_curCurveRecord.key, 40);
  LoadCurveEntry(1024);  // leaves the current curve as it is
  EXPECT_EQ(g_curCurveRecord.key, 40);
  StoreCurveEntry(1024);
  StoreCurveEntry(-1);
}

TEST_F(FigureStoreTest, CompactionKeepsTheOrderOfSurvivingTexts) {
  for (int i = 0; i < 10; ++i) {
    TextRecord& r = g_textRecords[static_cast<std::size_t>(i)];
    r.layer = (i % 3 == 0) ? -1 : i;  // 3, 6, 9 are free
    r.group = 100 + i;
    SetTextRecordText(r, std::to_string(i));
  }
  g_textRecords[8].layer = 888;  // not a layer: dropped
  CopyTextRecords();
  CompactTextRecords();
  // Records 0-2 stay as they were.
  EXPECT_EQ(g_textRecords[0].layer, -1);
  EXPECT_EQ(g_textRecords[1].group, 101);
  const int survivors[] = {4, 5, 7};
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(g_textRecords[3 + k].layer, survivors[k]);
    EXPECT_EQ(g_textRecords[3 + k].group, 100 + survivors[k]);
    EXPECT_EQ(std::string(g_textRecords[3 + k].text), std::to_string(survivors[k]));
  }
  EXPECT_EQ(g_textRecords[6].layer, -1);
  EXPECT_EQ(g_textRecords[6].group, 0);
  EXPECT_EQ(g_textRecords[6].text[0], '\0');
  EXPECT_EQ(g_textRecords[24799].layer, -1);
}

// One capacity for every append: the last record stays free for the
// drawing file's end record.
TEST_F(FigureStoreTest, TextAppendsStopAtTheCapacityAndKeepTheLastRecordFree) {
  TextRecord t;
  t.layer = 2;
  for (int i = 0; i < kTextRecordCapacity - 2; ++i) g_textRecords[static_cast<std::size_t>(i)] = t;
  EXPECT_EQ(TextRecordsInUse(), kTextRecordCapacity - 2);
  EXPECT_TRUE(TextStoreHasRoom(2));
  EXPECT_FALSE(TextStoreHasRoom(3));
  EXPECT_EQ(AppendTextRecord(t), kTextRecordCapacity - 2);
  EXPECT_EQ(AppendTextRecord(t), kTextRecordCapacity - 1);
  EXPECT_FALSE(TextStoreHasRoom());
  EXPECT_EQ(AppendTextRecord(t), -1);
  EXPECT_EQ(TextRecordsInUse(), kTextRecordCapacity);
  EXPECT_EQ(g_textRecords[kTextRecordCount - 1].layer, kTextRecordFree);
}

TEST_F(FigureStoreTest, TextFieldTakesAtMost59BytesAndKeepsTheGroupNumber) {
  TextRecord r;
  r.group = 4242;
  SetTextRecordText(r, std::string(61, 'A'));
  EXPECT_EQ(std::string(r.text), std::string(59, 'A'));
  EXPECT_EQ(r.group, 4242);

  // A double-byte character across the cut is left out whole.
  const std::string kanji = platform::Sjis("寸");
  ASSERT_EQ(kanji.size(), 2u);
  SetTextRecordText(r, std::string(58, 'B') + kanji + "C");
  EXPECT_EQ(std::string(r.text), std::string(58, 'B'));
  EXPECT_EQ(r.group, 4242);
}

}  // namespace
}  // namespace dorn
