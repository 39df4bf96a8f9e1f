// The curve list: see curve_list_dialog.h.
#include "kelto_dorn/drawing/curve_list_dialog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/drawing/curve_engine.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/curve_registration.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "platform/text.h"

namespace dorn {
namespace {

using platform::ControlKind;
using platform::ControlSpec;

constexpr int kRadioGroup = 1;
constexpr int kPromptTaperFigure = 222;
// The view finishes a name input when this mode is set and no pick waits.
constexpr int kCurveNameInputEnded = 50;

std::unique_ptr<CCurveListDlg> g_curveList;

std::vector<ControlSpec> ListControls() {
  using platform::Sjis;
  ControlSpec list(ControlKind::ListBox, kCurveListBox, "");
  list.style = platform::control_style::kMultiSelect;
  list.height = 300;
  list.width = 220;
  return {
      list,
      ControlSpec(ControlKind::GroupBox, kRadioGroup, ""),
      ControlSpec(ControlKind::RadioButton, kCurveListCurrentLayer, Sjis("現在のレイヤー"), kRadioGroup),
      ControlSpec(ControlKind::RadioButton, kCurveListAllLayers, Sjis("全てのレイヤー"), kRadioGroup),
      ControlSpec(ControlKind::PushButton, platform::kIdOk, Sjis("選択")),
      ControlSpec(ControlKind::PushButton, kCurveListAll, "ALL"),
      ControlSpec(ControlKind::PushButton, platform::kIdCancel, Sjis("ｷｬﾝｾﾙ")),
  };
}

std::string LayerHeader(int layer) {
  char text[64];
  std::snprintf(text, sizeof text, "%s %d %s", platform::Sjis("【 レイヤー").c_str(), layer + 1,
                platform::Sjis("】").c_str());
  return text;
}

std::string CurveName(const CurveRecord& c) { return std::string(c.name, strnlen(c.name, sizeof c.name)); }

void ClearNameBuffers() {
  for (auto& slot : g_curveNameBuffers) slot.fill(0);
}

}  // namespace

CCurveListDlg::CCurveListDlg() : platform::Dialog(kCurveListDialogId, platform::Sjis("  曲線一覧"), ListControls()) {}

bool CCurveListDlg::OnInit() {
  allLayers_ = 0;
  SetCheck(kCurveListCurrentLayer, 1);
  SetCheck(kCurveListAllLayers, 0);
  Fill();
  Enable(kCurveListAll, g_curCommand == curve_cmd::kDelete);
  return true;
}

void CCurveListDlg::OnShow() { SetTitle(platform::Sjis(" 曲 線 一 覧 ")); }

void CCurveListDlg::Fill() {
  ClearNameBuffers();
  chosen_.clear();
  ResetContent(kCurveListBox);
  const int count = ScannableCurveCount();
  for (int layer = 0; layer < kLayerCount; ++layer) {
    if (allLayers_ == 0 && layer != g_curLayer) continue;
    bool header = allLayers_ == 0;
    if (header) AddItem(kCurveListBox, LayerHeader(layer));
    for (int c = 0; c < count; ++c) {
      const CurveRecord& curve = g_curveTable[static_cast<std::size_t>(c)];
      if (curve.layer != layer) continue;
      if (!header) {
        AddItem(kCurveListBox, LayerHeader(layer));
        header = true;
      }
      AddItem(kCurveListBox, CurveName(curve));
    }
  }
}

void CCurveListDlg::OnSelectionChanged(int id) {
  if (id != kCurveListBox) return;
  const std::vector<int> rows = GetSelectedRows(kCurveListBox);
  if (rows.size() <= 1) {
    chosen_ = rows;
    return;
  }
  for (int row : rows) {
    if (std::find(chosen_.begin(), chosen_.end(), row) != chosen_.end()) continue;
    if (static_cast<int>(chosen_.size()) >= kCurveListSelectionLimit) {
      SignalBeep();
      SetSel(kCurveListBox, row, false);
      continue;
    }
    chosen_.push_back(row);
  }
}

void CCurveListDlg::CopyChosenNames() {
  ClearNameBuffers();
  std::size_t slot = 0;
  for (int row : chosen_) {
    if (slot >= g_curveNameBuffers.size()) break;
    const std::string text = GetItemText(kCurveListBox, row);
    auto& buffer = g_curveNameBuffers[slot++];
    platform::SetFieldText(buffer.data(), sizeof(CurveRecord::name), text);
  }
}

void CCurveListDlg::EditChosenCurve() {
  const int count = ScannableCurveCount();
  int curve = kNone;
  for (int c = 0; c < count && curve == kNone; ++c)
    if (std::strncmp(g_curveTable[static_cast<std::size_t>(c)].name, g_curveNameBuffers[0].data(),
                     sizeof(CurveRecord::name)) == 0)
      curve = c;
  ClearNameBuffers();
  if (curve == kNone) return;
  // The registration dialog works on the record at g_curveCount.
  const int saved = g_curveCount;
  g_curveCount = curve;
  const int result = RegisterCurve(kRegisterTaperFigures);
  g_curveCount = saved;
  RedrawView();
  if (result == kCurveTaperRequested) {
    ShowPromptHook(kPromptTaperFigure);
    g_pickState = kPickStateTaperFigure;
    g_curCommand = curve_cmd::kTaper;
    g_commandStep = g_pickIndex = g_workCount = 0;
  } else {
    g_curCurveIndex = kNone;
  }
}

void CCurveListDlg::OnDoubleClick(int id) {
  if (id != kCurveListBox) return;
  if (chosen_.empty()) chosen_ = GetSelectedRows(kCurveListBox);
  CopyChosenNames();
  if (g_curCommand != 0) {
    g_pickState = 0;
    g_curveListOpen = 0;
    g_view.m_curveNameMode = kCurveNameInputEnded;
    Close();
    return;
  }
  EditChosenCurve();
  Fill();
}

void CCurveListDlg::OnClick(int id) {
  if (id == kCurveListCurrentLayer || id == kCurveListAllLayers) {
    allLayers_ = id == kCurveListAllLayers ? 1 : 0;
    Fill();
    return;
  }
  if (id == kCurveListAll) {
    g_curCurveIndex = kNone;
    ClearNameBuffers();
    g_curveNameBuffers[0][1] = kAllCurvesMarker;
    g_pickState = 0;
    g_curveListOpen = 0;
    g_pickState2 = kPickCurve;
    g_view.m_curveNameMode = kCurveNameInputEnded;
    Close();
  }
}

void CCurveListDlg::OnOk() {
  g_curveNameBuffers[0][0] = '\0';
  Close();
}

void CCurveListDlg::OnCancel() {
  g_curveNameBuffers[0][0] = '\0';
  Close();
}

void CCurveListDlg::Close() {
  if (g_curveNameBuffers[0][0] == '\0' && g_curveNameBuffers[0][1] != kAllCurvesMarker && g_pickState == kCurveListOpen)
    g_pickState = 0;
  g_curveListOpen = 0;
  if (IsOpen()) {
    if (ModalDepth > 0) --ModalDepth;
    DestroyWindow();
  }
}

void OnCurveList() {
  if (g_curveListOpen == kCurveListOpen || g_curveCount <= 0) return;
  if (g_pickState == 0) {
    g_workCount = 0;
    g_pickState = kCurveListOpen;
  }
  g_curveListOpen = kCurveListOpen;
  g_curveList = std::make_unique<CCurveListDlg>();
  if (!g_curveList->CreateModeless(GetAppMainWnd())) {
    g_curveListOpen = 0;
    g_curveList.reset();
    return;
  }
  // The open list counts as an open dialog.
  ++ModalDepth;
}

void CloseCurveList() {
  if (g_curveList && g_curveList->IsOpen()) {
    g_curveList->EndDialog(platform::kIdCancel);
    if (ModalDepth > 0) --ModalDepth;
    g_curveList->DestroyWindow();
  }
  g_curveListOpen = 0;
}

CCurveListDlg* OpenCurveList() { return g_curveList && g_curveList->IsOpen() ? g_curveList.get() : nullptr; }

}  // namespace dorn
