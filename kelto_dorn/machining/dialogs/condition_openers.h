#pragma once
// The condition sub-dialogs that the definition dialogs open, reached through
// one opener each so that a definition dialog does not depend on where each
// sub-dialog is built. Every opener edits the working definition in place and
// returns the sub-dialog's end code: 1 registered, 2 cancelled, or a pick
// code (120, 130, 400, 410, 510, 511, 600, 910 ...) with g_pickTargetIndex
// set to the row the pick fills. The capsule name list returns 1 with the
// chosen name in g_textBuffer.
//
// An empty opener is a sub-dialog not in the program yet: the definition
// dialogs disable its button or menu row.
#include <functional>

namespace dorn {

struct ConditionOpeners {
  std::function<int()> areaCut;           // 区域切削, the current step
  std::function<int()> figureResolution;  // STEP/ALLOW
  std::function<int()> xAxisDevelop;      // Ｘ軸展開
  std::function<int()> repeatMachining;   // 繰り返し of the contour dialogs (310)
  std::function<int()> repeatRange;       // 繰り返し of 2.5-axis, 3-axis, taper (313)
  std::function<int()> move;              // ＭＯＶＥ
  std::function<int()> multiPiece;        // 多数個取り
  std::function<int()> rotation;          // ROTATION
  std::function<int()> shrink;            // the shrink button beside ROTATION
  std::function<int()> axisConversion;    // 軸変換
  std::function<int()> omit;              // ＯＭＩＴ
  std::function<int()> checkSurface;      // CHECK曲面
  std::function<int()> RunDrawFigureList; // DRAW図形: 910 when a DRAW slot waits for its pick
  std::function<int()> capsuleNames;      // 加工名: the capsule name list
};

extern ConditionOpeners g_conditionOpeners;

}  // namespace dorn
