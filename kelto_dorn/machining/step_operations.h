#pragma once
// The step operations every definition dialog offers on the working
// definition (g_curMachiningDef): add and delete a process step, reset the
// special modes of a step, and the repeat-block helpers the repeat,
// section-cut and area-cut dialogs share. A step exists while its tool's
// in-use word is set; steps stay packed from step 0.
#include <string_view>

#include "kelto_dorn/machining/machining_definition.h"

namespace dorn {

// The dialogs create at most this many of the 12 steps.
inline constexpr int kMaxDialogSteps = 8;

// The step the open dialog edits (g_curStepIndex, held within 0..11) and its tool.
StepCondition& CurrentStep();
AtcRecord& CurrentStepTool();

// The number of in-use steps from step 0.
int CountProcessSteps(const MachiningDefinition& d);

// Marks step 0 in use and gives it a diameter of 1e-6 when it has none, so a
// definition always has a step.
void EnsureFirstStep(MachiningDefinition& d);

// Adds a step behind the last one as a copy of it with the next colour and
// makes it current (g_curStepIndex); false at 8 steps.
bool AddProcessStep();

// Deletes the current step: the later steps move one place down and the last
// place is cleared; the current index stays, or moves to the new last step.
// False with one step or none.
bool DeleteProcessStep();

// リセット: approach, escape and compensation with their companion words, the
// repeat in-use words, the step mode and the area-cut value of the current
// step to 0; the second repeat block's kind to 2.
void ResetStepModes();

// The diameter rule of the step page: without a tip length the diameter is
// 2 x (corner radius + flat radius) when the radii are given (a tool given by
// its diameter alone keeps it), and never exactly 0.
void ApplyDiameterRule(AtcRecord& tool);

// The definition name typed into a dialog: leading blanks dropped, other
// blanks become '_'. A name another stored definition has is refused with
// message 19 (false); else it becomes the name of the current slot's index
// record, cut on a character boundary to fit.
bool CheckDefinitionName(std::string_view typedCp932);

void DropEmptyRepeatBlocks();
void ClearRepeatBlocks();
void SaveRepeatContext(int mode);
void RestoreRepeatContext();

}  // namespace dorn
