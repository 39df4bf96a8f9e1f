#pragma once
// The headless script driver of the figure commands: the whole program
// without a display (the window fixture), a command started from its bar
// button, the value and point dialogs answered by template, and clicks sent
// as mouse events at the pixel of a drawing point.
#include <string>
#include <vector>

#include "kelto_dorn/app/figure_record.h"
#include "tests/kelto_dorn/window/window_fixture.h"

namespace dorn::test {

class FigureScriptTest : public WindowTest {
 protected:
  void SetUp() override;

  // The command as the user starts it: its bar button or menu item.
  void Start(int id);
  // The next value dialog (template 158): the text typed, then OK.
  void AnswerValue(const std::string& text);
  // The next point dialog (161): X and Y typed, Enter twice.
  void AnswerPoint(double x, double y);
  // The next point dialog: one of its buttons (1002 mouse, 1000
  // intersection, 1003 end point), or Cancel for 0.
  void AnswerPointButton(int id);
  void CancelNextDialog(int templateId);
  // A left click at the drawing point (x, y) (absolute, mm).
  void ClickAt(double x, double y);
  void RightClickAt(double x, double y);
  void MoveTo(double x, double y);
  void Escape();

  // Appends a line from a to b to layer 0 as a new figure of colour word 2.
  void AddLine(Vec2 a, Vec2 b);
  // The figures of layer 0 from index `from` on.
  std::vector<FigureRecord> Figures(int from = 0) const;
  int FigureCount() const;
  std::string TitleUtf8();
  bool Pressed(int id);
  // The dialog templates opened so far, in order.
  std::vector<int> Dialogs();

  int fixtureFigures = 0;
};

}  // namespace dorn::test
