#pragma once
// The curve command engine: the command family that creates, edits, moves
// and deletes curves. Like the figure commands it is a flat state machine
// driven by the command words: each entry either sets a pick state and a
// prompt and returns (the view's click routing re-enters it), or does the
// work on the curves picked so far.
//
// BeginCurveCommand starts a command; DispatchCurveCommand is its first step
// and the entry of every click; ExecuteCurveCommand (curve_steps.cpp) holds
// the steps of each command once a curve is picked.
#include "platform/device_context.h"

namespace dorn {

// Command ids of the family.
namespace curve_cmd {
inline constexpr int kAutoConnect = 32905;
inline constexpr int kJoin = 32907;
inline constexpr int kHolePoints = 32908;
inline constexpr int kAppend = 32910;
inline constexpr int kDelete = 32911;
inline constexpr int kAnalyse = 32912;
inline constexpr int kEndPoints = 32913;
inline constexpr int kReverseArcs = 32914;
inline constexpr int kTangentCircle = 32915;
inline constexpr int kDeleteFigure = 32917;
inline constexpr int kTranslate = 32921;
inline constexpr int kRotate = 32922;
inline constexpr int kMirror = 32923;
inline constexpr int kOffset = 32924;
inline constexpr int kScale = 32925;
inline constexpr int kTangentRadius = 32926;
inline constexpr int kSwapIntersection = 32929;
inline constexpr int kReverse = 32930;
inline constexpr int kDeveloped = 32933;
inline constexpr int kHeadFigure = 33075;
inline constexpr int kColour = 33081;
inline constexpr int kReplaceFigure = 33089;
inline constexpr int kSpiral = 33111;
inline constexpr int kPocket = 33126;
inline constexpr int kTaper = 33127;
inline constexpr int kOriginChange = 33128;
inline constexpr int kPocketIp = 33141;
inline constexpr int kLayerMove = 33202;
inline constexpr int kCharacters = 33204;
inline constexpr int kCurveList = 33000;
// A figure command that picks curves (pick state 55) and comes back here.
inline constexpr int kBatchTangentCircles = 33251;
}  // namespace curve_cmd

// Pick states of the family besides the command ids.
inline constexpr int kPickStateTaperFigure = 222;
inline constexpr int kPickStateJoinMore = 350;
inline constexpr int kPickStateCopyTarget = 616;
// Above this many curves only the delete command starts.
inline constexpr int kCurveCommandLimit = 763;

// Starts curve command `id` (every curve handler calls it).
void BeginCurveCommand(int id);
// The first step of a command and the entry of each of its clicks.
int DispatchCurveCommand(int id);
// The per-command steps (curve_steps.cpp).
void ExecuteCurveCommand(int id, platform::DeviceContext* dc);
// Ends the current pick cycle: pick words, work count, the prompt value
// 10.0, a fresh work copy of the curve figures and the figure list cleared.
void ResetCurveCommand();
// Closes the curve list, clears the prompt and the pick states.
void CancelCurveCommand();
// The end of a finished command: the pick ends, the view is redrawn and in
// continuous mode the command starts again.
void FinishCurveCommand(int id);

}  // namespace dorn
