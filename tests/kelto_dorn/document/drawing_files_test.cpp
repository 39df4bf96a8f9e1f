// Saving and loading drawings: a drawing of every record kind comes back the
// same, the file forms keep their rules, older forms are converted, and a
// failed save leaves the previous drawing on disk.
#include <sys/resource.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <fstream>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "platform/record_file.h"
#include "platform/text.h"
#include "shared/handover/drawing_header.h"
#include "tests/kelto_dorn/document/document_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;

std::vector<FigureRecord> TableRecords(int table) {
  std::vector<FigureRecord> out;
  const FigureTable* t = g_figureStore.Table(table);
  for (int i = 0; i < t->count(); ++i) out.push_back(t->slot(i));
  return out;
}

bool SameFigure(const FigureRecord& a, const FigureRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::vector<std::uint8_t> FileBytes(const fs::path& p) {
  std::vector<std::uint8_t> bytes;
  EXPECT_TRUE(platform::ReadWholeFile(p, bytes).ok()) << p;
  return bytes;
}

class DrawingFilesTest : public DocumentTest {
 protected:
  void SetUp() override {
    DocumentTest::SetUp();
    PrepareDrawingFolder();
  }
  fs::path Seg(const char* file) const { return home() / "SAMPLE" / "PGM" / "SEG" / file; }

  // Lines, arcs and points on three layers, a curve of three figures on
  // layer 4, two texts, a second origin on layer 2, a surface and a
  // machining definition with their names.
  void BuildSampleDrawing() {
    Append(0, MakeLine(0, 0, 10, 0, 1));
    FigureRecord numbered = MakeLine(0, 0, 0, 10, 2);
    numbered.number = 90;  // a layer figure numbered 90
    Append(0, numbered);
    FigureRecord arc = MakeArc(5, 5, 2.5, 3);
    arc.radius = -2.5;
    g_originTable[2][1] = {10.0, 20.0};
    g_originCount[2] = 2;
    g_layerOriginIndex[2] = 1;
    arc.origin = {10.0, 20.0};
    Append(2, arc);
    FigureRecord point;
    point.kind = kKindPoint;
    point.start = {7, 8};
    point.number = 44;
    Append(31, point);
    for (int i = 0; i < 3; ++i) Append(kTableCurves, MakeLine(i, 0, i + 1, 0, 6), 4);
    CurveRecord c;
    c.layer = 4;
    c.key = 501;
    c.first = 0;
    c.end = 3;
    c.colour = 6;
    c.topZ = -2.0;
    platform::SetFieldText(c.name, "CURVE1");
    g_curveTable[0] = c;
    g_curveCount = 1;
    PutText(0, 0, "WORK");
    PutText(1, 0, "");
    PutText(2, 0, "");
    PutText(3, 2, platform::Sjis("テキスト").c_str());
    PutText(4, kTextLayerHidden, "HIDDEN");
    g_surfaceSlots[0].kind = 3;
    g_surfaceSlots[0].key = 11;
    g_surfaceIndexTable.records[0] = DefinitionIndexRecord{1, 11, 0, 3, "S1"};
    g_surfaceIndexTable.count = 1;
    MachiningDefinition& d = document().definitions.Slot(0);
    d.kind = 0xB400;
    d.number = 7;
    d.steps[0].depth = -1.25;
    platform::SetFieldText(d.processName, "DRILL");
    g_machiningIndexTable.records[0] = DefinitionIndexRecord{2, 5, 0, 0xB400, "ANA"};
    g_machiningIndexTable.count = 1;
    g_layerScale[3] = 120.0;
    g_layerGridPitch[3] = 5.0;
    g_machiningStepRecords[0].first = 3;
    g_machiningStepRecords[0].rest[10] = 0x5A;
    g_displayFlags.words[0] = 1;
  }
};

TEST_F(DrawingFilesTest, SavedDrawingLoadsBackTheSameRecords) {
  BuildSampleDrawing();
  std::vector<FigureRecord> before[33];
  for (int t = 0; t < kLayerCount; ++t) before[t] = TableRecords(t);
  before[32] = TableRecords(kTableCurves);
  ASSERT_TRUE(SaveDrawing(document()));
  EXPECT_TRUE(ShownTexts().empty());

  ResetProgramState();
  ASSERT_TRUE(g_figureStore.Start());
  g_drawingHeader = handover::DefaultDrawingHeader();
  const DrawingLoadReport report = LoadDrawing(document());
  EXPECT_TRUE(report.faults.empty()) << report.faults.front();
  EXPECT_TRUE(report.figuresFound);
  EXPECT_EQ(report.definitionVersion, 3);

  for (int t = 0; t < kLayerCount; ++t) {
    const std::vector<FigureRecord> after = TableRecords(t);
    ASSERT_EQ(after.size(), before[t].size()) << "layer " << t;
    for (std::size_t i = 0; i < after.size(); ++i) {
      FigureRecord expected = before[t][i];
      if (expected.number == 90) expected.number = 378;  // the file's name for it
      EXPECT_TRUE(SameFigure(after[i], expected)) << "layer " << t << " figure " << i;
    }
  }
  const std::vector<FigureRecord> curves = TableRecords(kTableCurves);
  ASSERT_EQ(curves.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    FigureRecord expected = before[32][i];
    expected.number = 0;
    EXPECT_TRUE(SameFigure(curves[i], expected)) << i;
    EXPECT_EQ(curves[i].layer, 4);
  }
  ASSERT_EQ(g_curveCount, 1);
  EXPECT_EQ(g_curveTable[0].key, 501);
  EXPECT_EQ(platform::FieldText(g_curveTable[0].name), "CURVE1");
  EXPECT_EQ(g_curveFiguresEnd, 3);
  EXPECT_EQ(platform::FieldText(g_textRecords[3].text), platform::Sjis("テキスト"));
  EXPECT_EQ(g_textRecords[3].layer, 2);
  EXPECT_EQ(g_textRecords[4].layer, kTextRecordFree);  // hidden texts are not stored
  EXPECT_EQ(g_originCount[2], 2);
  EXPECT_EQ(g_layerOriginIndex[2], 1);
  EXPECT_EQ(g_originTable[2][1], (Vec2{10.0, 20.0}));
  EXPECT_EQ(g_surfaceSlots[0].key, 11);
  EXPECT_EQ(g_surfaceIndexTable.count, 1);
  EXPECT_EQ(g_machiningCount, 1);
  EXPECT_EQ(document().definitions.Slot(0).number, 7);
  EXPECT_EQ(document().definitions.Slot(0).steps[0].depth, -1.25);
  EXPECT_EQ(platform::FieldText(g_machiningIndexTable.records[0].name), "ANA");
  EXPECT_EQ(g_layerScale[3], 120.0);
  EXPECT_EQ(g_layerGridPitch[3], 5.0);
  EXPECT_EQ(g_machiningStepRecords[0].first, 3);
  EXPECT_EQ(g_machiningStepRecords[0].rest[10], 0x5A);
  EXPECT_EQ(g_machiningStepRecords[1].first, kStepRecordUnused);
  EXPECT_EQ(g_displayFlags.words[0], 1);
  EXPECT_EQ(g_nextFigureNumber, 378 + 257);
}

TEST_F(DrawingFilesTest, FigureFileRules) {
  Append(5, MakeLine(0, 0, 1, 0));
  Append(5, MakeLine(0, 0, 2, 0));
  Append(5, MakeLine(0, 0, 3, 0));
  g_figureStore.Table(5)->slot(1).kind = kKindEmpty;  // deleted
  g_figureStore.Table(5)->slot(2).depth = 4.0;
  // The global-Z mode decides every figure's stored depth.
  struct Case {
    std::int32_t mode;
    double depth;
  };
  for (const Case c : {Case{0, 0.0}, Case{9999, 12.5}}) {
    g_drawingHeader.globalZMode = c.mode;
    g_drawingHeader.workSizeZ = 12.5;
    std::string fault;
    const std::vector<std::uint8_t> bytes = BuildFigureFile(&fault);
    ASSERT_EQ(bytes.size(), 2 * sizeof(FigureRecord)) << fault;
    FigureRecord r[2];
    std::memcpy(r, bytes.data(), sizeof r);
    EXPECT_EQ(r[0].end.x, 1.0);  // order kept, the deleted one left out
    EXPECT_EQ(r[1].end.x, 3.0);
    EXPECT_EQ(r[0].layer, 5);
    EXPECT_EQ(r[0].depth, c.depth);
    EXPECT_EQ(r[1].depth, c.depth);
  }
}

TEST_F(DrawingFilesTest, ValueThatIsNotANumberNeverReachesTheFile) {
  Append(0, MakeLine(0, 0, 1, 0));
  ASSERT_TRUE(SaveDrawing(document()));
  const std::vector<std::uint8_t> good = FileBytes(Seg("TEST.MZF"));
  Append(0, MakeLine(0, 0, std::nan(""), 0));
  EXPECT_FALSE(SaveDrawing(document()));
  EXPECT_EQ(ShownTexts().size(), 1u);
  EXPECT_EQ(FileBytes(Seg("TEST.MZF")), good);
}

TEST_F(DrawingFilesTest, DrawingWithoutTextsStillEndsItsTextSection) {
  std::string fault;
  const std::vector<std::uint8_t> bytes = BuildDefinitionFile(document(), &fault);
  ASSERT_TRUE(fault.empty());
  // The work texts 0-2 get the current layer; the terminator follows them.
  // The step list ends with its first unused record.
  const std::size_t stepsAt = bytes.size() - sizeof(MachiningStepRecord);
  std::int32_t step = 0;
  std::memcpy(&step, bytes.data() + stepsAt, 4);
  EXPECT_EQ(step, kStepRecordUnused);
  std::int32_t textEnd = 0;
  std::memcpy(&textEnd, bytes.data() + stepsAt - sizeof(TextRecord), 4);
  EXPECT_EQ(textEnd, kNone);
}

// A full text list (every record but the last) with machining step records:
// the text section keeps its 24800 records, the end record in the place the
// list keeps free, and every text and step record comes back.
TEST_F(DrawingFilesTest, FullTextListSavesEveryTextAndEveryStepRecord) {
  for (int i = 0; i < kTextRecordCapacity; ++i)
    PutText(i, i % kLayerCount, i == kTextRecordCapacity - 1 ? "LAST" : "T");
  EXPECT_FALSE(TextStoreHasRoom());
  EXPECT_EQ(AppendTextRecord(g_textRecords[5]), -1);  // the end record's place stays free
  EXPECT_EQ(g_textRecords[kTextRecordCapacity].layer, kTextRecordFree);
  constexpr int kSteps = 10;
  for (int i = 0; i < kSteps; ++i) {
    g_machiningStepRecords[static_cast<std::size_t>(i)].first = 100 + i;
    g_machiningStepRecords[static_cast<std::size_t>(i)].rest[99] = static_cast<std::uint8_t>(i);
  }
  ASSERT_TRUE(SaveDrawing(document()));
  constexpr std::size_t kTextsAt = 616 + sizeof(SurfaceDefinition) + sizeof(MachiningDefinition) + sizeof(CurveRecord) +
                                   sizeof(DefinitionIndexRecord) + 32 * 64 + 32 * 64 * 16 + 32 * 8;
  std::vector<std::uint8_t> kwd = FileBytes(Seg("TEST.KWD"));
  ASSERT_EQ(kwd.size(), kTextsAt + kTextRecordCount * sizeof(TextRecord) + (kSteps + 1) * sizeof(MachiningStepRecord));

  auto expectAllBack = [&](const char* form) {
    SCOPED_TRACE(form);
    ResetProgramState();
    ASSERT_TRUE(g_figureStore.Start());
    g_drawingHeader = handover::DefaultDrawingHeader();
    LoadDrawing(document());
    EXPECT_EQ(TextRecordsInUse(), kTextRecordCapacity);
    EXPECT_EQ(platform::FieldText(g_textRecords[kTextRecordCapacity - 1].text), "LAST");
    for (int i = 0; i < kSteps; ++i) {
      EXPECT_EQ(g_machiningStepRecords[static_cast<std::size_t>(i)].first, 100 + i);
      EXPECT_EQ(g_machiningStepRecords[static_cast<std::size_t>(i)].rest[99], i);
    }
    EXPECT_EQ(g_machiningStepRecords[kSteps].first, kStepRecordUnused);
  };
  expectAllBack("as saved");
  EXPECT_TRUE(ShownTexts().empty());

  // An earlier build wrote a full store's 24800 texts and its end record
  // behind them: the step records still come back, the one text beyond the
  // capacity is dropped and reported.
  TextRecord extra = g_textRecords[7];
  const auto* p = reinterpret_cast<const std::uint8_t*>(&extra);
  kwd.insert(kwd.begin() + static_cast<std::ptrdiff_t>(kTextsAt + kTextRecordCapacity * sizeof(TextRecord)), p,
             p + sizeof extra);
  ASSERT_TRUE(platform::WriteFileAtomic(Seg("TEST.KWD"), kwd.data(), kwd.size()).ok());
  expectAllBack("earlier form");
  ASSERT_EQ(ShownTexts().size(), 1u);
  EXPECT_NE(ShownTexts()[0].find("beyond the text list's capacity"), std::string::npos);
}

// What ends the surface and definition lists is a reset record of each.
TEST_F(DrawingFilesTest, ListsEndWithResetRecords) {
  g_machiningDefaults.spindleSpeed = 3300;
  std::string fault;
  const std::vector<std::uint8_t> bytes = BuildDefinitionFile(document(), &fault);
  ASSERT_TRUE(fault.empty()) << fault;
  SurfaceDefinition surfaceEnd;
  std::memcpy(&surfaceEnd, bytes.data() + 616, sizeof surfaceEnd);
  EXPECT_EQ(surfaceEnd.kind, 0);
  EXPECT_EQ(surfaceEnd.curvesA[0], kNoCurveKey);
  EXPECT_EQ(surfaceEnd.curvesB[31], kNoCurveKey);
  auto definitionEnd = std::make_unique<MachiningDefinition>();
  std::memcpy(static_cast<void*>(definitionEnd.get()), bytes.data() + 616 + sizeof(SurfaceDefinition),
              sizeof(MachiningDefinition));
  EXPECT_EQ(definitionEnd->kind, 0);
  EXPECT_EQ(definitionEnd->value[0], 1.0);
  EXPECT_EQ(definitionEnd->steps[11].colour, 1);
  EXPECT_EQ(definitionEnd->stepTools[0].spindleSpeed, 3300);
}

// A disk that takes the small figure file but not the definition file: the
// new figure file must not stay beside the old definition file, and nothing
// of the attempt is left in the folder.
TEST_F(DrawingFilesTest, FailedSaveKeepsThePreviousDrawingAndIsReported) {
  Append(0, MakeLine(0, 0, 1, 0));
  ASSERT_TRUE(SaveDrawing(document()));
  const std::vector<std::uint8_t> mzf = FileBytes(Seg("TEST.MZF"));
  const std::vector<std::uint8_t> kwd = FileBytes(Seg("TEST.KWD"));
  constexpr std::size_t kLimit = 4096;  // bytes a file may have, as on a full disk (for root too)
  ASSERT_LT(mzf.size() + sizeof(FigureRecord), kLimit);
  ASSERT_GT(kwd.size(), kLimit);
  Append(0, MakeLine(0, 0, 2, 0));
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = kLimit;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool wasSaved = SaveDrawing(document());
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(wasSaved);
  EXPECT_EQ(ShownTexts().size(), 1u);
  EXPECT_EQ(FileBytes(Seg("TEST.MZF")), mzf);
  EXPECT_EQ(FileBytes(Seg("TEST.KWD")), kwd);
  int files = 0;
  for (const auto& e : fs::directory_iterator(Seg(""))) files += e.is_regular_file();
  EXPECT_EQ(files, 2);
}

TEST_F(DrawingFilesTest, UnusableDrawingNamesAreRefused) {
  for (const char* name : {"", "..", "a/b"}) {
    platform::SetFieldText(g_drawingHeader.drawingName, name);
    EXPECT_TRUE(DrawingFilePath(".MZF").empty()) << name;
    EXPECT_FALSE(SaveDrawing(document())) << name;
  }
  EXPECT_EQ(ShownTexts().size(), 3u);
}

TEST_F(DrawingFilesTest, OriginCleanUpKeepsOnlyUsedOrigins) {
  g_originCount[1] = 5;
  g_originTable[1] = {};
  g_originTable[1][1] = {1, 1};
  g_originTable[1][2] = {2, 2};
  g_originTable[1][3] = {3, 3};
  g_originTable[1][4] = {4, 4};
  g_layerOriginIndex[1] = 4;
  FigureRecord f = MakeLine(0, 0, 1, 0);
  f.origin = {3, 3};
  Append(1, f);
  f.origin = {2, 2};
  Append(kTableCurves, f, 1);  // a curve figure on layer 1 keeps its origin
  f.origin = {4, 4};
  Append(kTableCurves, f, 7);  // on another layer: does not
  CleanUpOrigins();
  EXPECT_EQ(g_originCount[1], 3);
  EXPECT_EQ(g_originTable[1][1], (Vec2{2, 2}));
  EXPECT_EQ(g_originTable[1][2], (Vec2{3, 3}));
  EXPECT_EQ(g_layerOriginIndex[1], 0);
  EXPECT_EQ(g_originCount[0], 1);
}

TEST_F(DrawingFilesTest, NamesTheDrawingWasOpenedByWinOverTheFile) {
  Append(0, MakeLine(0, 0, 1, 0));
  g_drawingHeader.programNumber = 77;
  ASSERT_TRUE(SaveDrawing(document()));
  fs::copy_file(Seg("TEST.MZF"), Seg("OTHER.MZF"));
  fs::copy_file(Seg("TEST.KWD"), Seg("OTHER.KWD"));
  g_drawingHeader.programNumber = 0;
  platform::SetFieldText(g_drawingHeader.drawingName, "OTHER");
  LoadDrawing(document());
  EXPECT_EQ(platform::FieldText(g_drawingHeader.drawingName), "OTHER");
  EXPECT_EQ(g_drawingHeader.programNumber, 77);
}

TEST_F(DrawingFilesTest, MissingFilesLeaveAnEmptyDrawing) {
  Append(0, MakeLine(0, 0, 1, 0));
  PutText(3, 0, "X");
  const DrawingLoadReport report = LoadDrawing(document());
  EXPECT_FALSE(report.figuresFound);
  EXPECT_EQ(report.definitionVersion, 0);
  EXPECT_EQ(GetFigureCount(0), 0);
  EXPECT_EQ(g_textRecords[3].layer, kTextRecordFree);
  EXPECT_TRUE(ShownTexts().empty());
  // New figures are numbered from 257, clear of the curve-table number 90.
  EXPECT_EQ(g_nextFigureNumber, 257);
}

class OldDrawingTest : public DrawingFilesTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(OldDrawingTest, OlderFormIsConvertedAndSavesAsTheCurrentForm) {
  const fs::path base = testsupport::FixturePath(std::string("document/") + GetParam());
  DrawingLoadReport report = LoadDrawing(document(), &base);
  ASSERT_TRUE(report.faults.empty()) << report.faults.front();
  EXPECT_EQ(report.definitionVersion, std::string(GetParam()) == "OLDKSE" ? 1 : 2);
  auto check = [&] {
    const MachiningDefinition& d = document().definitions.Slot(0);
    EXPECT_EQ(d.kind, 0xB400);
    EXPECT_EQ(d.number, 7);
    EXPECT_EQ(d.value[0], 1.5);
    EXPECT_EQ(d.curves[0].type, 42);
    EXPECT_EQ(d.steps[0].depth, -3.25);
    EXPECT_EQ(d.stepTools[0].diameter, 6.5f);
    EXPECT_EQ(platform::FieldText(d.processName), "DRILL-A");
    EXPECT_EQ(platform::FieldText(d.machineName), "MC1");
    EXPECT_EQ(d.general16068[2], 3);
    EXPECT_EQ(document().definitions.Slot(1).kind, 0);
    EXPECT_EQ(g_machiningCount, 1);
    EXPECT_EQ(g_surfaceSlots[0].kind, 3);
    EXPECT_EQ(g_surfaceIndexTable.count, 1);
    EXPECT_EQ(g_curveCount, 1);
    EXPECT_EQ(GetFigureCount(kTableCurves), 2);
    EXPECT_EQ(GetFigureCount(2), 1);
    EXPECT_EQ(g_curLayer, 2);
    EXPECT_EQ(g_originCount[2], 2);
    EXPECT_EQ(g_originTable[2][1], (Vec2{10.0, 20.0}));
    EXPECT_EQ(g_drawingHeader.curOriginIndex, 1);
    EXPECT_EQ(platform::FieldText(g_textRecords[0].text), "ABC");
    EXPECT_EQ(g_layerScale[0], 80.0);
    EXPECT_EQ(g_drawingHeader.workSizeX, 100.0);
  };
  check();
  // Saved again, it is a current drawing with the same content.
  const fs::path saved = home() / "again";
  ASSERT_TRUE(SaveDrawingTo(document(), saved));
  report = LoadDrawing(document(), &saved);
  EXPECT_EQ(report.definitionVersion, 3);
  check();
}

INSTANTIATE_TEST_SUITE_P(Forms, OldDrawingTest, ::testing::Values("OLDKSE", "OLDKWQ"));

}  // namespace
}  // namespace dorn::test
