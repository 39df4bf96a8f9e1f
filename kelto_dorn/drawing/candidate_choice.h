#pragma once
// The choice among construction candidates: constructions with several
// answers put them into segment blocks 6-21 (a curve offset into the two work
// lists from blocks 10000 and 20000); ResetPickSlots prepares the choosing
// click and DrawPickHighlights shows the candidates.
#include "platform/device_context.h"

namespace dorn {

inline constexpr int kFirstCandidateBlock = 6;
inline constexpr int kLastCandidateBlock = 21;
inline constexpr int kCandidateColour = 5;
// The two work lists of a curve offset: each runs to its first empty block,
// at most kWorkListLimit blocks.
inline constexpr int kWorkListA = 10000;
inline constexpr int kWorkListB = 20000;
inline constexpr int kWorkListLimit = 9990;
// The pick state in which the next click chooses a candidate.
inline constexpr int kPickStateChooseCandidate = 7;
// The prompt shown while candidates wait: " 図形をマウスでピックして下さい....."
inline constexpr int kPromptPickFigure = 1017;

// The number of figures of the work list starting at block `first`.
int WorkListLength(int first);

// Clears the candidate blocks above the n in use (n = 2, 4, 6, 8; other
// values clear nothing), sets the command step to |n|, the picked-block
// number g_workCount to |n| + 5, the candidate page to 0, g_pickIndex to 0,
// the pick state to 7 and the pending-choice flag, and draws the candidates.
void ResetPickSlots(int n);

// Draws the candidates of the current page (or both work lists in the
// two-list mode) in colour 5 and shows prompt 1017; with no candidate at all
// the pick ends (EndPick) and the view is redrawn. g_curFigure is kept.
void DrawPickHighlights(platform::DeviceContext& dc);
// The same on a device context of the view (without a view only the prompt
// or the end of the pick).
void DrawPickHighlights();

// The candidate page that F7, F8 and F9 choose (1-3; 0 shows all).
void SetCandidatePage(int page);

}  // namespace dorn
