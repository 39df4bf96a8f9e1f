// The dimension style and value dialogs, the stroke text and the RIB line
// dialog, clicked and typed through the headless backend.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/dimension_painter.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/drawing/dimension_layout.h"
#include "kelto_dorn/drawing/dimension_style_dialog.h"
#include "kelto_dorn/drawing/dimensions.h"
#include "kelto_dorn/drawing/rib_line_dialog.h"
#include "kelto_dorn/drawing/text_strokes.h"
#include "kelto_dorn/app/view_state.h"
#include "platform/paths.h"
#include "platform/recording_context.h"
#include "platform/text.h"
#include "tests/kelto_dorn/drawing/figure_script.h"

namespace dorn::test {
namespace {

namespace sd = style_dialog;

class DimensionDialogTest : public FigureScriptTest {};

TEST_F(DimensionDialogTest, StyleFieldsAreLimitedAndTheWingsFollow) {
  backend().WhenDialogOpens(kDimensionStyleDialogId, [](platform::headless::DialogDriver& d) {
    d.PressEnter();  // no field focused: nothing happens
    d.Focus(sd::kArrowAngle);
    d.Type(sd::kArrowAngle, "-60");
    d.PressEnter();
    d.Focus(sd::kArrowLength);
    d.Type(sd::kArrowLength, "100");
    d.PressEnter();
    d.Select(sd::kTextSize, 0);
    d.Select(sd::kPrecision, 1);
    d.Click(sd::kFilledTip);
    d.PressEscape();
  });
  Start(dim::kStyle);
  EXPECT_DOUBLE_EQ(g_dimensionStyle.arrowAngle, 45.0);
  EXPECT_DOUBLE_EQ(g_dimensionStyle.arrowLength, 30.0);
  EXPECT_DOUBLE_EQ(g_dimensionStyle.textSize, 0.3);
  EXPECT_EQ(g_dimensionStyle.dimPrecision, 2);
  EXPECT_EQ(g_dimensionStyle.arrowFilled, 1);
  EXPECT_NEAR(ArrowWingVectors()[0].x, 30 * std::sqrt(0.5), 1e-9);
  EXPECT_FLOAT_EQ(g_curTextRecord.size, 0.3f);

  // Back to 15 degrees and 4: the painted heads take the new wings.
  backend().WhenDialogOpens(kDimensionStyleDialogId, [](platform::headless::DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetItemText(sd::kTextSize, d.dialog().GetCurSel(sd::kTextSize)), platform::Sjis(" 微小"));
    d.Focus(sd::kArrowAngle);
    d.Type(sd::kArrowAngle, "15");
    d.Focus(sd::kArrowLength);
    d.Type(sd::kArrowLength, "4");
    d.Click(sd::kRegister);  // closes as Escape does, committing the field
  });
  Start(dim::kStyle);
  EXPECT_NEAR(ArrowWingVectors()[0].x, 3.8637, 1e-4);
  EXPECT_NEAR(ArrowWingVectors()[0].y, 1.0353, 1e-4);
  EXPECT_NEAR(ArrowWingVectors()[1].y, -1.0353, 1e-4);
  EXPECT_NEAR(ArrowWingVectors()[2].x, -3.8637, 1e-4);
}

TEST_F(DimensionDialogTest, DefaultsRestoreTheStyleAndShowTenThousandths) {
  g_dimensionStyle.dimPrecision = 2;
  g_dimensionStyle.textColor = 3;
  backend().WhenDialogOpens(kDimensionStyleDialogId, [](platform::headless::DialogDriver& d) {
    d.Click(sd::kDefaults);
    EXPECT_EQ(d.dialog().GetItemText(sd::kPrecision, d.dialog().GetCurSel(sd::kPrecision)), " 1/10000");
    EXPECT_EQ(d.dialog().GetText(sd::kArrowAngle), "15.0");
    d.PressEscape();
  });
  Start(dim::kStyle);
  EXPECT_EQ(g_dimensionStyle.dimPrecision, 0);
  EXPECT_EQ(g_dimensionStyle.textColor, 7);
  EXPECT_EQ(g_dimTextSlider, 5);
}

TEST_F(DimensionDialogTest, TheSampleDrawsItsArrowFromTheStoredWings) {
  g_dimensionStyle.arrowAngle = 15;
  g_dimensionStyle.arrowLength = 4;
  UpdateDimensionArrowShape();
  g_view.m_unitsPerMm = 1.0;
  CDimensionStyleDlg dialog;
  platform::RecordingContext dc;
  dialog.PaintItem(sd::kSample, dc, {});
  bool arrow = false;
  for (const platform::Primitive& p : dc.Primitives()) {
    if (p.kind == platform::PrimitiveKind::Polyline && p.points.size() == 3) {
      arrow = true;
      EXPECT_EQ(p.points[1], (platform::Point{30, 80}));
      EXPECT_EQ(p.points[0], (platform::Point{34, 79}));  // (3.864, 1.035) rounded, Y down
      EXPECT_EQ(p.points[2], (platform::Point{34, 81}));
    }
  }
  EXPECT_TRUE(arrow);
  EXPECT_EQ(SampleFontHeight(5, 100), 25);
  EXPECT_EQ(SampleFontHeight(0.3, 100), 7);
  EXPECT_EQ(SampleFontHeight(2, 100), 12);  // 10 becomes 12
}

// --- stroke text ----------------------------------------------------------------

class StrokeTextTest : public FigureScriptTest {
 protected:
  void SetUp() override {
    FigureScriptTest::SetUp();
    fonts = g_dataFolder.empty() ? platform::DataRoot() / "FONTS" : g_dataFolder / "FONTS";
    std::filesystem::create_directories(fonts);
    // The scripted DXF reader: a file holds "width" and strokes are one line
    // from (0, 0) to (width, 1); the width also makes an advance marker.
    g_commandEngines.readDxfFile = [this](const std::filesystem::path& file) {
      read.push_back(file.filename().string());
      std::ifstream in(file);
      double width = 0;
      in >> width;
      FigureRecord stroke;
      stroke.kind = kKindLine;
      stroke.end = {width, 1};
      g_curFigure = stroke;
      AppendFigure(0);
      FigureRecord marker = stroke;
      marker.attribute = 0x1000;
      marker.end = {width, 0};
      g_curFigure = marker;
      AppendFigure(0);
      return true;
    };
  }
  void Font(const std::string& name, double width) { std::ofstream(fonts / name) << width; }
  int Convert(const std::string& cp932) {
    SetTextRecordText(g_curTextRecord, cp932);
    g_curTextRecord.baseX = 10;
    g_curTextRecord.baseY = 20;
    g_figureTableSelector = 0;
    g_curLayer = 0;
    platform::RecordingContext dc;
    return TextToStrokes(dc);
  }
  std::filesystem::path fonts;
  std::vector<std::string> read;
};

TEST_F(StrokeTextTest, EachCharacterStartsWhereTheLastEnded) {
  Font("A.dxf", 6);
  Font("_B.dxf", 5);
  EXPECT_EQ(Convert("Ab"), 2);
  EXPECT_EQ(read, (std::vector<std::string>{"A.dxf", "_B.dxf"}));
  const auto strokes = Figures(fixtureFigures);
  ASSERT_EQ(strokes.size(), 2u);  // the markers stay out
  EXPECT_DOUBLE_EQ(strokes[0].start.x, 10);
  EXPECT_DOUBLE_EQ(strokes[1].start.x, 16);
  EXPECT_DOUBLE_EQ(strokes[1].start.y, 20);
  EXPECT_EQ(GetFigureCount(kTableWork), 0);
}

TEST_F(StrokeTextTest, MissingFilesAndDoubleByteCharactersRepeatTheLastWidth) {
  Font("A.dxf", 6);
  // "?" has no file: a missing file at the start advances by 0; the two
  // later ones each by the last width; a Japanese character by twice it.
  EXPECT_EQ(Convert("?A??" + platform::Sjis("あ") + "A"), 2);
  const auto strokes = Figures(fixtureFigures);
  ASSERT_EQ(strokes.size(), 2u);
  EXPECT_DOUBLE_EQ(strokes[0].start.x, 10);
  EXPECT_DOUBLE_EQ(strokes[1].start.x, 10 + 6 + 6 + 6 + 12);
  EXPECT_TRUE(ShownTexts().empty());
}

TEST_F(StrokeTextTest, AMissingFontFolderIsNamedOnce) {
  std::filesystem::remove_all(fonts);
  EXPECT_EQ(Convert("AB"), 0);
  ASSERT_EQ(ShownTexts().size(), 1u);
  EXPECT_NE(ShownTexts()[0].find("FONTS"), std::string::npos);
  EXPECT_EQ(FontCharacterFile(':'), "colon.dxf");
  EXPECT_EQ(FontCharacterFile('~'), "~.dxf");
  EXPECT_EQ(FontCharacterFile(' '), "SPACE.dxf");
  EXPECT_EQ(FontCharacterFile(0x7F), "");
}

// --- RIB line dialog -------------------------------------------------------------

class RibLineDialogTest : public FigureScriptTest {
 protected:
  void SetUp() override {
    FigureScriptTest::SetUp();
    ResetRibLines();
    for (int i = 0; i < 4; ++i) {
      g_curveTable[static_cast<std::size_t>(i)].key = 100 + i;
      std::snprintf(g_curveTable[static_cast<std::size_t>(i)].name, 64, "C%d", i);
    }
    g_curveCount = 4;
  }
  int Run(const std::function<void(platform::headless::DialogDriver&)>& script) {
    backend().WhenDialogOpens(kRibLineDialogId, script);
    CRibLineDlg dialog = OpenRibLineDialog();
    return dialog.DoModal();
  }
};

TEST_F(RibLineDialogTest, EditsReachTheEntryTheLineShows) {
  // Entry 2 names a deleted curve: no line, the others keep their numbers.
  RibLineKeys[1] = 100;
  RibLineKeys[2] = 999;
  RibLineKeys[3] = 101;
  RibLineKeys[4] = 102;
  int result = Run([](platform::headless::DialogDriver& d) {
    ASSERT_EQ(d.dialog().GetCount(rib_dialog::kList), 3);
    EXPECT_EQ(d.dialog().GetItemText(rib_dialog::kList, 1), "No.03 : C1");
    d.PressEnter();  // stays open
    d.DoubleClick(rib_dialog::kList, 0);  // neither mode: nothing
    d.Click(rib_dialog::kDelete);
    d.DoubleClick(rib_dialog::kList, 1);  // the line of entry 3
    d.Click(rib_dialog::kAdd);
  });
  EXPECT_EQ(result, kRibLinePickMore);
  EXPECT_EQ(RibLineKeys[3], 102);
  EXPECT_EQ(RibLineKeys[4], kRibLineEmpty);
  EXPECT_EQ(RibLineKeys[32], kRibLineEmpty);
  EXPECT_EQ(RibLineCount, 3);

  // Insert at line 2 opens entry 3 for the next pick; full lists refuse.
  result = Run([](platform::headless::DialogDriver& d) {
    d.Click(rib_dialog::kInsert);
    d.DoubleClick(rib_dialog::kList, 1);
    d.Click(rib_dialog::kAdd);
  });
  EXPECT_EQ(RibLineKeys[3], kRibLineEmpty);
  EXPECT_EQ(RibLineKeys[4], 102);
  EXPECT_EQ(RibLineCount, 2);

  for (int e = 1; e <= kRibLineEntries; ++e) RibLineKeys[static_cast<std::size_t>(e)] = 100 + e % 4;
  result = Run([](platform::headless::DialogDriver& d) {
    d.Click(rib_dialog::kInsert);
    d.DoubleClick(rib_dialog::kList, 0);
    d.PressEscape();
  });
  EXPECT_EQ(result, platform::kIdCancel);
  EXPECT_EQ(RibLineKeys[32], 100);  // nothing dropped
  EXPECT_EQ(RibEntriesInUse(), 32);
}

}  // namespace
}  // namespace dorn::test
