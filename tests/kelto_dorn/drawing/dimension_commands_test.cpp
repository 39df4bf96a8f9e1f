// The dimension commands driven as a user drives them: the menu id, picks at
// intersections or on figures, the placing click; then what the figure table
// and the text list hold, worked out by hand.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/drawing/dimension_layout.h"
#include "kelto_dorn/drawing/dimensions.h"
#include "kelto_dorn/document/system_state.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/kelto_dorn/drawing/figure_script.h"

namespace dorn::test {
namespace {

constexpr int kEmpty = 0;  // a click on empty space confirms a figure pick

double Pixel() { return 1.0 / g_view.m_unitsPerMm; }

class DimensionCommandTest : public FigureScriptTest {
 protected:
  void SetUp() override {
    FigureScriptTest::SetUp();
    textsBefore = TextRecordsInUse();
  }
  // A point as the intersection of the figures under two clicks.
  void PickIntersection(Vec2 onFirst, Vec2 onSecond) {
    ClickAt(onFirst.x, onFirst.y);
    ClickAt(onSecond.x, onSecond.y);
  }
  void PickFigure(Vec2 on) {
    ClickAt(on.x, on.y);
    ClickAt(-150, -120 + kEmpty);
  }
  std::vector<TextRecord> NewTexts() const {
    std::vector<TextRecord> texts;
    for (int i = textsBefore; i < TextRecordsInUse(); ++i) texts.push_back(g_textRecords[static_cast<std::size_t>(i)]);
    return texts;
  }
  int textsBefore = 0;
};

// The fixture: lines (0,0)-(100,0) and (100,0)-(100,60), a circle of 10 about (50,30).
TEST_F(DimensionCommandTest, AHorizontalDimensionPickedRightToLeft) {
  AddLine({0, -10}, {0, 50});
  Start(dim::kHorizontal);
  EXPECT_EQ(g_pickState, kPickStateDimensionPoint);
  EXPECT_TRUE(Pressed(dim::kHorizontal));
  PickIntersection({50, 0}, {100, 30});  // (100, 0) first
  PickIntersection({0, 25}, {25, 0});    // then (0, 0)
  ASSERT_EQ(g_pickState, kPickStateDimensionPlacing);
  // The first four moves only count; the fifth draws the preview there.
  for (int i = 0; i < 4; ++i) MoveTo(30 + i, -20);
  EXPECT_FALSE(g_dimensionCommand.previewDrawn);
  MoveTo(30, -20);
  EXPECT_TRUE(g_dimensionCommand.previewDrawn);
  EXPECT_NEAR(g_dimensionCommand.layouts[0].figures[2].start.y, -20, Pixel());
  ClickAt(30, -20);
  const auto figures = Figures(fixtureFigures + 1);
  ASSERT_EQ(figures.size(), 3u);
  const double cy = figures[2].start.y;
  EXPECT_NEAR(cy, -20, Pixel());
  EXPECT_EQ(figures[2].kind, kDimArrowLine);
  EXPECT_NEAR(figures[2].start.x, 0, 1e-9);  // the smaller X starts
  EXPECT_NEAR(figures[2].end.x, 100, 1e-9);
  EXPECT_EQ(figures[0].kind, kDimExtensionLine);
  EXPECT_NEAR(figures[0].start.y, -0.5, 1e-9);
  EXPECT_NEAR(figures[0].end.y, cy - 2, 1e-9);
  EXPECT_EQ(figures[0].attribute & 0xFF, 21);
  const auto texts = NewTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_STREQ(texts[0].text, "100");
  EXPECT_NEAR(texts[0].baseX, 50 - 9.375 / 2, 1e-4);
  EXPECT_NEAR(texts[0].baseY, cy + 0.3, 1e-4);
  EXPECT_EQ(texts[0].colour, 7);
  EXPECT_FLOAT_EQ(texts[0].size, 5.0f);
  EXPECT_FALSE(Pressed(dim::kHorizontal));
  EXPECT_EQ(g_dropBarePoint, 0);
}

TEST_F(DimensionCommandTest, AlignedTextsNeverReadUpsideDown) {
  AddLine({60, 50}, {0, -10});  // drawn at 225 degrees
  g_dimensionStyle.dimPickMode = 1;
  Start(dim::kAligned);
  EXPECT_EQ(g_pickState, kPickStateDimensionFigure);
  PickFigure({30, 20});
  MoveTo(20, 40);
  ClickAt(20, 40);
  const auto texts = NewTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NEAR(texts[0].angle, 45, 1e-4);
  EXPECT_EQ(std::string(texts[0].text), "84.8528");
}

TEST_F(DimensionCommandTest, DiameterRadiusAndTheTinyTextSize) {
  g_dimensionStyle.textSize = 0.3;  // " 微小" in the style dialog
  Start(dim::kDiameter);
  PickFigure({60, 30});
  ClickAt(80, 30);
  auto texts = NewTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(std::string(texts[0].text), platform::Sjis("φ") + "20");
  EXPECT_FLOAT_EQ(texts[0].size, 0.3f);
  const auto figures = Figures(fixtureFigures);
  ASSERT_EQ(figures.size(), 1u);
  EXPECT_EQ(figures[0].kind, kDimArrowLine);
  EXPECT_NEAR(std::hypot(figures[0].end.x - figures[0].start.x, figures[0].end.y - figures[0].start.y), 20, 1e-9);

  // A line is no circle: the radius command asks again.
  Start(dim::kRadius);
  PickFigure({50, 0});
  EXPECT_EQ(g_pickState, kPickStateDimensionFigure);
  PickFigure({60, 30});
  ClickAt(80, 30);
  texts = NewTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(std::string(texts[1].text), "R10");
  // Undo takes the radius dimension back, figure and text.
  ASSERT_TRUE(frame().Invoke(33076));
  EXPECT_EQ(NewTexts().size(), 1u);
  EXPECT_EQ(Figures(fixtureFigures).size(), 1u);
}

TEST_F(DimensionCommandTest, AnXDimensionOnALineStoresTwoTexts) {
  g_dimensionStyle.dimPickMode = 1;
  Start(dim::kOrdinateX);
  PickFigure({50, 0});
  ClickAt(20, 30);
  const auto texts = NewTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_STREQ(texts[0].text, "X0");
  EXPECT_STREQ(texts[1].text, "X100");
  EXPECT_NEAR(texts[0].baseX, 0.2, 1e-4);
  EXPECT_NEAR(texts[1].baseX, 100.2, 1e-4);
  EXPECT_FLOAT_EQ(texts[0].angle, -90.0f);
  const auto figures = Figures(fixtureFigures);
  ASSERT_EQ(figures.size(), 2u);
  EXPECT_NEAR(figures[1].start.x, 100, 1e-9);
  EXPECT_NEAR(figures[1].start.y, 0.5, 1e-9);
}

TEST_F(DimensionCommandTest, AFullTextListRefusesTheTextOnceAndKeepsTheFigures) {
  // Room for one more text: the X dimension's second text does not fit.
  for (int i = textsBefore; i < kTextRecordCapacity - 1; ++i) {
    g_textRecords[static_cast<std::size_t>(i)] = TextRecord{};
    g_textRecords[static_cast<std::size_t>(i)].layer = 5;
  }
  g_dimensionStyle.dimPickMode = 1;
  Start(dim::kOrdinateX);
  PickFigure({50, 0});
  ClickAt(20, 30);
  EXPECT_EQ(TextRecordsInUse(), kTextRecordCapacity);
  EXPECT_STREQ(g_textRecords[kTextRecordCapacity - 1].text, "X0");
  EXPECT_EQ(g_textRecords[kTextRecordCount - 1].layer, kTextRecordFree);  // the end record's place
  EXPECT_EQ(Figures(fixtureFigures).size(), 2u);
  int boxes = 0;
  for (const std::string& t : ShownTexts()) boxes += t.find("図形・データ数がオーバーします") != std::string::npos;
  EXPECT_EQ(boxes, 1);
}

TEST_F(DimensionCommandTest, CopyModePicksSeveralItemsInOneCommand) {
  AddLine({0, -10}, {0, 50});
  g_copyMode = 1;
  Start(dim::kOrdinateY);
  PickIntersection({50, 0}, {100, 30});
  PickIntersection({0, 25}, {25, 0});
  EXPECT_EQ(g_dimensionCommand.itemCount, 2);
  EXPECT_EQ(g_pickState, kPickStateDimensionPoint);
  ASSERT_TRUE(frame().Invoke(33225));  // the end-of-input command ends the picking
  ASSERT_EQ(g_pickState, kPickStateDimensionPlacing);
  ClickAt(-30, 20);
  EXPECT_EQ(NewTexts().size(), 2u);
}

TEST_F(DimensionCommandTest, AStoredDimensionSurvivesSaveAndLoad) {
  g_dimensionStyle.dimPickMode = 1;
  Start(dim::kDiameter);
  PickFigure({60, 30});
  ClickAt(80, 30);
  const auto figures = Figures(fixtureFigures);
  const auto texts = NewTexts();
  ASSERT_EQ(figures.size(), 1u);
  ASSERT_TRUE(SaveDrawing(*g_pDocument));
  ClearFigureTable(0);
  g_textRecords.fill(TextRecord{-1});
  LoadDrawing(*g_pDocument);
  const auto loaded = Figures(fixtureFigures);
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_EQ(loaded[0].kind, kDimArrowLine);
  EXPECT_EQ(loaded[0].start, figures[0].start);
  ASSERT_EQ(NewTexts().size(), 1u);
  EXPECT_STREQ(NewTexts()[0].text, texts[0].text);
}

TEST_F(DimensionCommandTest, FreeTextIsTypedThenPlaced) {
  backend().WhenDialogOpens(261, [](platform::headless::DialogDriver& d) {
    d.Type(2612, "ABC");
    d.Click(2613);
  });
  Start(dim::kFreeText);
  ASSERT_EQ(g_pickState, kPickStateDimensionPlacing);
  ClickAt(-40, -30);
  const auto texts = NewTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_STREQ(texts[0].text, "ABC");
  EXPECT_NEAR(texts[0].baseX, -40, Pixel());
  EXPECT_EQ(Figures(fixtureFigures).size(), 0u);
}

TEST_F(DimensionCommandTest, ALeaderTakesItsTextWhenStored) {
  backend().WhenDialogOpens(261, [](platform::headless::DialogDriver& d) {
    d.Type(2612, "ABC");
    d.Click(2613);
  });
  Start(dim::kLeader);
  PickIntersection({50, 0}, {100, 30});  // the point (100, 0)
  ASSERT_EQ(g_pickState, kPickStateDimensionPlacing);
  ClickAt(130, 20);
  const auto figures = Figures(fixtureFigures);
  ASSERT_EQ(figures.size(), 2u);
  EXPECT_EQ(figures[0].kind, kDimLeaderLine);
  EXPECT_NEAR(figures[0].start.x, 100, 1e-9);
  const double cy = figures[1].start.y;
  EXPECT_NEAR(cy, 20, Pixel());
  // The shelf runs right for 5 x 0.65 x 3 + 3.
  EXPECT_NEAR(figures[1].end.x - figures[1].start.x, 12.75, 1e-9);
  const auto texts = NewTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_STREQ(texts[0].text, "ABC");
  EXPECT_NEAR(texts[0].baseX, figures[1].start.x + 1.4, 1e-4);
}

TEST_F(DimensionCommandTest, AValueTextIsEditedIntoAGroupOfParts) {
  backend().WhenDialogOpens(261, [](platform::headless::DialogDriver& d) {
    d.Type(2612, "25");
    d.Click(2613);
  });
  Start(dim::kFreeText);
  ClickAt(-40, -30);
  ASSERT_EQ(NewTexts().size(), 1u);
  const TextRecord main = NewTexts()[0];
  backend().WhenDialogOpens(365, [](platform::headless::DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetText(1008), "25");
    d.Type(1029, "+0.1");
    d.Type(1031, "H7");
    d.PressEnter();  // moves on, does not close
    d.Click(1606);
  });
  Start(dim::kEditText);
  EXPECT_EQ(g_pickState, dim::kEditText);
  MoveTo(main.baseX, main.baseY);
  EXPECT_EQ(g_dimensionCommand.editList[0], textsBefore);
  ClickAt(main.baseX, main.baseY);
  const auto texts = NewTexts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_STREQ(texts[1].text, "+0.1");
  EXPECT_STREQ(texts[2].text, "H7");
  EXPECT_NE(texts[0].group, 0);
  EXPECT_EQ(texts[1].group, texts[0].group);
  EXPECT_EQ(texts[2].group, texts[0].group);
  // The raised part follows the value (2 characters) and is lifted; the
  // suffix follows the longer part (4 characters) at half pitch.
  EXPECT_NEAR(texts[1].baseX, main.baseX + 6.25, 1e-4);
  EXPECT_NEAR(texts[1].baseY, main.baseY + 3.125, 1e-4);
  EXPECT_NEAR(texts[2].baseX, main.baseX + 6.25 + 6.25, 1e-4);
  EXPECT_NEAR(texts[2].baseY, main.baseY, 1e-4);
}

TEST_F(DimensionCommandTest, EscapeLeavesNothingBehind) {
  Start(dim::kHorizontal);
  PickIntersection({50, 0}, {100, 30});
  Escape();
  EXPECT_FALSE(Pressed(dim::kHorizontal));
  EXPECT_EQ(Figures(fixtureFigures).size(), 0u);
  EXPECT_TRUE(NewTexts().empty());
  // Numbers elsewhere keep their ".0" after a cancelled dimension.
  EXPECT_EQ(DimensionNumber(0, 3), "3");
  FormatNumber4(3);
  EXPECT_STREQ(g_textBuffer, "3.0");
}

TEST_F(DimensionCommandTest, TheExtensionModeAddsPartsAndKeepsTheGroupCentred) {
  AddLine({0, -10}, {0, 50});
  g_view.m_dimensionExtension = 1;
  backend().WhenDialogOpens(365, [](platform::headless::DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetText(1008), "100");
    d.Type(1031, "H7");
    d.Click(1606);
  });
  Start(dim::kHorizontal);
  PickIntersection({50, 0}, {100, 30});
  PickIntersection({0, 25}, {25, 0});
  ClickAt(30, -20);
  const auto texts = NewTexts();
  ASSERT_EQ(texts.size(), 2u);
  // "100" is 9.375 wide and "H7" adds 6.25: the group moves back by half.
  EXPECT_NEAR(texts[0].baseX, 50 - 9.375 / 2 - 3.125, 1e-4);
  EXPECT_NEAR(texts[1].baseX, 50 - 9.375 / 2 - 3.125 + 9.375, 1e-4);
  EXPECT_STREQ(texts[1].text, "H7");
  EXPECT_EQ(texts[0].group, texts[1].group);
  EXPECT_NE(texts[0].group, 0);
}

// A character file of the stroke font: a stroke (0, 0)-(4, 6) on layer
// "STROKE" (the second of the file's layers) and a dashed advance marker
// ending at X 5.
constexpr char kStrokeFontA[] =
    "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n"
    "0\nLAYER\n2\n0\n62\n7\n0\nLAYER\n2\nSTROKE\n62\n7\n0\nENDTAB\n0\nENDSEC\n"
    "0\nSECTION\n2\nENTITIES\n"
    "0\nLINE\n8\nSTROKE\n10\n0.0\n20\n0.0\n11\n4.0\n21\n6.0\n"
    "0\nLINE\n8\nSTROKE\n6\nDASHED\n10\n0.0\n20\n0.0\n11\n5.0\n21\n0.0\n"
    "0\nENDSEC\n0\nEOF\n";

// Text as strokes with the program's own DXF reader, as installed: each
// character's strokes at the pen position, the markers only advancing it,
// also with "レイヤー別表示" on (the font file's layers never choose the
// drawing layer).
TEST_F(DimensionCommandTest, TextAsStrokesThroughTheCommand) {
  const std::filesystem::path fonts = (g_dataFolder.empty() ? platform::DataRoot() : g_dataFolder) / "FONTS";
  std::filesystem::create_directories(fonts);
  std::ofstream(fonts / "A.dxf") << kStrokeFontA;
  ASSERT_TRUE(g_commandEngines.readDxfFile) << "the reader is installed with the program";
  g_cadByLayer = 1;
  const int otherLayer = GetFigureCount(1);
  backend().WhenDialogOpens(261, [](platform::headless::DialogDriver& d) {
    d.Type(2612, "AA");
    d.Click(2613);
  });
  Start(dim::kStrokeText);
  ASSERT_EQ(g_pickState, kPickStateDimensionPlacing);
  ClickAt(-40, -30);
  const auto strokes = Figures(fixtureFigures);
  ASSERT_EQ(strokes.size(), 2u);  // the markers are not stored
  EXPECT_NEAR(strokes[0].start.x + strokes[0].origin.x, -40, Pixel());
  EXPECT_NEAR(strokes[0].end.y - strokes[0].start.y, 6, 1e-6);
  EXPECT_NEAR(strokes[1].start.x - strokes[0].start.x, 5, 1e-6) << "the second A starts one advance on";
  EXPECT_EQ(GetFigureCount(1), otherLayer) << "no stroke went to another layer";
  EXPECT_EQ(g_cadByLayer, 1) << "the option is the user's again afterwards";
  EXPECT_TRUE(NewTexts().empty());
  EXPECT_TRUE(ShownTexts().empty());
  EXPECT_FALSE(Pressed(dim::kStrokeText));
  EXPECT_EQ(g_pickState, 0);
}

TEST_F(DimensionCommandTest, AnAngleBetweenTwoPickedLines) {
  g_dimensionStyle.dimPickMode = 1;
  Start(dim::kAngle);
  PickFigure({50, 0});   // (0,0)-(100,0)
  EXPECT_EQ(g_pickState, kPickStateDimensionFigure);
  PickFigure({100, 30});  // (100,0)-(100,60): they meet at (100, 0)
  ASSERT_EQ(g_pickState, kPickStateDimensionPlacing);
  ClickAt(80, 20);  // inside the corner between the two lines
  const auto figures = Figures(fixtureFigures);
  ASSERT_EQ(figures.size(), 1u);  // the lines are not stored again
  EXPECT_EQ(figures[0].kind, kDimAngleArc);
  EXPECT_NEAR(figures[0].centre.x, 100, 1e-9);
  EXPECT_NEAR(figures[0].radius, std::hypot(20.0, 20.0) - 2, Pixel() * 2);
  ASSERT_EQ(NewTexts().size(), 1u);
  EXPECT_EQ(std::string(NewTexts()[0].text), "90" + platform::Sjis("°"));
}

}  // namespace
}  // namespace dorn::test
