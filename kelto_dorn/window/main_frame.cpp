// The main frame's creation, tool bars, bar menus, layers and exit: see
// main_frame.h. Its switches and read-outs are in frame_commands.cpp, the
// ticks and texts in frame_updates.cpp.
#include "kelto_dorn/window/main_frame.h"

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/window/bar_images.h"
#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/command_texts.h"
#include "platform/application.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

int g_curBarMenu = 2;
int g_prevBarMenu = 2;

namespace {

constexpr int kTopMenuBits = 2;
constexpr int kBarMenusAll = 0xFFFF;

std::int32_t StyleOr(std::int32_t style, std::int32_t fallback) { return style != 0 ? style : fallback; }

std::vector<platform::ToolButton> TextButtons(const std::vector<int>& ids) {
  std::vector<platform::ToolButton> buttons;
  buttons.reserve(ids.size());
  for (int id : ids) buttons.emplace_back(id, id == 0 ? std::string() : CommandCaption(id));
  return buttons;
}

std::vector<platform::ToolButton> ImageButtons(const std::vector<int>& ids) {
  std::vector<platform::ToolButton> buttons;
  buttons.reserve(ids.size());
  for (int id : ids) buttons.emplace_back(id, id == 0 ? std::string() : CommandCaption(id), ToolButtonImage(id));
  return buttons;
}

}  // namespace

CMainFrame::CMainFrame(CKelDoc& document) : document_(document) {}

CMainFrame::~CMainFrame() {
  if (g_viewAccess.mainFrame) g_viewAccess.mainFrame = nullptr;
}

int CMainFrame::Create() {
  // PreCreateWindow: the rectangle and the bar styles of the last session.
  const WindowPlacement placement = ReadWindowPlacement(platform::DesktopRect());
  styles_ = placement.styles;
  maximizeOnActivate_ = placement.maximize ? 1 : 0;
  frame_ = platform::CreateFrame();
  frame_->SetTitle("Kelto_Win");
  frame_->SetWindowRect(placement.rect);
  g_viewAccess.mainFrame = [this] { return frame_.get(); };

  // OnCreate.
  g_snapMode = 0;
  coordFilesEnabled_ = 1;
  barMenuAll_ = 0;
  shown_.fill(0);
  shown_[0] = 1;
  g_drawingHeader.frameCreatedWord = 1;
  frame_->SetMenu(MainMenu());
  CreateToolBars();
  return 0;
}

void CMainFrame::CreateToolBars() {
  const platform::DockSide menuSide = DockSideOfStyle(StyleOr(styles_.barMenus, kDefaultBarMenuStyle));
  const BarMenu& top = BarMenus()[0];
  frame_->AddToolBar({kBarMenuBarId, TextButtons(top.buttons), menuSide, kBarMenuButtonWidth});
  for (const BarMenu& m : BarMenus()) {
    // The bars of the simultaneous display start hidden.
    frame_->AddToolBar(
        {kFirstSeparateBarId + BarMenuIndex(m), TextButtons(m.buttons), menuSide, kBarMenuButtonWidth, false});
  }
  g_curBarMenu = g_prevBarMenu = kTopMenuBits;
  ShowBarMenu(top);
  frame_->AddToolBar({kStandardBarId, ImageButtons(StandardBarButtons()),
                      DockSideOfStyle(StyleOr(styles_.standardBar, kDefaultStandardBarStyle)), kIconButtonWidth});
  frame_->AddToolBar({kSelectorBarId, ImageButtons(SelectorBarButtons()),
                      DockSideOfStyle(StyleOr(styles_.selectorBar, kDefaultSelectorBarStyle)), kIconButtonWidth});
}

void CMainFrame::OnActivate() {
  if (maximizeOnActivate_ != 1) return;
  frame_->Maximize();
  maximizeOnActivate_ = 2;
}

void CMainFrame::ShowMenuFault() {
  platform::ShowMessageBox(platform::Sjis("[ Kelto_Dorn ]::メニューが正しく動作しません "), "", 0x10);
}

void CMainFrame::ShowBarMenu(const BarMenu& menu) {
  const int index = BarMenuIndex(menu);
  int& shown = shown_[static_cast<std::size_t>(index)];
  if (barMenuAll_ != 0) {
    // Each bar menu toggles its own bar.
    const int bar = kFirstSeparateBarId + index;
    if (shown) {
      frame_->ShowToolBar(bar, false);
      shown = 0;
    } else if (frame_->ReloadToolBar(bar, TextButtons(menu.buttons))) {
      frame_->ShowToolBar(bar, true);
      shown = 1;
    } else {
      ShowMenuFault();
    }
    return;
  }
  if (!frame_->ReloadToolBar(kBarMenuBarId, TextButtons(menu.buttons))) {
    ShowMenuFault();  // the bar stays as it was
    return;
  }
  shown_.fill(0);
  shown = 1;
  if (g_curBarMenu != menu.bits) g_prevBarMenu = g_curBarMenu;
  g_curBarMenu = menu.bits;
  frame_->ShowToolBar(kBarMenuBarId, true);
  g_copyMode = 0;
}

void CMainFrame::ShowPreviousBarMenu() {
  if (const BarMenu* m = BarMenuOfBits(g_prevBarMenu)) ShowBarMenu(*m);
}

void CMainFrame::ToggleSimultaneousBarMenus() {
  barMenuAll_ = barMenuAll_ ? 0 : kBarMenusAll;
  if (barMenuAll_ != 0) return;
  for (int i = 0; i < kBarMenuCount; ++i) {
    if (!frame_->IsToolBarShown(kFirstSeparateBarId + i)) continue;
    frame_->ShowToolBar(kFirstSeparateBarId + i, false);
    shown_[static_cast<std::size_t>(i)] = 0;
  }
}

void CMainFrame::SelectLayer(int layer) {
  if (layer < 0 || layer >= kLayerCount || layer == g_figureTableSelector) return;
  g_view.m_rubberBandCount = 0;
  g_layerViews[0].values[0] = layer;  // the header's layer word: layer record 0
  g_figureTableSelector = layer;
  g_curLayer = layer;
  g_curOriginIndex = g_layerOriginIndex[static_cast<std::size_t>(layer)];
  RedrawView();
}

WindowRectRecord CMainFrame::CurrentStyles() const {
  WindowRectRecord r;
  r.standardBar =
      StyleWithDockSide(StyleOr(styles_.standardBar, kDefaultStandardBarStyle), frame_->ToolBarDock(kStandardBarId));
  r.barMenus = StyleWithDockSide(StyleOr(styles_.barMenus, kDefaultBarMenuStyle), frame_->ToolBarDock(kBarMenuBarId));
  r.selectorBar =
      StyleWithDockSide(StyleOr(styles_.selectorBar, kDefaultSelectorBarStyle), frame_->ToolBarDock(kSelectorBarId));
  return r;
}

void CMainFrame::SaveRectAndClose(int id) {
  WindowRectRecord r;
  if (id != cmd::kExitStandardSize) r = CurrentStyles();
  if (id == cmd::kExitSaveSize) {
    const platform::Rect w = frame_->WindowRect();
    r.right = w.right;
    r.bottom = w.bottom;  // left and top 0: the window opens at the corner
  }
  const platform::FileResult written = WriteWindowRectFile(r);
  if (!written.ok()) ReportFileFault(written);
  frame_->RequestClose();
}

bool CMainFrame::OnClose() {
  if (g_exitConfirmed || ExitSystem(document_) == 0) {
    platform::QuitEventLoop(0);
    return true;
  }
  ModalDepth = 0;
  return false;
}

}  // namespace dorn
