#pragma once
// The numbered message box of the database dialogs and of the definition
// dialogs' delete questions. A caller passes a code and acts only on the answer
// 6 (Yes). Some texts carry one value, which comes from the current global
// records (never from an argument): the shared text buffer, the selected base,
// tool folder or machine, the current hole process, the current step, or the
// name of the curve or surface of the current curve-list item.
#include <functional>
#include <optional>
#include <string>

namespace dorn {

enum class MessageKind {
  Question,  // Yes / No, question icon
  Error,     // OK, stop icon
};

// Answers of the box.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// Where the value of a message comes from.
enum class MessageValue {
  None,
  TextBuffer,       // what the caller has just written to the shared text buffer
  BaseName,         // selection: current tool base
  ToolName,         // selection: current tool folder
  MachineName,      // selection: current machine
  HoleProcessName,  // current hole process record
  StepNumber,       // current process step + 1, "%02d"
  CurveName,        // curve whose key is in the current curve-list item
  SurfaceName,      // surface whose key is in the current curve-list item
};

struct MessageEntry {
  int code;
  MessageKind kind;
  MessageValue value;
  const char* textUtf8;  // as the system shows it; "%s" or "%02d" marks the value
};

// The entry of a code, or nothing for a code the table does not list.
const MessageEntry* FindMessage(int code);

// The values that live in other subsystems, installed by them at start-up
// (tests install their own). An unset source gives an empty value; a curve or
// surface source that finds no such key gives nothing, and the message is then
// an empty box.
struct MessageValueSources {
  std::function<std::string()> textBuffer;       // CP932 bytes
  std::function<std::string()> holeProcessName;  // CP932 bytes
  std::function<int()> currentStepIndex;         // 0-based
  std::function<std::optional<std::string>()> curveNameOfCurrentItem;
  std::function<std::optional<std::string>()> surfaceNameOfCurrentItem;
};
void SetMessageValueSources(MessageValueSources sources);
void ResetMessageValueSources();

// The text of a code in CP932 bytes, its value filled in. A code that the table
// does not list, or a curve or surface message whose key names nothing, gives
// an empty text.
std::string BuildMessageText(int code);

// The kind of box a code shows (an unlisted code is an empty question).
MessageKind MessageKindOf(int code);

// Shows the box of `code` and returns its answer: 6 Yes, 7 No, 1 OK.
int ShowMessage(int code);

}  // namespace dorn
