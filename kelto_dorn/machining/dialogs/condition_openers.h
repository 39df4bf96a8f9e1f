#pragma once
// The openers of the condition sub-dialogs that the definition dialogs
// offer. A definition dialog's button calls its opener; an empty opener
// leaves the button disabled. Each opener runs its dialog modally on the
// working definition and returns the dialog's result: 1 or 2 when it closed
// (the definition dialog redisplays itself), or a pick code (120-910) with
// g_pickTargetIndex set, on which the definition dialog ends with that code
// so that the view takes the pick.
#include <functional>

namespace dorn {

struct ConditionOpeners {
  std::function<int()> areaCut;           // 区域切削 (201)
  std::function<int()> figureResolution;  // STEP/ALLOW (207)
  std::function<int()> xAxisDevelop;      // Ｘ軸展開 (213); 600 picks the curve
  std::function<int()> repeatMachining;   // 繰り返し of the contours (310); 120, 130
  std::function<int()> repeatRange;       // 繰り返し of 2.5-axis, 3-axis, taper (313); 120, 130, 220
  std::function<int()> move;              // ＭＯＶＥ (209); 400
  std::function<int()> multiPiece;        // 多数個取り (210); 410
  std::function<int()> rotation;          // ROTATION (208)
  std::function<int()> shrink;            // 収縮 (205)
  std::function<int()> axisConversion;    // 軸変換 (206)
  std::function<int()> omit;              // ＯＭＩＴ (211); 510, 511
  std::function<int()> checkSurface;      // CHECK曲面 (217)
  std::function<int()> runDrawFigureList; // DRAW図形 (282); 910
  // The capsule machining names (338): 1 with the chosen name in the shared
  // text buffer.
  std::function<int()> capsuleNames;
};

inline ConditionOpeners g_conditionOpeners;

}  // namespace dorn
