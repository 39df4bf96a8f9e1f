#pragma once
// Message boxes with the button sets and icons the system uses. The answer is
// the button pressed: 1 OK, 2 Cancel, 6 Yes, 7 No.
#include <string>
#include <string_view>

namespace platform {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Stop, Question, Exclamation, Information };

struct MessageBoxRequest {
  std::string text;     // CP932
  std::string caption;  // CP932; empty: the program's title
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
};

// The request of a numeric style as the system's tables give it: low four
// bits the buttons (0 OK, 1 OK/Cancel, 3 Yes/No/Cancel, 4 Yes/No; others OK),
// bits 4-6 the icon (0x10 stop, 0x20 question, 0x30 exclamation,
// 0x40 information).
MessageBoxRequest MessageBoxFromStyle(std::string_view textCp932, std::string_view captionCp932, unsigned style);

// Shows the box modally and returns the answer.
int ShowMessageBox(const MessageBoxRequest& request);
int ShowMessageBox(std::string_view textCp932, std::string_view captionCp932, unsigned style);

// The answers a box can give, in button order; the first is the default.
int DefaultAnswer(MessageButtons buttons);
bool IsValidAnswer(MessageButtons buttons, int answer);

}  // namespace platform
