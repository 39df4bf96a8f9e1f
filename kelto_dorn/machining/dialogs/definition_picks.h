#pragma once
// How a definition dialog hands over to the figure pick and takes the pick
// back: ending for a fresh pick or one more figure, the 移動 / 多数個取り
// openers whose answer may ask for a pick, and removing the current figure.
// The contour and hole definition dialogs do this alike.
#include <functional>
#include <vector>

#include "kelto_dorn/machining/machining_definition.h"
#include "platform/dialog.h"

namespace dorn {

// The codes a definition dialog ends with to pick its figures anew, or to
// pick one more after those it has.
inline constexpr int kPickRepick = 100;
inline constexpr int kPickMore = 111;
// The DRAW list's answer when the user wants to pick the curves to draw.
inline constexpr int kPickDraw = 910;

// The state a definition dialog forgets when it ends for a pick: the contour
// dialog its count of picked figures, the hole dialogs their step button,
// tool and insert/delete modes.
enum class PickStateReset { ContourPicks, HoleSteps };

// Ends `dialog` with `code` for a pick. For kPickMore the new figure goes
// after the last item of the curve list; with the list full there is no
// room: beeps and the dialog stays open. Returns whether the dialog ended.
bool EndDefinitionForPick(platform::Dialog& dialog, const MachiningDefinition& d, int code, PickStateReset reset);

// The DRAW menu entry: runs the DRAW curve list; its answer kPickDraw ends
// `dialog` for that pick. The caller commits its focused field first.
void RunDrawListForPick(platform::Dialog& dialog);

// Runs the 移動 or 多数個取り opener of a hole dialog, its `button` checked.
// An answer of `pickCode` ends the dialog with it and is kept to resume the
// opener after the pick; a stored or cancelled opener starts the dialog over
// at the first step and figure. Returns whether the dialog stays open and
// wants its page refreshed (false too when there is no opener).
bool RunHoleTransformOpener(platform::Dialog& dialog, int button, const std::function<int()>& opener, int pickCode);

// 削除 of a figure: asks, then removes the current item of the curve list and
// refills the curve combo `comboId` into `rows`. The last figure stays.
// Returns whether a figure was removed.
bool RemoveCurrentFigure(platform::Dialog& dialog, int comboId, MachiningDefinition& d, std::vector<int>& rows);

}  // namespace dorn
