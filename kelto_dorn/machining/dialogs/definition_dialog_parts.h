#pragma once
// Controls that the contour and hole definition dialogs fill alike: the post
// combo ("No.%02d::%s"), the work coordinate combo (G54-G59), the combo of
// the curves of the curve list, the 加工名 button that prefixes the
// definition name with a name from the capsule name list, and the marks of
// the 複数, ＭＯＶＥ and 多数個取り buttons.
#include <vector>

#include "kelto_dorn/machining/machining_definition.h"
#include "platform/dialog.h"

namespace dorn {

// The post combo lists posts 1 .. count-1. A definition without a post takes
// the current post; a number outside the table shows "No.%02d::" alone and is
// kept.
void FillPostCombo(platform::Dialog& dialog, int id, MachiningDefinition& d);
// The post chosen in the combo.
void StorePostChoice(platform::Dialog& dialog, int id, MachiningDefinition& d);

// " G54 " .. " G59 ", `selection` selected.
void FillWorkOffsetCombo(platform::Dialog& dialog, int id, int selection);

// The names of the curves of the curve list; items whose key no longer
// resolves are left out. Returns the item index of each combo row; the row of
// g_curContourItem is selected.
std::vector<int> FillCurveCombo(platform::Dialog& dialog, int id, MachiningDefinition& d);

// 加工名: the capsule name list; on its OK the definition name of the current
// slot becomes the chosen name followed by the old name's tail. An empty
// opener changes nothing. The name field `nameId` then shows the slot's name.
void ChooseNameFromCapsuleList(platform::Dialog& dialog, int nameId);

// 複数 checked while more than one figure is picked; ＭＯＶＥ and 多数個取り
// checked while their first entry is set and enabled while their opener is
// installed; 加工名 enabled while the capsule name opener is.
void ShowFigureAndTransformButtons(platform::Dialog& dialog, const MachiningDefinition& d, int nameButtonId, int moreId,
                                   int moveId, int multiPieceId);

}  // namespace dorn
