// The builder's streams record by record: the figure data, numbering, the
// process framing, program numbers, the pit-in section, and what a damaged
// or unusual drawing gives.
#include <sys/resource.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/camdata/post_table.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/record_file.h"
#include "platform/text.h"
#include "tests/kelto_dorn/camdata/cam_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;
using handover::NcElement;

std::vector<std::uint8_t> FileBytes(const fs::path& p) {
  std::vector<std::uint8_t> bytes;
  platform::ReadWholeFile(p, bytes);
  return bytes;
}

using BuilderTest = CamDataTest;

TEST_F(BuilderTest, DrawingWithoutDefinitionsGivesTheFrameOfAStream) {
  AddPointCurve(7, {{1.0, 2.0}, {3.0, 4.0}});
  const CamBuildResult r = Build();
  ASSERT_TRUE(r.written) << r.failure;
  const std::vector<std::int32_t> expected = {0x1200, 0x1100, 0x1100, 0x1100, 0x1100, 0x6900, 0xFF00};
  EXPECT_EQ(Codes(builder_->Elements()), expected);
  const auto& e = builder_->Elements();
  EXPECT_EQ(e[0].number, 0);
  EXPECT_EQ(e[0].d2, 1.0);
  // The work outline: lower left and upper right of a 100 x 80 work at its
  // lower left origin.
  EXPECT_EQ(e[1].number, 3);
  EXPECT_EQ(e[1].d4, 0.0);
  EXPECT_EQ(e[2].d4, 100.0);
  EXPECT_EQ(e[2].d7, 80.0);
  EXPECT_EQ(e[3].number, 7);
  EXPECT_EQ(e[4].d4, 3.0);
  EXPECT_EQ(e[4].d7, 4.0);
  EXPECT_EQ(e[5].number, 990000);
  EXPECT_EQ(e[6].number, 999999);
  // The four files are there; the pit-in map is empty, so no earlier map
  // is ever read with this stream.
  EXPECT_EQ(FileBytes(home() / "$DORN_DAT.@@@").size(), 7u * 96u);
  EXPECT_EQ(FileBytes(home() / "$P_MAP.@@@").size(), 0u);
  EXPECT_EQ(FileBytes(home() / "$DORN_CDE.@@@").size(), 0u);
  EXPECT_TRUE(fs::exists(home() / "$oikomi_map.@@@"));
  EXPECT_EQ(FileBytes(home() / "$oikomi_map.@@@").size(), 0u);
}

TEST_F(BuilderTest, DrawingWithoutCurvesStillReplacesTheHandOver) {
  {
    std::ofstream old(home() / "$DORN_DAT.@@@", std::ios::binary);
    old << std::string(96 * 3, 'x');
  }
  const CamBuildResult r = Build();
  ASSERT_TRUE(r.written);
  EXPECT_EQ(Codes(builder_->Elements()), (std::vector<std::int32_t>{0x1200, 0x1100, 0x1100, 0x6900, 0xFF00}));
  EXPECT_EQ(FileBytes(home() / "$DORN_DAT.@@@").size(), 5u * 96u);
}

TEST_F(BuilderTest, FigureValuesNearZeroAreWrittenAsZero) {
  CurveRecord c;
  c.key = 9;
  c.first = 0;
  g_figureTableSelector = kTableCurves;
  ClearCurrentFigure();
  g_curFigure.kind = kKindLine;
  g_curFigure.choice = 1;              // marked
  g_curFigure.start = {5e-12, 9e-11};  // below 1e-11 and 1e-10
  g_curFigure.end = {2e-11, 10.0};     // 2e-11 is below 1e-10
  g_curFigure.dir = {3e-11, 1.0};
  ASSERT_TRUE(AppendFigure(0));
  ClearCurrentFigure();
  g_curFigure.kind = kKindArc;
  g_curFigure.start = {2e-11, 0.0};  // kept: not below 1e-11
  g_curFigure.radius = 5e-13;        // below 1e-12
  g_curFigure.centre = {1.0, 2.0};
  ASSERT_TRUE(AppendFigure(0));
  c.end = 2;
  g_curveTable[0] = c;
  g_curveCount = 1;
  ASSERT_TRUE(Build().written);
  const NcElement& line = builder_->Elements()[3];
  EXPECT_EQ(line.code, 0x1200);
  EXPECT_EQ(line.flags, 0x50000);
  EXPECT_EQ(line.d6, 0.0);
  EXPECT_EQ(line.d7, 0.0);
  EXPECT_EQ(line.d4, 0.0);
  EXPECT_EQ(line.d5, 10.0);
  EXPECT_EQ(line.d2, 0.0);
  EXPECT_EQ(std::signbit(line.d6), false);
  const NcElement& arc = builder_->Elements()[4];
  EXPECT_EQ(arc.code, 0x1300);
  EXPECT_EQ(arc.d2, 2e-11);
  EXPECT_EQ(arc.d1, 0.0);
  EXPECT_EQ(arc.d6, 1.0);
  EXPECT_EQ(arc.d7, 2.0);
}

// Start numbers: step index x 256 + number + 300, or the previous end
// number when that is larger.
TEST_F(BuilderTest, DefinitionsAreNumberedFromTheirKeyAndStep) {
  AddPointCurve(501, {{10.0, 10.0}});
  HoleDefinition a;
  MachiningDefinition d = MakeHoleDefinition(a);
  d.stepTools[1] = d.stepTools[0];
  d.stepTools[1].atcNumber = 6;
  d.steps[1] = d.steps[0];
  StoreDefinition(d, "穴加工_10000");
  HoleDefinition b;
  b.number = 11000;
  b.atc = 8;
  AddHoleDefinition(b);
  OrderAllItems();
  ASSERT_TRUE(Build().written);
  const std::vector<NcElement> starts = WithCode(builder_->Elements(), 0xEC54);
  ASSERT_EQ(starts.size(), 3u);
  EXPECT_EQ(starts[0].number, 10300);
  EXPECT_EQ(starts[1].number, 10556);
  EXPECT_EQ(starts[2].number, 11300);
  // The closing process end carries the last definition's end number.
  const std::vector<NcElement> ends = WithCode(builder_->Elements(), 0x7200);
  ASSERT_FALSE(ends.empty());
  EXPECT_EQ(ends.back().number, 11300 + 100 + 100);
}

TEST_F(BuilderTest, APreviousEndNumberAboveTheStartNumberIsTaken) {
  AddLineCurve(601, {{0, 0}, {10, 0}});
  AddLineCurve(602, {{0, 5}, {10, 5}});
  AddLineCurve(603, {{0, 9}, {10, 9}});
  HoleDefinition base;
  MachiningDefinition d = MakeHoleDefinition(base);
  d.kind = 0xA000;
  for (int i = 0; i < 3; ++i) d.curves[i] = CurveListItem{1, 601 + i, 0, 0, 0, 0, 0, {}};
  d.stepTools[1] = d.stepTools[0];
  d.steps[1] = d.steps[0];
  StoreDefinition(d, "輪郭加工_10000");
  OrderAllItems();
  ASSERT_TRUE(Build().written);
  const std::vector<NcElement> starts = WithCode(builder_->Elements(), 0xEC54);
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[0].number, 10300);
  // Three items: +1, +100, +10, +100, +10, +100, then the end gap of 100.
  EXPECT_EQ(starts[1].number, 10300 + 321 + 100);
}

TEST_F(BuilderTest, OnlyLaterProcessesAnnounceTheirToolMapRecord) {
  AddPointCurve(501, {{10.0, 10.0}});
  for (int i = 0; i < 3; ++i) {
    HoleDefinition h;
    h.number = 10000 + 1000 * i;
    h.atc = 3 + i;
    AddHoleDefinition(h);
  }
  OrderAllItems();
  ASSERT_TRUE(Build().written);
  const auto& e = builder_->Elements();
  const std::vector<NcElement> changes = WithCode(e, 0x9A00);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].flags, 2);
  EXPECT_EQ(changes[1].flags, 3);
  EXPECT_EQ(changes[0].d4, 4.0);
  ASSERT_EQ(builder_->ToolMap().size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(builder_->ToolMap()[static_cast<std::size_t>(i)].atcNumber, 3 + i);
  // The first process has its tool data and process start but no change.
  std::size_t firstStart = 0;
  while (e[firstStart].code != 0x6110) ++firstStart;
  for (std::size_t i = 0; i < firstStart; ++i) EXPECT_NE(e[i].code, 0x9A00) << i;
}

TEST_F(BuilderTest, ProgramNumberFormsFollowTheDrawingsSetting) {
  struct Case {
    int form;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {0, {" O1000 (' PART-A)"}},
      {1, {" (' PART-A)", " O1000"}},
      {2, {" O1000", " (' PART-A)"}},
  };
  AddPointCurve(501, {{10.0, 10.0}});
  AddHoleDefinition(HoleDefinition{});
  for (const Case& c : cases) {
    g_drawingHeader.programNumber = 1000;
    g_drawingHeader.programNumberForm = c.form;
    platform::SetFieldText(g_drawingHeader.programComment, "PART-A");
    OrderAllItems();
    ASSERT_TRUE(Build().written);
    ASSERT_EQ(builder_->CodeLineCount(), static_cast<int>(c.lines.size())) << c.form;
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
      EXPECT_EQ(builder_->CodeLines()[i].Text(), c.lines[i]) << c.form;
    }
    const std::vector<NcElement> text = WithCode(builder_->Elements(), 0x9900);
    ASSERT_EQ(text.size(), c.lines.size());
    for (std::size_t i = 0; i < text.size(); ++i) EXPECT_EQ(text[i].flags, static_cast<int>(i));
  }
  // The file holds 80 bytes per used line.
  EXPECT_EQ(FileBytes(home() / "$DORN_CDE.@@@").size(), 2u * 80u);
}

TEST_F(BuilderTest, ALongCommentIsShortenedSoTheLineKeepsItsClosingBracket) {
  AddPointCurve(501, {{10.0, 10.0}});
  AddHoleDefinition(HoleDefinition{});
  g_drawingHeader.programNumber = 1000;
  // 39 double-byte characters: 78 bytes of comment.
  std::string comment;
  for (int i = 0; i < 39; ++i) comment += platform::Sjis("部");
  platform::SetFieldText(g_drawingHeader.programComment, comment);
  OrderAllItems();
  ASSERT_TRUE(Build().written);
  const std::string line = builder_->CodeLines()[0].Text();
  EXPECT_LE(line.size(), 79u);
  EXPECT_EQ(line.back(), ')');
  EXPECT_EQ(line.rfind(" O1000 (' ", 0), 0u);
  // Cut on a character boundary: the comment is whole characters.
  EXPECT_EQ((line.size() - std::string(" O1000 (' ").size() - 1) % 2, 0u);
  const std::vector<std::uint8_t> file = FileBytes(home() / "$DORN_CDE.@@@");
  ASSERT_EQ(file.size(), 80u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data())), line);
}

TEST_F(BuilderTest, CodeLinesBeyondTheTableStopTheBuild) {
  AddPointCurve(501, {{10.0, 10.0}});
  g_drawingHeader.programNumber = 1000;
  g_drawingHeader.programNumberForm = 1;  // two lines per process
  platform::SetFieldText(g_drawingHeader.programComment, "C");
  g_postTable[1].renumberPrograms = 1;  // every process its own program number
  for (int i = 0; i < 193; ++i) {
    HoleDefinition h;
    h.number = 10000 + 1000 * i;
    h.atc = 1 + i;
    AddHoleDefinition(h);
  }
  OrderAllItems();
  {
    std::ofstream old(home() / "$DORN_DAT.@@@", std::ios::binary);
    old << "OLD";
  }
  const CamBuildResult r = Build();
  EXPECT_FALSE(r.written);
  EXPECT_NE(platform::Cp932ToUtf8(r.failure).find("384"), std::string::npos);
  // Nothing of the failed build replaced the old hand-over.
  EXPECT_EQ(FileBytes(home() / "$DORN_DAT.@@@").size(), 3u);
  for (const auto& e : fs::directory_iterator(home())) {
    EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
  }
}

// The companion reads the four files as one job, so a build that cannot
// replace one of them must replace none: neither a full disk nor a last file
// that cannot be put in place after the others were written may leave new
// files beside old ones, and nothing of the attempt stays in the folder.
TEST_F(BuilderTest, AFileThatCannotBeWrittenLeavesTheOldHandOverWhole) {
  const char* const kFiles[4] = {"$DORN_DAT.@@@", "$P_MAP.@@@", "$DORN_CDE.@@@", "$oikomi_map.@@@"};
  struct Case {
    const char* name;
    const char* blocked;  // a folder stands where this file goes, or nullptr
    bool diskFull;        // files may not grow past a limit, as on a full disk (for root too)
  };
  const Case cases[] = {
      {"the pit-in map, written last, cannot replace its old file", "$oikomi_map.@@@", false},
      {"the disk is full before the new element stream is whole", nullptr, true},
  };
  bool first = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!first) {  // each case in a fresh program folder
      TearDown();
      SetUp();
    }
    first = false;
    AddPointCurve(501, {{10.0, 10.0}});
    HoleDefinition one;
    one.atc = 3;
    AddHoleDefinition(one);
    g_drawingHeader.programNumber = 1000;
    platform::SetFieldText(g_drawingHeader.programComment, "OLD");
    OrderAllItems();
    ASSERT_TRUE(Build().written);
    if (c.blocked) {
      fs::remove(home() / c.blocked);
      fs::create_directories(home() / c.blocked / "inside");
    }
    std::vector<std::vector<std::uint8_t>> before;
    for (const char* f : kFiles) before.push_back(FileBytes(home() / f));
    ASSERT_FALSE(before[1].empty());  // the tool map and code line have old records
    ASSERT_FALSE(before[2].empty());
    // Every file would change: another hole, tool, program number and comment.
    HoleDefinition second;
    second.number = 11000;
    second.atc = 7;
    AddHoleDefinition(second);
    g_drawingHeader.programNumber = 2000;
    platform::SetFieldText(g_drawingHeader.programComment, "NEW");
    OrderAllItems();
    CamBuildResult r;
    if (c.diskFull) {
      const std::size_t limit = before[0].size();  // the new stream is longer than the old one
      rlimit saved{};
      ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
      const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
      rlimit small = saved;
      small.rlim_cur = limit;
      ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
      r = Build();
      setrlimit(RLIMIT_FSIZE, &saved);
      std::signal(SIGXFSZ, oldHandler);
    } else {
      r = Build();
    }
    EXPECT_FALSE(r.written);
    EXPECT_NE(r.failure.find("no file was replaced"), std::string::npos) << r.failure;
    for (std::size_t i = 0; i < 4; ++i) {
      if (c.blocked && std::string(kFiles[i]) == c.blocked) {
        EXPECT_TRUE(fs::is_directory(home() / kFiles[i] / "inside"));
      } else {
        EXPECT_EQ(FileBytes(home() / kFiles[i]), before[i]) << kFiles[i];
      }
    }
    for (const auto& e : fs::directory_iterator(home())) {
      const std::string name = e.path().filename().string();
      EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
      EXPECT_EQ(name.find(".old"), std::string::npos) << name;
    }
  }
}

TEST_F(BuilderTest, ADefinitionWithAValueThatIsNotANumberIsLeftOutAndNamed) {
  AddPointCurve(501, {{10.0, 10.0}});
  HoleDefinition bad;
  bad.zOrigin = std::numeric_limits<double>::quiet_NaN();
  bad.name = "BAD_HOLE";
  AddHoleDefinition(bad);
  HoleDefinition good;
  good.number = 11000;
  good.atc = 9;
  AddHoleDefinition(good);
  OrderAllItems();
  const CamBuildResult r = Build();
  ASSERT_TRUE(r.written);
  ASSERT_EQ(r.skipped.size(), 1u);
  EXPECT_NE(r.skipped[0].find("BAD_HOLE"), std::string::npos);
  const std::vector<NcElement> starts = WithCode(builder_->Elements(), 0xEC54);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].number, 11300);
  ASSERT_EQ(builder_->ToolMap().size(), 1u);
  EXPECT_EQ(builder_->ToolMap()[0].atcNumber, 9);
  EXPECT_TRUE(WithCode(builder_->Elements(), 0x9A00).empty());  // it is the first process now
}

TEST_F(BuilderTest, AHoleFigureWhoseCurveIsGoneIsSkippedWithItsReason) {
  HoleDefinition h;
  h.curveKey = 777;
  AddHoleDefinition(h);
  OrderAllItems();
  const CamBuildResult r = Build();
  ASSERT_TRUE(r.written);
  ASSERT_EQ(r.skipped.size(), 1u);
  EXPECT_NE(platform::Cp932ToUtf8(r.skipped[0]).find("777"), std::string::npos);
  EXPECT_TRUE(WithCode(builder_->Elements(), 0x6800).empty());
}

TEST_F(BuilderTest, HelicalAndDeepHoleErrorsSkipTheDefinition) {
  struct Case {
    std::int32_t kind;
    float pCode, peck;
    double helixDiameter;
    int error;
  };
  const Case cases[] = {{0xB800, 0.0f, 1.0f, 6.0, 118},
                        {0xB800, 1.0f, 1.0f, 0.0, 119},
                        {0xBC00, 0.0f, 1.0f, 0.0, 120},
                        {0xBC00, 1.0f, 0.0f, 0.0, 120}};
  AddPointCurve(501, {{10.0, 10.0}});
  for (const Case& c : cases) {
    g_machiningCount = 0;
    HoleDefinition h;
    h.kind = c.kind;
    MachiningDefinition d = MakeHoleDefinition(h);
    d.stepTools[0].pCode = c.pCode;
    d.stepTools[0].peckDepth = c.peck;
    d.steps[0].chamferSize = c.helixDiameter;
    StoreDefinition(d, "H");
    OrderAllItems();
    const std::size_t boxes = backend().MessageBoxes().size();
    ASSERT_TRUE(Build().written);
    ASSERT_EQ(backend().MessageBoxes().size(), boxes + 1) << c.error;
    EXPECT_NE(ShownTexts().back().find(c.error == 118   ? "傾斜角度"
                                       : c.error == 119 ? "穴φ"
                                                        : "切り込み量"),
              std::string::npos);
    EXPECT_TRUE(WithCode(builder_->Elements(), 0x6B00).empty());
    EXPECT_TRUE(WithCode(builder_->Elements(), 0x6C00).empty());
    EXPECT_EQ(WithCode(builder_->Elements(), 0xEC54).size(), 1u);
  }
}

TEST_F(BuilderTest, UnknownOrderIdsAreSkipped) {
  AddPointCurve(501, {{10.0, 10.0}});
  AddHoleDefinition(HoleDefinition{});
  OrderAllItems();
  g_machiningOrderList[0] = 4242;
  g_machiningOrderList[1] = 0;
  ASSERT_TRUE(Build().written);
  EXPECT_EQ(Codes(builder_->Elements()), (std::vector<std::int32_t>{0x1200, 0x1100, 0x1100, 0x1100, 0x6900, 0xFF00}));
}

TEST_F(BuilderTest, AWireDefinitionThatEndsTheOrderWritesNoProcessEnd) {
  AddLineCurve(601, {{0, 0}, {10, 0}, {10, 10}});
  HoleDefinition h;
  MachiningDefinition d = MakeHoleDefinition(h);
  d.kind = 0xC100;
  d.curves[0].key = 601;
  d.stepTools[1] = d.stepTools[0];
  d.stepTools[2] = d.stepTools[0];
  StoreDefinition(d, "２軸ワイヤー_10000");
  OrderAllItems();
  ASSERT_EQ(OrderItemCount(), 1);  // a wire gives one item
  ASSERT_TRUE(Build().written);
  const auto& e = builder_->Elements();
  ASSERT_GE(e.size(), 3u);
  EXPECT_EQ(e[e.size() - 2].code, 0x6900);
  EXPECT_NE(e[e.size() - 3].code, 0x7200);
  EXPECT_EQ(WithCode(e, 0x6110).size(), 1u);  // its first step only
}

TEST_F(BuilderTest, AHoleCycleCarriesTheDefinitionsValues) {
  AddPointCurve(501, {{10.0, 10.0}});
  HoleDefinition h;
  h.cycle = 83;
  h.peck = 2.0f;
  h.dwell = 0.3f;
  h.repeat = 2;
  h.feed = 150.0f;
  h.outputT = 12;
  AddHoleDefinition(h);
  g_drawingHeader.holeSubprogram = 1;
  OrderAllItems();
  ASSERT_TRUE(Build().written);
  const std::vector<NcElement> cycles = WithCode(builder_->Elements(), 0x6800);
  ASSERT_EQ(cycles.size(), 1u);
  const NcElement& c = cycles[0];
  EXPECT_EQ(c.flags, 0x120 | 0x1 | 0x2 | 0x9000);
  EXPECT_EQ(c.d0, 2.0);
  EXPECT_EQ(c.d1, h.rPoint);
  EXPECT_DOUBLE_EQ(c.d2, 2.0);
  EXPECT_FLOAT_EQ(static_cast<float>(c.d3), 0.3f);
  EXPECT_DOUBLE_EQ(c.d4, 501.000501);
  EXPECT_EQ(c.d5, h.bottom);
  EXPECT_EQ(c.d6, 83.0);
  EXPECT_EQ(c.d7, 150.0);
  EXPECT_EQ(c.int1, 5);
  EXPECT_EQ(c.int2, 12);
  // The hole subprogram mark follows each cycle; the last names 99.
  const std::vector<NcElement> marks = WithCode(builder_->Elements(), 0xCC00);
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(marks[0].int3, 99);
  EXPECT_EQ(marks[0].flags, 1);
}

TEST_F(BuilderTest, ContourFinishItemsGetTheirPassesInThePitInSection) {
  AddLineCurve(601, {{0, 0}, {10, 0}, {10, 10}});
  HoleDefinition h;
  MachiningDefinition d = MakeHoleDefinition(h);
  d.kind = 0xA000;
  d.curves[0].key = 601;
  d.steps[0].contourStock = 0.5;
  StoreDefinition(d, "P.輪郭仕上げ_1");
  finishPass_.flags = FinishPassSettings::ContourBit(0) | FinishPassSettings::ContourBit(2);
  finishPass_.contour[0] = 0.2;
  finishPass_.contour[2] = 0.1;
  finishPass_.extZ = 3.5;
  g_drawingHeader.programNumber = 100;
  OrderAllItems();
  const CamBuildResult r = Build(1);
  ASSERT_TRUE(r.written) << r.failure;
  const auto& e = builder_->Elements();
  const std::vector<NcElement> heads = WithCode(e, 0xD000);
  ASSERT_EQ(heads.size(), 1u);
  EXPECT_EQ(heads[0].d5, 3.5);
  ASSERT_EQ(WithCode(e, 0xD100).size(), 1u);
  EXPECT_EQ(WithCode(e, 0xD100)[0].number, 990001);
  EXPECT_EQ(WithCode(e, 0x6900)[0].flags, 128);
  EXPECT_EQ(WithCode(e, 0xD200).size(), 2u);
  EXPECT_EQ(WithCode(e, 0xD400).size(), 2u);
  // The passes take their depth off the contour stock.
  const std::vector<NcElement> contours = WithCode(e, 0x7100);
  ASSERT_EQ(contours.size(), 3u);
  EXPECT_NEAR(contours[1].d1 - contours[0].d1, -0.2, 1e-12);
  EXPECT_NEAR(contours[2].d1 - contours[0].d1, -0.1, 1e-12);
  // The map: one item, its passes' program numbers and depths.
  ASSERT_EQ(builder_->PitInMap().size(), 1u);
  const handover::PitInMapRecord& m = builder_->PitInMap()[0];
  EXPECT_EQ(m.kind, 2);
  EXPECT_EQ(m.toolMapNumber, 1);
  EXPECT_EQ(m.sectionNumbers[0], 1 + 100 + 1000);
  EXPECT_EQ(m.sectionNumbers[2], 1 + 100 + 3000);
  EXPECT_EQ(m.depths[0], 0.2);
  EXPECT_EQ(m.depths[2], 0.1);
  EXPECT_EQ(FileBytes(home() / "$oikomi_map.@@@").size(), 56u);
  // The stream ends as always.
  EXPECT_EQ(e.back().code, 0xFF00);
  // Classification off (the check dialog, the Execute menu): no section.
  ASSERT_TRUE(Build(0).written);
  EXPECT_TRUE(WithCode(builder_->Elements(), 0xD100).empty());
}

TEST_F(BuilderTest, OrderItemsBeyondTheTableAreLeftOutAndNamed) {
  AddPointCurve(501, {{10.0, 10.0}});
  HoleDefinition h;
  MachiningDefinition d = MakeHoleDefinition(h);
  for (int s = 1; s < 8; ++s) d.stepTools[s] = d.stepTools[0];
  for (int i = 0; i < 130; ++i) {  // 1040 steps
    d.number = 10000 + 1000 * i;
    StoreDefinition(d, i == 127 ? "LAST_ONE" : "MANY");
  }
  const OrderBuildResult built = BuildOrderItems(*slots_, *atc_);
  EXPECT_EQ(built.items, kMaxOrderItems);
  EXPECT_EQ(built.leftOut, 1040 - kMaxOrderItems);
  EXPECT_EQ(built.leftOutName, "LAST_ONE");
  EXPECT_EQ(g_orderItems[kMaxOrderItems].number, kOrderItemEnd);
  EXPECT_EQ(OrderItemCount(), kMaxOrderItems);
}

}  // namespace
}  // namespace dorn::test
