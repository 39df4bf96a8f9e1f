#pragma once
// What the step scripts of the figure commands share: reading the step
// counter, asking for values, points and figures, the candidate choice and
// the common end that stores the figure. Used only inside the engine.
#include <functional>
#include <string>

#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// The inputs taken so far (the low bits of the step counter).
int Step();
// One input more, in the same call.
void AdvanceStep();

// Dialog texts of the next request (UTF-8 source texts, shown in CP932).
void SetValueTexts(const std::string& titleCp932, const char* label);
void SetPointTexts(const std::string& titleCp932, const char* labelX, const char* labelY);
// A title with values formatted in (printf of the CP932 text).
std::string Title(const char* utf8Format);
std::string Title(const char* utf8Format, double a);
std::string Title(const char* utf8Format, double a, double b);
std::string Title(const char* utf8Format, double a, double b, double c);

// The value dialog: 0 taken (ValueInputValue), else the call returns and
// waits. A typed value that `accept` refuses (and any non-finite one) beeps
// and is asked again.
int PromptValueStep(const std::function<bool(double)>& accept = {});
// The point dialog: 0 taken (PointInputValue), 1 mouse, 2 intersection,
// 3 end point, 99 closed, negative cancelled.
int PromptPointStep();
// Asks for a figure pick: pick state 5, the pick flag in the step, prompt.
void AwaitFigurePick(int prompt);
// The figure picked last (block 0) goes to block `block`.
void TakePickedFigure(int block);

// The start of the transforms: the figures picked (with CTRL, several) end
// up in blocks 70 on, ended by an empty block. 1 while a pick is awaited.
int SelectFiguresStep();

// Common end: undo snapshot, number and group cleared, stored and drawn,
// pick state finished. False when the table was full (the command ends).
bool FinishFigure();
// An undo snapshot before an edit of the current table.
void TakeUndoSnapshot();
// Stores g_curFigure as a new figure (number and group cleared) without
// ending the command.
bool StoreNewFigure();
// A point entered relative to the current origin, in the frame of `origin`.
Vec2 InFrame(Vec2 point, Vec2 origin);
// The candidates in blocks 6.. wait for the choosing click (after an undo
// snapshot, so that the chosen one is undone as one step).
void ChooseCandidates(int n);
// The figure command ends: pick state finished.
void EndCommand();
// Is the value acceptable as a radius / a count factor...
bool NonZero(double v);
bool Positive(double v);

// The steps of each family; -1 when the id is not one of theirs.
int RunLineCommand(int kind);
int RunCircleCommand(int kind);
int RunTransformCommand(int kind);
int RunEditCommand(int kind);
// The commands carried out by the figure operations, origins, contours and
// the layer split.
int RunOperationCommand(int kind);
// The attribute changes and the circles of one diameter in a BOX.
int RunAttributeCommand(int kind);

}  // namespace dorn
