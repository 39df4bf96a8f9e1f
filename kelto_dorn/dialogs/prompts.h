#pragma once
// The value and point prompts of the drawing commands. The command sets the
// texts of prompt_state.h and calls PromptValue or PromptPoint; the user types
// the answer or asks to pick it in the drawing instead. A pick hands control
// back to the view with g_pickState set; once the click came, the command
// calls the prompt again, which then takes the pick state as its answer
// without showing the dialog.
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kValueInputDialogId = 158;
inline constexpr int kPointPickDialogId = 161;

// A command puts this into FocusedEditIndex before a prompt to offer the
// count field (g_repeatCount); otherwise the field is disabled.
inline constexpr int kOfferCountField = 43981;  // 0xABCD
// FocusedEditIndex while the count field has the focus.
inline constexpr int kCountFieldFocused = 1;

// --- Results of PromptValue ------------------------------------------------------
inline constexpr int kPromptTyped = 0;       // the value or point was typed
inline constexpr int kPromptCancelled = -2;  // cancelled
inline constexpr int kPromptPickValue = 1;   // pick the value in the drawing (pick state 3)
// PromptPoint returns 1 (mouse), 2 (intersection or the base-point cancel),
// 3 (end point) or 99 (closed without a point) besides 0 and -2.
inline constexpr int kPromptClosedWithoutPoint = 99;

// --- End codes of the dialogs ------------------------------------------------------
namespace prompt_end {
inline constexpr int kTyped = 1;
inline constexpr int kCancel = 2;
inline constexpr int kPickValue = 3;         // value dialog: "図形参照"
inline constexpr int kMouse = 4;             // point dialog: "マウス"
inline constexpr int kIntersection = 6;      // "交点"
inline constexpr int kEndPoint = 8;          // "端点"
inline constexpr int kBasePointCancel = 10;  // "取消" on the base-point button
inline constexpr int kClosedWithoutPoint = 99;
}  // namespace prompt_end

// The value input (template 158): the value, its label, the count field.
class CValueInputDlg : public platform::Dialog {
 public:
  CValueInputDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnOk() override;

 private:
  bool ApplyCountEntry();
};

// The point input (template 161): X and Y, the count field and the buttons
// that ask for the point in the drawing.
class CPointPickDlg : public platform::Dialog {
 public:
  CPointPickDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnOk() override;
  void OnCancel() override;

 private:
  bool ApplyCountEntry();
  int okPresses_ = 0;
};

// Asks for a value: 0 typed (ValueInputValue holds it), -2 cancelled, 1 pick
// it in the drawing (g_pickState 3).
int PromptValue();

// Asks for a point: 0 typed (PointInputValue holds it), -2 cancelled, 1 by
// mouse, 2 by intersection (or the base point taken back), 3 by end point,
// 99 closed without a point. A positive result leaves the pick state set.
int PromptPoint();

}  // namespace dorn
