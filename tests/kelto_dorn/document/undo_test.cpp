// Undo and redo through snapshot files: the ring of 48, the round trip of an
// edit, redo past the newest snapshot, each snapshot kind, and damaged files.
#include <cstring>
#include <fstream>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/document/undo.h"
#include "platform/text.h"
#include "tests/kelto_dorn/document/document_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;

class UndoTest : public DocumentTest {
 protected:
  void SetUp() override {
    DocumentTest::SetUp();
    fs::create_directories(home() / "_BAK");
  }
  int SnapshotFiles() const {
    int n = 0;
    for (const auto& e : fs::directory_iterator(home() / "_BAK")) n += e.path().extension() == ".udo";
    return n;
  }
  // An edit as the commands make it: snapshot, then a line appended.
  void EditLayer0(double x) {
    g_figureTableSelector = 0;
    SnapshotForUndo(kUndoTypeTable);
    Append(0, MakeLine(0, 0, x, 0));
  }
};

TEST_F(UndoTest, UndoAndRedoWalkThroughEdits) {
  EditLayer0(1);
  EditLayer0(2);
  EXPECT_EQ(GetFigureCount(0), 2);
  OnEditUndo();  // saves the state with two lines first
  EXPECT_EQ(GetFigureCount(0), 1);
  OnEditUndo();
  EXPECT_EQ(GetFigureCount(0), 0);
  OnEditUndo();  // nothing older
  EXPECT_EQ(GetFigureCount(0), 0);
  OnEditRedo();
  EXPECT_EQ(GetFigureCount(0), 1);
  OnEditRedo();
  EXPECT_EQ(GetFigureCount(0), 2);
  const int position = g_undo.position;
  OnEditRedo();  // past the newest: nothing changes, the position stays
  EXPECT_EQ(GetFigureCount(0), 2);
  EXPECT_EQ(g_undo.position, position);
  EXPECT_EQ(g_undo.redoState, 0);
}

TEST_F(UndoTest, RingKeepsTheNewest48) {
  for (int i = 0; i < 60; ++i) EditLayer0(i + 1);
  EXPECT_EQ(SnapshotFiles(), 48);
  EXPECT_FALSE(fs::exists(home() / "_BAK" / "undo000011.udo"));
  EXPECT_TRUE(fs::exists(home() / "_BAK" / "undo000012.udo"));
  EXPECT_TRUE(fs::exists(home() / "_BAK" / "undo000059.udo"));
  EXPECT_EQ(g_undo.position, 48);
  // The first undo keeps the edited state too, which pushes one more old
  // snapshot out: undo all the way back reaches 13 lines and no further.
  for (int i = 0; i < 70; ++i) OnEditUndo();
  EXPECT_EQ(GetFigureCount(0), 13);
  for (int i = 0; i < 70; ++i) OnEditRedo();
  EXPECT_EQ(GetFigureCount(0), 60);
}

TEST_F(UndoTest, NewEditAfterUndoEndsTheRedoBranch) {
  EditLayer0(1);
  EditLayer0(2);
  EditLayer0(3);
  OnEditUndo();
  OnEditUndo();
  ASSERT_EQ(GetFigureCount(0), 1);
  EditLayer0(9);  // a different second line
  OnEditRedo();   // the abandoned states must not come back over this edit
  ASSERT_EQ(GetFigureCount(0), 2);
  EXPECT_EQ(g_figureStore.Table(0)->slot(1).end.x, 9.0);
  OnEditUndo();
  EXPECT_EQ(GetFigureCount(0), 1);
  OnEditRedo();
  EXPECT_EQ(g_figureStore.Table(0)->slot(1).end.x, 9.0);
}

// With a few texts and with a full text list: the sections behind the texts
// (origins, and the curve figures of kind 103) come back where they were.
TEST_F(UndoTest, EachSnapshotKindRestoresWhatItHolds) {
  struct Case {
    int type;
    bool restoresLayer, restoresCurves, restoresTexts;
  };
  const Case cases[] = {{kUndoTypeTable, true, false, true},
                        {kUndoTypeTableCurves, true, true, true},
                        {kUndoTypeCurves, false, true, false},
                        {kUndoTypeWhole, true, true, true}};
  for (const int texts : {4, kTextRecordCount}) {
    for (int i = 4; i < texts; ++i) PutText(i, i % kLayerCount, "T");
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "type " << c.type << ", " << texts << " texts");
      PurgeUndoSnapshots();
      for (int t : {0, kTableCurves}) ClearFigureTable(t);
      Append(0, MakeLine(0, 0, 1, 0));
      Append(kTableCurves, MakeLine(0, 0, 1, 1), 6);
      g_curveTable[0] = CurveRecord{};
      g_curveTable[0].layer = 6;
      g_curveTable[0].key = 77;
      g_curveTable[0].end = 1;
      g_curveCount = 1;
      PutText(3, 0, "BEFORE");
      g_originCount[4] = 3;
      g_originTable[4][2] = {4.5, 6.5};
      g_figureTableSelector = 0;
      SnapshotForUndo(c.type);
      // The edit changes everything.
      Append(0, MakeLine(0, 0, 2, 0));
      Append(kTableCurves, MakeLine(1, 1, 2, 2), 6);
      g_curveTable[0].end = 2;
      g_curveTable[0].key = 78;
      PutText(3, 0, "AFTER");
      g_originCount[4] = 1;
      g_originTable[4][2] = {};
      OnEditUndo();
      EXPECT_EQ(GetFigureCount(0), c.restoresLayer ? 1 : 2);
      ASSERT_EQ(GetFigureCount(kTableCurves), c.restoresCurves ? 1 : 2);
      if (c.restoresCurves && c.type != kUndoTypeTableCurves) {
        EXPECT_EQ(g_curveTable[0].key, 77);
      }
      if (c.restoresCurves) {
        const FigureRecord& f = g_figureStore.Table(kTableCurves)->slot(0);
        EXPECT_EQ(f.layer, 6);
        EXPECT_EQ(f.end, (Vec2{1, 1}));
      }
      EXPECT_EQ(platform::FieldText(g_textRecords[3].text), c.restoresTexts ? "BEFORE" : "AFTER");
      EXPECT_EQ(g_textRecords[texts - 1].layer, texts == 4 ? 0 : (texts - 1) % kLayerCount);
      EXPECT_EQ(g_originCount[4], c.restoresTexts ? 3 : 1);
      EXPECT_EQ(g_originTable[4][2], c.restoresTexts ? (Vec2{4.5, 6.5}) : Vec2{});
    }
  }
}

TEST_F(UndoTest, TwoTablesOfOneSnapshotComeBackTogether) {
  Append(0, MakeLine(0, 0, 1, 0));
  Append(5, MakeLine(0, 0, 5, 0));
  g_figureTableSelector = 0;
  g_undo.secondTable = 5;
  SnapshotForUndo(kUndoTypeTable);
  ClearFigureTable(0);
  ClearFigureTable(5);
  OnEditUndo();
  EXPECT_EQ(GetFigureCount(0), 1);
  ASSERT_EQ(GetFigureCount(5), 1);
  EXPECT_EQ(g_figureStore.Table(5)->slot(0).end.x, 5.0);
}

TEST_F(UndoTest, PurgeDeletesEveryFileAndEmptiesTheRing) {
  for (int i = 0; i < 5; ++i) EditLayer0(i + 1);
  EXPECT_EQ(PurgeUndoSnapshots(), 0);
  EXPECT_EQ(SnapshotFiles(), 0);
  EXPECT_EQ(g_undo.position, 0);
  OnEditUndo();
  EXPECT_EQ(GetFigureCount(0), 5);
}

TEST_F(UndoTest, MissingOrDamagedSnapshotFilesEndQuietly) {
  EditLayer0(1);
  EditLayer0(2);
  // The snapshot an undo goes back to vanished.
  fs::remove(UndoFilePath(g_undo.slots[1]));
  OnEditUndo();
  EXPECT_EQ(GetFigureCount(0), 2);
  EXPECT_TRUE(ShownTexts().empty());

  PurgeUndoSnapshots();
  PutText(3, 0, "X");
  g_figureTableSelector = 0;
  SnapshotForUndo(kUndoTypeWhole);
  const fs::path file = UndoFilePath(g_undo.slots[0]);
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(platform::ReadWholeFile(file, bytes).ok());
  // Records: 2 lines of layer 0, then the end mark, the curve end, texts.
  std::int32_t badLayer = 77;
  std::memcpy(bytes.data() + offsetof(FigureRecord, layer), &badLayer, 4);
  const std::size_t text3 = 3 * sizeof(FigureRecord) + sizeof(CurveRecord) + 3 * sizeof(TextRecord);
  std::memset(bytes.data() + text3 + offsetof(TextRecord, text), 'Z', 60);
  ASSERT_TRUE(platform::WriteFileAtomic(file, bytes.data(), bytes.size()).ok());
  g_undo.lastType = kUndoTypeNone;
  g_undo.position = 1;
  OnEditUndo();
  EXPECT_EQ(GetFigureCount(0), 1);
  EXPECT_EQ(platform::FieldText(g_textRecords[3].text).size(), 59u);
}

}  // namespace
}  // namespace dorn::test
