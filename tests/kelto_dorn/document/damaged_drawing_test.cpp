// Damaged drawing files: what is sound is loaded, the rest is skipped and
// reported, and nothing reads outside its table.
#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/machining/machining_definition.h"
#include "kelto_dorn/surfaces/surface_definition.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "platform/record_file.h"
#include "platform/text.h"
#include "shared/handover/drawing_header.h"
#include "tests/kelto_dorn/document/document_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;

// Where the sections of a ".KWD" without surfaces and definitions and with
// `curves` curves and no index records begin.
constexpr std::size_t kCurvesAt = 616 + sizeof(SurfaceDefinition) + sizeof(MachiningDefinition);
std::size_t IndexAt(int curves) { return kCurvesAt + (curves + 1) * sizeof(CurveRecord); }
std::size_t LayersAt(int curves) { return IndexAt(curves) + sizeof(DefinitionIndexRecord); }
std::size_t CountersAt(int curves) { return LayersAt(curves) + 32 * 64 + 32 * 64 * 16; }
std::size_t TextsAt(int curves) { return CountersAt(curves) + 32 * 8; }

class DamagedDrawingTest : public DocumentTest {
 protected:
  void SetUp() override {
    DocumentTest::SetUp();
    PrepareDrawingFolder();
    for (int i = 0; i < 4; ++i) Append(i % 2, MakeLine(0, 0, i + 1, 0));
    Append(kTableCurves, MakeLine(0, 0, 1, 0), 3);
    Append(kTableCurves, MakeLine(1, 0, 1, 1), 3);
    CurveRecord c;
    c.layer = 3;
    c.key = 9;
    c.first = 0;
    c.end = 2;
    g_curveTable[0] = c;
    g_curveCount = 1;
    PutText(3, 1, "GOOD");
    ASSERT_TRUE(SaveDrawing(document()));
    mzf_ = Read("TEST.MZF");
    kwd_ = Read("TEST.KWD");
  }
  fs::path Seg(const char* file) const { return home() / "SAMPLE" / "PGM" / "SEG" / file; }
  std::vector<std::uint8_t> Read(const char* file) {
    std::vector<std::uint8_t> b;
    EXPECT_TRUE(platform::ReadWholeFile(Seg(file), b).ok());
    return b;
  }
  void Write(const char* file, const std::vector<std::uint8_t>& bytes) {
    ASSERT_TRUE(platform::WriteFileAtomic(Seg(file), bytes.data(), bytes.size()).ok());
  }
  template <typename T>
  static void Patch(std::vector<std::uint8_t>& bytes, std::size_t at, const T& value) {
    ASSERT_LE(at + sizeof value, bytes.size());
    std::memcpy(bytes.data() + at, &value, sizeof value);
  }
  DrawingLoadReport Load() {
    g_drawingHeader = handover::DefaultDrawingHeader();
    return LoadDrawing(document());
  }
  std::vector<std::uint8_t> mzf_;
  std::vector<std::uint8_t> kwd_;
};

TEST_F(DamagedDrawingTest, TruncatedFigureFileLoadsItsWholeRecords) {
  mzf_.resize(2 * sizeof(FigureRecord) + 50);
  Write("TEST.MZF", mzf_);
  const DrawingLoadReport r = Load();
  EXPECT_EQ(r.figuresLoaded, 2);
  EXPECT_EQ(GetFigureCount(0) + GetFigureCount(1), 2);
  // The cut record, and the curve whose figures were in the lost part.
  ASSERT_EQ(r.faults.size(), 2u);
  EXPECT_EQ(g_curveCount, 0);
  EXPECT_EQ(ShownTexts().size(), 1u);
}

TEST_F(DamagedDrawingTest, FiguresWithALayerOutsideTheTablesAreSkipped) {
  for (std::int32_t layer : {32, -1, 1000000}) {
    std::vector<std::uint8_t> bytes = mzf_;
    Patch(bytes, sizeof(FigureRecord) + offsetof(FigureRecord, layer), layer);
    Write("TEST.MZF", bytes);
    const DrawingLoadReport r = Load();
    EXPECT_EQ(r.figuresLoaded, 5) << layer;
    EXPECT_EQ(GetFigureCount(0) + GetFigureCount(1), 3) << layer;
    EXPECT_EQ(GetFigureCount(kTableCurves), 2) << layer;
    EXPECT_EQ(r.faults.size(), 1u) << layer;
  }
}

TEST_F(DamagedDrawingTest, TruncatedDefinitionFileLoadsWhatItHolds) {
  const std::size_t cuts[] = {
      0, 100, 616, kCurvesAt + 10, IndexAt(1) + 5, CountersAt(1) + 3, TextsAt(1) + 96 + 40, TextsAt(1) + 4 * 96 + 10};
  for (std::size_t cut : cuts) {
    std::vector<std::uint8_t> bytes(kwd_.begin(), kwd_.begin() + static_cast<std::ptrdiff_t>(cut));
    Write("TEST.KWD", bytes);
    const DrawingLoadReport r = Load();
    EXPECT_EQ(r.definitionVersion, 3) << cut;
    EXPECT_EQ(GetFigureCount(0) + GetFigureCount(1), 4) << cut;
    EXPECT_EQ(g_curveCount, cut > IndexAt(1) ? 1 : 0) << cut;
    EXPECT_EQ(platform::FieldText(g_drawingHeader.drawingName), "TEST") << cut;
    EXPECT_EQ(g_textRecords[3].layer, cut >= TextsAt(1) + 4 * 96 ? 1 : kTextRecordFree) << cut;
  }
}

// A file cut inside any section: that section ends there, every section
// behind it stays as reset (none takes the torn record's bytes for its own),
// and the report names the section.
TEST_F(DamagedDrawingTest, FileCutInsideASectionEndsThereAndNamesIt) {
  // Values of layer 3 that only their own sections can bring back.
  Patch(kwd_, LayersAt(1) + 2 * 64 + 56, 77.0);                // layer record: scale
  Patch(kwd_, LayersAt(1) + 32 * 64 + 2 * 64 * 16 + 16, 5.5);  // origin 1, x
  Patch(kwd_, CountersAt(1) + 2 * 8, std::array<std::int32_t, 2>{1, 2});
  const std::size_t origins = LayersAt(1) + 32 * 64;
  struct Case {
    std::size_t cut;
    int section;  // 0 header ... 9 machining order
    const char* name;
  };
  const Case cases[] = {
      {100, 0, "header"},
      {616 + 10, 1, "surfaces"},
      {616 + sizeof(SurfaceDefinition) + 5000, 2, "machining definitions"},
      {kCurvesAt + 10, 3, "curves"},
      {kCurvesAt + sizeof(CurveRecord) + 10, 3, "curves"},  // inside the end record
      {IndexAt(1), 4, "definition names"},                  // at the section's start
      {IndexAt(1) + 5, 4, "definition names"},
      {LayersAt(1) + 100, 5, "layer records"},
      {origins + 2000, 6, "origins"},
      {CountersAt(1) + 3, 7, "origin counters"},
      {TextsAt(1) + 96 + 40, 8, "texts"},
      {TextsAt(1) + 5 * 96 + 10, 9, "machining order"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cut);
    std::vector<std::uint8_t> bytes(kwd_.begin(), kwd_.begin() + static_cast<std::ptrdiff_t>(c.cut));
    Write("TEST.KWD", bytes);
    const DrawingLoadReport r = Load();
    ASSERT_EQ(r.faults.size(), 1u);
    EXPECT_NE(r.faults[0].find(std::string("ends inside its ") + c.name), std::string::npos) << r.faults[0];
    EXPECT_EQ(g_curveCount, c.cut >= kCurvesAt + sizeof(CurveRecord) ? 1 : 0);
    EXPECT_EQ(g_layerScale[2] == 77.0, c.section > 5);
    EXPECT_EQ(g_originTable[2][1].x, c.section > 6 ? 5.5 : 0.0);
    EXPECT_EQ(g_originCount[2], c.section > 7 ? 2 : 1);
    EXPECT_EQ(g_textRecords[3].layer, c.section > 8 ? 1 : kTextRecordFree);
    EXPECT_EQ(g_surfaceIndexTable.count, 0);
  }
  // The whole file reports nothing.
  Write("TEST.KWD", kwd_);
  EXPECT_TRUE(Load().faults.empty());
}

TEST_F(DamagedDrawingTest, OriginCountsAndIndexesAreClamped) {
  struct Case {
    std::int32_t index, count, wantIndex, wantCount;
  };
  const Case cases[] = {{99, 200, 63, 64}, {-5, 0, 0, 1}, {3, 2, 1, 2}, {1, 2, 1, 2}};
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bytes = kwd_;
    const std::int32_t pair[2] = {c.index, c.count};
    Patch(bytes, CountersAt(1) + 5 * 8, pair);
    Write("TEST.KWD", bytes);
    const DrawingLoadReport r = Load();
    EXPECT_EQ(g_layerOriginIndex[5], c.wantIndex) << c.index << "/" << c.count;
    EXPECT_EQ(g_originCount[5], c.wantCount) << c.index << "/" << c.count;
    const bool changed = c.index != c.wantIndex || c.count != c.wantCount;
    EXPECT_EQ(r.faults.size(), changed ? 1u : 0u) << c.index << "/" << c.count;
  }
}

TEST_F(DamagedDrawingTest, UnterminatedNamesAndTextsAreCutInsideTheirFields) {
  std::vector<std::uint8_t> bytes = kwd_;
  for (std::size_t i = 0; i < 60; ++i) bytes[TextsAt(1) + 32 + i] = 'T';
  for (std::size_t i = 0; i < 64; ++i) bytes[kCurvesAt + offsetof(CurveRecord, name) + i] = 'C';
  for (std::size_t i = 0; i < 64; ++i) bytes[8 + i] = 'D';  // the drawing name in the header
  Write("TEST.KWD", bytes);
  const DrawingLoadReport r = Load();
  EXPECT_TRUE(r.faults.empty());
  EXPECT_EQ(platform::FieldText(g_textRecords[0].text).size(), 59u);
  EXPECT_EQ(platform::FieldText(g_curveTable[0].name).size(), 63u);
  EXPECT_EQ(platform::FieldText(g_drawingHeader.drawingName), "TEST");
}

TEST_F(DamagedDrawingTest, DamagedHeaderTextsAndCurvesAreSkippedAndReported) {
  std::vector<std::uint8_t> bytes = kwd_;
  Patch(bytes, offsetof(handover::DrawingHeader, curOriginIndex), std::int32_t{500});
  Patch(bytes, offsetof(handover::DrawingHeader, programNumber), std::int32_t{66});
  Patch(bytes, TextsAt(1) + 96 * 3, std::int32_t{50});  // the text's layer
  Write("TEST.KWD", bytes);
  DrawingLoadReport r = Load();
  EXPECT_EQ(r.faults.size(), 2u);
  EXPECT_EQ(g_drawingHeader.programNumber, 66);  // the header is taken, its damaged field repaired
  EXPECT_EQ(g_drawingHeader.curOriginIndex, 0);
  EXPECT_EQ(g_textRecords[3].layer, kTextRecordFree);
  // Curves whose figure range is empty, too long or beyond the curve figures.
  struct Case {
    std::int32_t first, end;
  };
  for (const Case c : {Case{1, 1}, Case{2, 1}, Case{0, 56000}, Case{0, 3}, Case{-1, 1}}) {
    bytes = kwd_;
    Patch(bytes, kCurvesAt + offsetof(CurveRecord, first), c.first);
    Patch(bytes, kCurvesAt + offsetof(CurveRecord, end), c.end);
    Write("TEST.KWD", bytes);
    r = Load();
    EXPECT_EQ(g_curveCount, 0) << c.first << ".." << c.end;
    EXPECT_EQ(r.faults.size(), 1u) << c.first << ".." << c.end;
  }
}

TEST_F(DamagedDrawingTest, IndexRecordsOutsideTheirTablesAreSkipped) {
  // Rebuild the index section: one sound machining name, one with a slot
  // beyond the 512, one of an unknown kind.
  std::vector<std::uint8_t> bytes(kwd_.begin(), kwd_.begin() + static_cast<std::ptrdiff_t>(IndexAt(1)));
  auto put = [&](DefinitionIndexRecord r) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&r);
    bytes.insert(bytes.end(), p, p + sizeof r);
  };
  DefinitionIndexRecord sound{2, 5, 0, 0xB400, {}};
  std::memset(sound.name, 'N', sizeof sound.name);
  put(sound);
  put(DefinitionIndexRecord{2, 6, 900, 0xB400, "FAR"});
  put(DefinitionIndexRecord{7, 8, 0, 0, "ODD"});
  bytes.insert(bytes.end(), kwd_.begin() + static_cast<std::ptrdiff_t>(IndexAt(1)), kwd_.end());
  Write("TEST.KWD", bytes);
  const DrawingLoadReport r = Load();
  EXPECT_EQ(g_machiningIndexTable.count, 1);
  EXPECT_EQ(platform::FieldText(g_machiningIndexTable.records[0].name).size(), 63u);
  EXPECT_EQ(r.faults.size(), 1u);
  EXPECT_EQ(GetFigureCount(0) + GetFigureCount(1), 4);
}

}  // namespace
}  // namespace dorn::test

namespace dorn::test {
namespace {

class OverfullDrawingTest : public DocumentTest {};

TEST_F(OverfullDrawingTest, FigureFileBeyondATablesLimitFillsItAndSaysSoOnce) {
  PrepareDrawingFolder();
  // More figures on one layer than a table can hold.
  constexpr int kRecords = kFigureSlotLimit + 5;
  std::vector<FigureRecord> records(kRecords, MakeLine(0, 0, 1, 1));
  for (int i = 0; i < kRecords; ++i)
    records[static_cast<std::size_t>(i)].number = 1 + i % 80;  // never 90: that marks curve figures
  const fs::path mzf = home() / "SAMPLE" / "PGM" / "SEG" / "TEST.MZF";
  ASSERT_TRUE(platform::WriteRecords(mzf, records.data(), records.size()).ok());
  const DrawingLoadReport r = LoadDrawing(document());
  EXPECT_GT(r.figuresLoaded, kFigureSlotLimit - 200);
  EXPECT_LE(r.figuresLoaded, kFigureSlotLimit);
  EXPECT_EQ(GetFigureCount(0), r.figuresLoaded);
  EXPECT_EQ(ShownTexts().size(), 1u);  // the drawing-too-large box
  EXPECT_FALSE(g_figureStore.full);    // cleared for the next store
}

}  // namespace
}  // namespace dorn::test

namespace dorn::test {
namespace {

class LargeFigureFileTest : public DocumentTest {};

// Several chunks per table, table changes inside chunks and bad records in
// the middle of chunks: every sound record lands in its table, in order.
TEST_F(LargeFigureFileTest, ChunkedReadKeepsOrderAndSkipsBadRecords) {
  PrepareDrawingFolder();
  std::vector<FigureRecord> records;
  auto add = [&](int layer, int number, int count) {
    for (int i = 0; i < count; ++i) {
      FigureRecord f = MakeLine(0, 0, static_cast<double>(records.size()), 0);
      f.layer = layer;
      f.number = number;
      records.push_back(f);
    }
  };
  add(0, 1, 3000);
  add(1, 2, 1500);
  add(0, 3, 10);  // back to an earlier layer
  add(7, 90, 700);
  records[1500].layer = 40;
  records[2600].end.y = std::nan("");
  records[3200].layer = -1;
  records[4700].layer = 32;
  const fs::path mzf = home() / "SAMPLE" / "PGM" / "SEG" / "TEST.MZF";
  ASSERT_TRUE(platform::WriteRecords(mzf, records.data(), records.size()).ok());
  const DrawingLoadReport r = LoadDrawing(document());
  EXPECT_EQ(r.figuresLoaded, static_cast<int>(records.size()) - 4);
  ASSERT_EQ(GetFigureCount(0), 3000 - 2 + 10);
  ASSERT_EQ(GetFigureCount(1), 1500 - 1);
  ASSERT_EQ(GetFigureCount(kTableCurves), 700 - 1);
  auto expectOrdered = [](int table) {
    const FigureTable* t = g_figureStore.Table(table);
    for (int i = 1; i < t->count(); ++i) ASSERT_LT(t->slot(i - 1).end.x, t->slot(i).end.x) << table << " " << i;
  };
  expectOrdered(0);
  expectOrdered(1);
  expectOrdered(kTableCurves);
  EXPECT_EQ(g_figureStore.Table(0)->slot(2997).number, 1);
  EXPECT_EQ(g_figureStore.Table(0)->slot(2998).number, 3);
  EXPECT_EQ(g_figureStore.Table(kTableCurves)->slot(0).number, 0);
  EXPECT_EQ(g_figureStore.Table(kTableCurves)->slot(0).layer, 7);
  EXPECT_EQ(GetFigureCount(7), 0);
  // Slots behind the counts hold no stale records.
  EXPECT_EQ(g_figureStore.Table(1)->slot(GetFigureCount(1)).kind, kKindEmpty);
  EXPECT_EQ(g_nextFigureNumber, 3 + 257);
  ASSERT_EQ(r.faults.size(), 1u);
}

// A figure number at the top of the int range (found by fuzzing): counting
// on from it overflowed. New figures are numbered from the bottom again and
// the load says why; the figure itself is kept.
TEST_F(LargeFigureFileTest, AFigureNumberAtTheTopOfItsRangeDoesNotOverflowTheNextNumber) {
  PrepareDrawingFolder();
  for (const int highest : {std::numeric_limits<int>::max(), std::numeric_limits<int>::max() - 257}) {
    FigureRecord f = MakeLine(0, 0, 10, 0);
    f.number = highest;
    const fs::path mzf = home() / "SAMPLE" / "PGM" / "SEG" / "TEST.MZF";
    ASSERT_TRUE(platform::WriteRecords(mzf, &f, 1).ok());
    const DrawingLoadReport r = LoadDrawing(document());
    EXPECT_EQ(GetFigureCount(0), 1);
    EXPECT_EQ(g_nextFigureNumber, 257);
    ASSERT_EQ(r.faults.size(), 1u);
    EXPECT_NE(r.faults[0].find("top of their range"), std::string::npos) << r.faults[0];
  }
}

}  // namespace
}  // namespace dorn::test

namespace dorn::test {
namespace {

class SurfaceValuesTest : public DocumentTest {};

TEST_F(SurfaceValuesTest, SurfaceValuesThatAreNotNumbersNeitherLoadNorSave) {
  PrepareDrawingFolder();
  g_surfaceSlots[0].kind = 2;
  g_surfaceSlots[0].z1 = 5.0;
  g_surfaceSlots[0].x[3] = 7.0;
  ASSERT_TRUE(SaveDrawing(document()));
  const fs::path kwd = home() / "SAMPLE" / "PGM" / "SEG" / "TEST.KWD";
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(platform::ReadWholeFile(kwd, bytes).ok());
  const double nan = std::nan("");
  std::memcpy(bytes.data() + 616 + offsetof(SurfaceDefinition, x) + 3 * sizeof(double), &nan, sizeof nan);
  ASSERT_TRUE(platform::WriteFileAtomic(kwd, bytes.data(), bytes.size()).ok());
  const DrawingLoadReport r = LoadDrawing(document());
  EXPECT_EQ(r.faults.size(), 1u);
  EXPECT_EQ(g_surfaceSlots[0].kind, 2);
  EXPECT_EQ(g_surfaceSlots[0].z1, 5.0);
  EXPECT_EQ(g_surfaceSlots[0].x[3], 0.0);
  // Made in memory, it is not written: the file on disk stays as it was.
  g_surfaceSlots[0].z2 = nan;
  EXPECT_FALSE(SaveDrawing(document()));
  std::vector<std::uint8_t> after;
  ASSERT_TRUE(platform::ReadWholeFile(kwd, after).ok());
  EXPECT_EQ(after, bytes);
}

}  // namespace
}  // namespace dorn::test
