#include "tests/kelto_dorn/drawing/figure_script.h"

#include <cmath>
#include <cstdio>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_transform.h"
#include "platform/key_codes.h"
#include "platform/text.h"

namespace dorn::test {

namespace {
constexpr int kValueDialog = 158;
constexpr int kPointDialog = 161;
constexpr int kValueEdit = 1008;
constexpr int kXEdit = 1015;
constexpr int kYEdit = 1016;

std::string Number(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6f", v);
  return text;
}
}  // namespace

void FigureScriptTest::SetUp() {
  WindowTest::SetUp();
  StartWithFixtureDrawing();
  fixtureFigures = FigureCount();
}

void FigureScriptTest::Start(int id) {
  UpdateAllCommands();
  ASSERT_TRUE(frame().Invoke(id)) << "command " << id << " is not enabled";
}

void FigureScriptTest::AnswerValue(const std::string& text) {
  backend().WhenDialogOpens(kValueDialog, [text](platform::headless::DialogDriver& d) {
    d.Type(kValueEdit, text);
    d.PressEnter();
  });
}

void FigureScriptTest::AnswerPoint(double x, double y) {
  backend().WhenDialogOpens(kPointDialog, [x, y](platform::headless::DialogDriver& d) {
    d.Type(kXEdit, Number(x));
    d.PressEnter();
    d.Type(kYEdit, Number(y));
    d.PressEnter();
  });
}

void FigureScriptTest::AnswerPointButton(int id) {
  backend().WhenDialogOpens(kPointDialog, [id](platform::headless::DialogDriver& d) { d.Click(id); });
}

void FigureScriptTest::CancelNextDialog(int templateId) {
  backend().WhenDialogOpens(templateId, [](platform::headless::DialogDriver& d) { d.PressEscape(); });
}

void FigureScriptTest::ClickAt(double x, double y) {
  const platform::Point p = WorldToScreenRaw(x, y);
  Click(p.x, p.y);
}

void FigureScriptTest::RightClickAt(double x, double y) {
  const platform::Point p = WorldToScreenRaw(x, y);
  RightClick(p.x, p.y);
}

void FigureScriptTest::MoveTo(double x, double y) {
  const platform::Point p = WorldToScreenRaw(x, y);
  Move(p.x, p.y);
}

void FigureScriptTest::Escape() { surface().Key(platform::kKeyEscape); }

void FigureScriptTest::AddLine(Vec2 a, Vec2 b) {
  FigureRecord f;
  f.kind = kKindLine;
  f.style = kNewFigureStyle;
  f.attribute = 2;
  f.start = a;
  f.end = b;
  const double len = std::hypot(b.x - a.x, b.y - a.y);
  f.dir = {(b.x - a.x) / len, (b.y - a.y) / len};
  g_curFigure = f;
  g_figureTableSelector = 0;
  ASSERT_TRUE(AppendFigure(0));
}

std::vector<FigureRecord> FigureScriptTest::Figures(int from) const {
  std::vector<FigureRecord> figures;
  const int n = GetFigureCount(0);
  for (int i = from; i < n; ++i) {
    GetFigure(0, i);
    figures.push_back(g_curFigure);
  }
  return figures;
}

int FigureScriptTest::FigureCount() const { return GetFigureCount(0); }

std::string FigureScriptTest::TitleUtf8() { return platform::Cp932ToUtf8(frame().Title()); }

bool FigureScriptTest::Pressed(int id) { return frame().GetCommandState(id).pressed; }

std::vector<int> FigureScriptTest::Dialogs() { return backend().DialogsOpened(); }

}  // namespace dorn::test
