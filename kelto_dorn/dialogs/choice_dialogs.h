#pragma once
// Small modal dialogs that a command opens on the stack and reads back: the
// line width, line type and resolution choices, the X/Y point input and the
// slope angle input. (The message dialog is the document's CMessageDlg.)
#include <string>

#include "platform/dialog.h"

namespace dorn {

inline constexpr int kLineWidthDialogId = 329;
inline constexpr int kLineTypeDialogId = 288;
inline constexpr int kResolutionDialogId = 253;
inline constexpr int kPointInputDialogId = 177;
inline constexpr int kSlopeAngleDialogId = 176;

// Line width: 1 "標　　準", 3 "太　　線"; 2 when closed.
class CLineWidthDlg : public platform::Dialog {
 public:
  static constexpr int kNormal = 1;
  static constexpr int kThick = 3;
  CLineWidthDlg();

 protected:
  void OnClick(int id) override;
};

// Line type: 0 solid, 1 dashed, 2 one-dot chain, 3 two-dot chain; kClosed
// when closed without a choice (2 would read as a chain line).
class CLineTypePickDlg : public platform::Dialog {
 public:
  static constexpr int kClosed = -1;
  CLineTypePickDlg();

 protected:
  void OnClick(int id) override;
  void OnCancel() override;
};

// Resolution: 101 to 107 for "[1]" to "[7]"; callers use the result - 100
// and ignore any other result.
class CResolutionPickDlg : public platform::Dialog {
 public:
  static constexpr int kFirst = 101;
  static constexpr int kLast = 107;
  CResolutionPickDlg();

 protected:
  void OnClick(int id) override;
};

// X/Y point input: the caller sets the labels and preset texts, runs it and,
// on 1, reads PointInputValue. "登録" (and Enter) end only with two numbers.
class CPointInputDlg : public platform::Dialog {
 public:
  CPointInputDlg();

  std::string xText;  // CP932, preset and typed
  std::string yText;
  std::string xLabel;  // empty: "X = "
  std::string yLabel;  // empty: "Y = "

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnOk() override;

 private:
  void Register();
};

// Slope angle of the current surface (g_curSurface.x[0], degrees): OK parses
// the text into it and ends with 1; closing changes nothing.
class CSlopeAngleDlg : public platform::Dialog {
 public:
  CSlopeAngleDlg();

  std::string angleText;  // CP932; empty: the surface's angle is shown

 protected:
  bool OnInit() override;
  void OnOk() override;
};

}  // namespace dorn
