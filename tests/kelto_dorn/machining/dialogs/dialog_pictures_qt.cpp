// The tool choice and the shared definition dialog built by the desktop
// backend, each saved as a PNG picture in the build folder (looked at, not
// compared).

#include <cstdlib>
#include <functional>

#include <QLabel>
#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/dialogs/area_cut_dialogs.h"
#include "kelto_dorn/machining/dialogs/capsule_machining_dialog.h"
#include "kelto_dorn/machining/dialogs/centring_dialog.h"
#include "kelto_dorn/machining/dialogs/check_surface_dialog.h"
#include "kelto_dorn/machining/dialogs/contour_define_dialog.h"
#include "kelto_dorn/machining/dialogs/define_group_dialog.h"
#include "kelto_dorn/machining/dialogs/definition_frame_dialog.h"
#include "kelto_dorn/machining/dialogs/definition_list_dialog.h"
#include "kelto_dorn/machining/dialogs/draw_line_dialog.h"
#include "kelto_dorn/machining/dialogs/finish_pass_dialog.h"
#include "kelto_dorn/machining/dialogs/hole_aux_dialogs.h"
#include "kelto_dorn/machining/dialogs/hole_define_dialog.h"
#include "kelto_dorn/machining/dialogs/omit_dialog.h"
#include "kelto_dorn/machining/dialogs/repeat_dialogs.h"
#include "kelto_dorn/machining/dialogs/single_step_hole_dialogs.h"
#include "kelto_dorn/machining/dialogs/time_estimate_dialog.h"
#include "kelto_dorn/machining/dialogs/tool_select_dialog.h"
#include "kelto_dorn/machining/dialogs/transform_dialogs.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/step_operations.h"
#include "platform/qt/qt_dialog_host.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"
#include "tests/support/dialog_picture_qt.h"

namespace dorn::test {
namespace {

class DefinitionPictureTest : public DefinitionFlowTest {
 protected:
  void SetUp() override {
    DefinitionFlowTest::SetUp();
    WriteMachine({{"ENDMILL", "EM10", 10.0f, 0.0f, 0.0f, 0.0f, 10},
                  {"ENDMILL", "EM8", 8.0f, 0.0f, 0.0f, 0.0f, 8, 0, 1500, 300.0f},
                  {"ENDMILL", "EM6R1", 6.0f, 1.0f, 0.0f, 0.0f, 6, 0, 2500, 250.0f}});
    testsupport::InstallOffscreenQtBackend("dorn_machining_dialogs_picture_tests");
    ResetMachiningRecord(document().atc);
    g_curMachiningDef.kind = 0xA000;
    g_curStepIndex = 0;
    EnsureFirstStep(g_curMachiningDef);
  }

  void Picture(platform::Dialog& dialog, const char* file, int minWidth = 200, int minHeight = 150,
               const std::function<void(platform::Dialog&)>& act = {}) {
    testsupport::SaveDialogPicture(dialog, file, minWidth, minHeight, act);
  }
  // The picture of a dialog made with no arguments.
  template <class DialogClass>
  void PictureOf(const char* file, int minWidth = 200, int minHeight = 150) {
    DialogClass dialog;
    Picture(dialog, file, minWidth, minHeight);
  }
};

// The column titles stand above the columns of the ATC list, not beside it.
TEST_F(DefinitionPictureTest, ToolSelectDialog) {
  CToolSelectDlg dialog(document().atc);
  Picture(dialog, "idd300_tool_select.png", 200, 150, [](platform::Dialog& d) {
    QDialog* window = platform::qt::DialogWindow(d);
    QWidget* list = testsupport::ControlWidget(window, tool_select_ctl::kList);
    ASSERT_NE(list, nullptr);
    QLabel* heading = nullptr;
    for (QLabel* label : window->findChildren<QLabel*>()) {
      if (label->text().startsWith(QStringLiteral("ATC番号"))) heading = label;
    }
    ASSERT_NE(heading, nullptr);
    const QRect titles(heading->mapTo(window, QPoint(0, 0)), heading->size());
    const QRect rows(list->mapTo(window, QPoint(0, 0)), list->size());
    EXPECT_LE(titles.bottom(), rows.top());
    EXPECT_LT(std::abs(titles.left() - rows.left()), 12) << "the titles begin over the list";
    EXPECT_EQ(heading->font().family(), list->font().family()) << "in the list's font, so that they line up";
  });
}

TEST_F(DefinitionPictureTest, DefinitionFrame) {
  g_curMachiningDef.stepTools[0] = document().atc.Record(1);
  AddProcessStep();
  CDefinitionFrameDlg dialog(DefinitionRunner::Contour, document().atc);
  Picture(dialog, "idd299_definition_frame.png");
}

TEST_F(DefinitionPictureTest, ContourDialogs) {
  g_curMachiningDef.stepTools[0] = document().atc.Record(1);
  CContourDefineDlg contour(DefinitionRunner::Contour, document().atc);
  Picture(contour, "idd299_contour_define.png");
  g_curMachiningDef.kind = 0x8000;
  CContourDefineDlg character(DefinitionRunner::CharContour, document().atc);
  Picture(character, "idd349_char_contour_define.png");
}

TEST_F(DefinitionPictureTest, HoleDialogs) {
  MachiningDefinition& d = g_curMachiningDef;
  d.kind = 0xB400;
  g_globalZ = 20.0;
  d.holeRPoint = 3.0;
  d.stepTools[0] = document().atc.Record(0);
  d.stepTools[0].tipLength = 2.0f;
  d.stepTools[0].fluteLength = 60.0f;
  d.steps[0].endDepth = -15.0;
  d.stepTools[1] = document().atc.Record(2);
  d.stepTools[1].fluteLength = 20.0f;
  d.steps[1].endDepth = -8.0;
  CHoleDefineDlg hole(document().atc);
  Picture(hole, "idd309_hole_define.png");
  CHoleChamferDetailDlg chamfer;
  Picture(chamfer, "idd170_hole_chamfer_detail.png");
  d.steps[0].chamferSize = 20.0;  // the helical hole diameter
  d.steps[0].areaCutValue = -5.0;
  d.steps[0].chamferTipDiameter = 5.0;
  CHelicalHoleDlg helical(document().atc);
  Picture(helical, "idd331_helical_hole.png");
  CDeepHoleDlg deep(document().atc);
  Picture(deep, "idd333_deep_hole.png");
  CBoxHoleStyleDlg box;
  Picture(box, "idd289_box_hole_style.png");
  // One ordered hole step, so the ranking has a line (and no message box).
  document().definitions.Slot(0) = d;
  ResetOrderItems();
  g_orderItems[0].number = 1;
  g_orderItems[0].id = 10000;
  g_machiningOrderList[0] = 10000;
  CAtcRankConfirmDlg rank(document().definitions);
  Picture(rank, "idd330_atc_rank_confirm.png");
}

// The condition sub-dialogs, one picture each.
TEST_F(DefinitionPictureTest, ConditionDialogs) {
  g_curMachiningDef.steps[0].repeat[0] = RepeatBlock{1, 0, 0, 2, 0.0, 1.5, -6.0};
  PictureOf<CRepeatMachiningDlg>("idd310_repeat_machining.png");
  {
    g_curMachiningDef.kind = 0xD000;
    CRepeatRangeDlg d;
    Picture(d, "idd313_repeat_range.png");
    g_curMachiningDef.kind = 0xA000;
  }
  {
    g_curMachiningDef.moveEntries[0].word4 = 1;
    CMoveDlg d;
    Picture(d, "idd209_move.png", 100, 60);
  }
  PictureOf<CMultiPieceDlg>("idd210_multi_piece.png", 100, 60);
  PictureOf<CRotationDlg>("idd208_rotation.png", 100, 60);
  PictureOf<CShrinkDlg>("idd205_shrink.png", 100, 60);
  PictureOf<CAxisConversionDlg>("idd206_axis_conversion.png", 100, 30);
  PictureOf<COmitDlg>("idd211_omit.png");
  PictureOf<CCheckSurfaceDlg>("idd217_check_surface.png");
  PictureOf<CDrawLineDlg>("idd282_draw_line.png", 100, 60);
  PictureOf<CAreaCutDlg>("idd201_area_cut.png", 100, 60);
  PictureOf<CFigureResolutionDlg>("idd207_figure_resolution.png", 100, 60);
  PictureOf<CXAxisDevelopDlg>("idd213_x_axis_develop.png", 100, 60);
  PictureOf<CFinishPassInitDlg>("idd352_finish_pass.png");
  PictureOf<CAutoCenteringDlg>("idd336_auto_centering.png");
  PictureOf<CTimeEstimateDlg>("idd166_time_estimate.png");
}

TEST_F(DefinitionPictureTest, ListCapsuleAndGroupDialogs) {
  // Three stored contours on a curve, one of them with two curves.
  AddLineCurve(601, {{0, 0}, {20, 0}}, 2.0, 7);
  const char* names[] = {"輪郭加工_10000", "穴加工_11000", "文字輪郭_12000"};
  const std::int32_t kinds[] = {0xA000, 0xB400, 0x8000};
  for (int i = 0; i < 3; ++i) {
    MachiningDefinition& d = document().definitions.Slot(i);
    d.kind = kinds[i];
    d.curves[0] = {1, 601};
    d.stepTools[0] = document().atc.Record(i);
    DefinitionIndexRecord& r = g_machiningIndexTable.records[static_cast<std::size_t>(i)];
    r.recordKind = 2;
    r.key = d.number = 10000 + 1000 * i;
    r.slot = i;
    r.kindCode = d.kind;
    platform::SetFieldText(r.name, platform::Sjis(names[i]));
  }
  document().definitions.Slot(0).curves[1] = {1, 601};
  g_machiningCount = 3;
  {
    CDefineListDlg d(document().definitions, document().atc, 0xF100);
    Picture(d, "idd292_definition_list.png", 400, 300);
  }
  {
    g_capsuleSlot = 0;
    CCapsuleMachiningDlg d;
    Picture(d, "idd334_capsule_machining.png", 100, 60);
  }
  PictureOf<CDefineGroupDlg>("idd347_define_group.png", 100, 100);
}

}  // namespace
}  // namespace dorn::test
