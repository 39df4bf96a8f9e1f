// The work settings: the drawing-name filter, the origin offsets that follow
// the width and depth, the Z reference and the field-by-field commits.
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/work_settings_dialog.h"
#include "kelto_dorn/document/system_state.h"
#include "platform/text.h"
#include "tests/kelto_dorn/dialogs/dialogs_fixture.h"

namespace dorn::test {
namespace {

using platform::Sjis;

constexpr int kName = 1008, kWidth = 1066, kDepth = 1067, kThickness = 1068, kOffsetX = 1092, kOffsetY = 1093,
              kProgram = 1094, kCentre = 1024, kTopRight = 1025, kBottomRight = 1028, kTop = 1148, kBottom = 1149,
              kRegister = 1020;

TEST(DrawingNameFilter, KeepsTheNameUpToTheFirstRefusedCharacter) {
  const std::string so = "\x83\x5C";  // a katakana whose second byte is the backslash code
  struct Case {
    std::string typed;
    std::string kept;
  };
  const Case cases[] = {
      {"  AB  CD", "AB"},  // leading blanks skipped, a double blank ends it
      {"AB CD", "AB CD"},  // one blank is kept
      {"A.B", "A"},
      {"PART/2", "PART"},
      {"X:Y", "X"},
      {"A*", "A"},
      {"A\\B", "A"},
      {".ABC", ""},  // refused at once
      {so, so},      // the second byte of a double-byte character stays
      {"A" + so + "B", "A" + so + "B"},
      {so + so + ".", so + so},  // a real full stop after double-byte text still ends it
      {std::string(70, 'N'), std::string(60, 'N')},
      {"  " + std::string(70, 'N'), std::string(58, 'N')},  // the first 60 bytes of the text count
      {std::string(59, 'N') + so, std::string(59, 'N')},    // never half a character
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(FilterDrawingName(c.typed), c.kept);
  }
}

class WorkSettingsTest : public DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    platform::SetFieldText(g_drawingHeader.drawingName, "OLD");
  }
};

TEST_F(WorkSettingsTest, OffsetsFollowTheOriginCornerAndTheSize) {
  CWorkSettingsDlg dialog;
  OpenDialog d(dialog);
  d->Type(kWidth, "100");
  d->Type(kDepth, "60");  // focusing the depth commits the width
  d->Click(kTopRight);    // the click commits the depth first
  EXPECT_EQ(g_workOriginPosition, 1);
  EXPECT_EQ(g_workOffsetX, -50.0);
  EXPECT_EQ(g_workOffsetY, -30.0);
  EXPECT_EQ(dialog.GetText(kOffsetX), " -50.0");
  d->Type(kWidth, "200");
  d->Focus(kThickness);
  EXPECT_EQ(g_workOffsetX, -100.0);
  EXPECT_EQ(g_workOffsetY, -30.0);
  d->Type(kOffsetX, "7");  // typing an offset overrides it, the corner stays
  d->Click(kBottomRight);
  EXPECT_EQ(g_workOffsetX, -100.0);
  EXPECT_EQ(g_workOffsetY, 30.0);
}

TEST_F(WorkSettingsTest, FieldsAreCommittedByTheNextFocusOrRegister) {
  g_drawingHeader.programNumber = 12;
  CWorkSettingsDlg dialog;
  OpenDialog d(dialog);
  EXPECT_EQ(dialog.GetText(kName), "OLD");
  EXPECT_EQ(dialog.GetText(kProgram), " 12");
  d->Type(kName, "  PLATE.MZF");
  d->PressEnter();  // Enter moves on, committing the name
  EXPECT_EQ(dialog.FocusedControl(), kWidth);
  EXPECT_STREQ(g_drawingHeader.drawingName, "PLATE");
  d->Type(kWidth, "");  // an empty field keeps the old value
  d->Type(kProgram, "41.6");
  d->Type(kThickness, "25");
  d->Click(kRegister);
  EXPECT_EQ(dialog.EndCode(), platform::kIdOk);
  EXPECT_EQ(g_drawingHeader.programNumber, 42);
  EXPECT_EQ(g_drawingHeader.workSizeZ, 25.0);
  EXPECT_EQ(g_workSizeX, 0.0);
}

TEST_F(WorkSettingsTest, ARefusedNameKeepsTheOldOneAndBeeps) {
  CWorkSettingsDlg dialog;
  OpenDialog d(dialog);
  d->Type(kName, ".X");
  d->Focus(kWidth);
  EXPECT_STREQ(g_drawingHeader.drawingName, "OLD");
  EXPECT_EQ(dialog.GetText(kName), "OLD");
  EXPECT_EQ(backend().BeepCount(), 1);
}

TEST_F(WorkSettingsTest, ZReferenceIsTopOrBottom) {
  g_globalZMode = 9999;
  {
    CWorkSettingsDlg dialog;
    OpenDialog d(dialog);
    EXPECT_EQ(dialog.GetCheck(kBottom), 1);
    EXPECT_EQ(dialog.GetCheck(kTop), 0);
    EXPECT_EQ(dialog.GetCheck(1497), 1);
    d->Click(kTop);
    EXPECT_EQ(g_globalZMode, 0);
  }
  g_globalZMode = 17;  // anything but 9999 means the top
  CWorkSettingsDlg dialog;
  OpenDialog d(dialog);
  EXPECT_EQ(g_globalZMode, 0);
  EXPECT_EQ(dialog.GetCheck(kTop), 1);
  d->Click(kBottom);
  EXPECT_EQ(g_globalZMode, 9999);
}

TEST_F(WorkSettingsTest, ClosingKeepsWhatWasCommittedOnly) {
  CWorkSettingsDlg dialog;
  OpenDialog d(dialog);
  d->Type(kOffsetY, "3");
  d->Type(kWidth, "80");  // commits the offset; the width stays pending
  d->PressEscape();
  EXPECT_EQ(dialog.EndCode(), platform::kIdCancel);
  EXPECT_EQ(g_workOffsetY, 3.0);
  EXPECT_EQ(g_workSizeX, 0.0);
}

TEST_F(WorkSettingsTest, OpeningClearsTheFocusedFieldWord) {
  FocusedEditIndex = 43981;
  CWorkSettingsDlg dialog;
  OpenDialog d(dialog);
  EXPECT_EQ(FocusedEditIndex, 0);
  EXPECT_EQ(dialog.Title(), Sjis("  ワーク設定"));
}

}  // namespace
}  // namespace dorn::test
