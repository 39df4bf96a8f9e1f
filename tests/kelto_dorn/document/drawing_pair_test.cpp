// The two files of a drawing are one save: a save refused for anything in
// either file leaves both old files as they were, a value the loader would
// refuse is refused by the save with its name, and what a save writes loads
// back to the same bytes.
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "platform/record_file.h"
#include "platform/text.h"
#include "shared/handover/drawing_header.h"
#include "tests/kelto_dorn/document/document_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

std::vector<std::uint8_t> FileBytes(const fs::path& p) {
  std::vector<std::uint8_t> bytes;
  EXPECT_TRUE(platform::ReadWholeFile(p, bytes).ok()) << p;
  return bytes;
}

class DrawingPairTest : public DocumentTest {
 protected:
  void SetUp() override {
    DocumentTest::SetUp();
    PrepareDrawingFolder();
  }
  fs::path Seg(const char* file) const { return home() / "SAMPLE" / "PGM" / "SEG" / file; }
  // Every state as at start-up, the drawing folder made.
  void FreshProgram() {
    ResetProgramState();
    ASSERT_TRUE(g_figureStore.Start());
    InitLayerDefaults();
    PrepareDrawingFolder();
  }

  // A line, a curve of two figures with its key, a text, a program number
  // and a curve key counter.
  void BuildDrawing() {
    Append(0, MakeLine(0, 0, 10, 0));
    Append(kTableCurves, MakeLine(0, 0, 1, 0), 3);
    Append(kTableCurves, MakeLine(1, 0, 1, 1), 3);
    CurveRecord c;
    c.layer = 3;
    c.key = 501;
    c.first = 0;
    c.end = 2;
    c.topZ = -1.0;
    g_curveTable[0] = c;
    g_curveCount = 1;
    PutText(3, 1, "TEXT");
    g_drawingHeader.programNumber = 1234;
    g_drawingHeader.curveKeyCounter = 900;
    g_drawingHeader.workSizeX = 100.0;
  }
};

TEST_F(DrawingPairTest, SaveRefusedForEitherFileLeavesBothOldFilesByteForByte) {
  struct Case {
    const char* name;
    std::function<void()> spoil;
    const char* named;  // what the message names
  };
  const Case cases[] = {
      {"text size not a number", [] { g_textRecords[3].size = std::nanf(""); }, "text 4"},
      {"figure value not a number", [] { g_figureStore.Table(0)->slot(0).end.y = std::nan(""); }, "layer 1"},
      {"work size typed as 10/0", [] { g_drawingHeader.workSizeX = kInfinity; }, "work size X"},
      {"curve TOP Z infinite", [] { g_curveTable[0].topZ = -kInfinity; }, "key 501"},
      {"curve figure range empty", [] { g_curveTable[0].end = 0; }, "key 501"},
      {"curve figure on no layer", [] { g_figureStore.Table(kTableCurves)->slot(1).layer = 40; }, "curve figure 2"},
      {"definition name on no slot",
       [] {
         g_surfaceIndexTable.records[0] = {1, 7, 300, 3, "S"};
         g_surfaceIndexTable.count = 1;
       },
       "surface 1"},
  };
  BuildDrawing();
  ASSERT_TRUE(SaveDrawing(document()));
  const std::vector<std::uint8_t> mzf = FileBytes(Seg("TEST.MZF"));
  const std::vector<std::uint8_t> kwd = FileBytes(Seg("TEST.KWD"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FreshProgram();
    BuildDrawing();
    // Both files would change: a figure more, another program number.
    Append(1, MakeLine(5, 5, 6, 6));
    g_drawingHeader.programNumber = 4321;
    c.spoil();
    const std::size_t boxes = ShownTexts().size();
    EXPECT_FALSE(SaveDrawing(document()));
    EXPECT_EQ(FileBytes(Seg("TEST.MZF")), mzf);
    EXPECT_EQ(FileBytes(Seg("TEST.KWD")), kwd);
    ASSERT_EQ(ShownTexts().size(), boxes + 1);
    EXPECT_NE(ShownTexts().back().find("not saved"), std::string::npos) << ShownTexts().back();
    EXPECT_NE(ShownTexts().back().find(c.named), std::string::npos) << ShownTexts().back();
  }
}

// A header field that was damaged on disk costs only that field; the rest
// of the header (program number, curve key counter) is taken.
TEST_F(DrawingPairTest, DamagedHeaderFieldIsRepairedByItself) {
  BuildDrawing();
  ASSERT_TRUE(SaveDrawing(document()));
  std::vector<std::uint8_t> kwd = FileBytes(Seg("TEST.KWD"));
  std::memcpy(kwd.data() + offsetof(handover::DrawingHeader, workSizeY), &kInfinity, sizeof kInfinity);
  ASSERT_TRUE(platform::WriteFileAtomic(Seg("TEST.KWD"), kwd.data(), kwd.size()).ok());
  g_drawingHeader = handover::DefaultDrawingHeader();
  const DrawingLoadReport r = LoadDrawing(document());
  ASSERT_EQ(r.faults.size(), 1u);
  EXPECT_NE(r.faults[0].find("work size Y"), std::string::npos) << r.faults[0];
  EXPECT_EQ(g_drawingHeader.workSizeY, 0.0);
  EXPECT_EQ(g_drawingHeader.workSizeX, 100.0);
  EXPECT_EQ(g_drawingHeader.programNumber, 1234);
  EXPECT_EQ(g_drawingHeader.curveKeyCounter, 900);
  EXPECT_EQ(g_curveCount, 1);
}

// Save, load, save again: the same bytes, for a drawing made here and for
// the older drawing forms.
TEST_F(DrawingPairTest, SaveLoadSaveGivesTheSameBytes) {
  struct Source {
    const char* name;
    std::function<void()> make;
  };
  const Source sources[] = {
      {"made here",
       [&] {
         BuildDrawing();
         g_surfaceSlots[0].kind = 3;
         g_surfaceSlots[0].key = 11;
         g_surfaceIndexTable.records[0] = DefinitionIndexRecord{1, 11, 0, 3, "S1"};
         g_surfaceIndexTable.count = 1;
         MachiningDefinition& d = document().definitions.Slot(0);
         d.kind = 0xB400;
         d.number = 7;
         g_machiningIndexTable.records[0] = DefinitionIndexRecord{2, 5, 0, 0xB400, "ANA"};
         g_machiningIndexTable.count = 1;
         g_machiningStepRecords[0].first = 3;
       }},
      {"OLDKSE",
       [&] {
         const fs::path base = testsupport::FixturePath("document/OLDKSE");
         ASSERT_TRUE(LoadDrawing(document(), &base).faults.empty());
       }},
      {"OLDKWQ",
       [&] {
         const fs::path base = testsupport::FixturePath("document/OLDKWQ");
         ASSERT_TRUE(LoadDrawing(document(), &base).faults.empty());
       }},
  };
  for (const Source& source : sources) {
    SCOPED_TRACE(source.name);
    FreshProgram();
    source.make();
    const fs::path first = home() / (std::string(source.name) + "1");
    const fs::path second = home() / (std::string(source.name) + "2");
    ASSERT_TRUE(SaveDrawingTo(document(), first));
    FreshProgram();
    const DrawingLoadReport r = LoadDrawing(document(), &first);
    ASSERT_TRUE(r.faults.empty()) << r.faults.front();
    ASSERT_TRUE(SaveDrawingTo(document(), second));
    for (const char* extension : {".MZF", ".KWD"}) {
      fs::path a = first, b = second;
      a += extension;
      b += extension;
      EXPECT_EQ(FileBytes(a), FileBytes(b)) << extension;
    }
  }
}

}  // namespace
}  // namespace dorn::test
