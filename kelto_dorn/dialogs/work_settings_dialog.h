#pragma once
// The work settings (template 293, "  ワーク設定"): the drawing's name, the
// stock size, where the machining origin sits on the stock, the Z reference
// and the program number. The values are edited in place, field by field:
// a field is committed when another control takes the focus or "登 録" is
// pressed; closing otherwise keeps what was committed.
#include <string>
#include <string_view>

#include "platform/dialog.h"

namespace dorn {

inline constexpr int kWorkSettingsDialogId = 293;
inline constexpr int kDrawingNameMaxChars = 60;

// The drawing name the filter keeps of a typed text: leading blanks skipped,
// at most the text's first 60 bytes (a double-byte character is never cut),
// up to the first refused character: a blank followed by another, or a full
// stop, slash, colon, asterisk or backslash that is not the second byte of a
// double-byte character. Empty when the first character is refused.
std::string FilterDrawingName(std::string_view typedCp932);

class CWorkSettingsDlg : public platform::Dialog {
 public:
  CWorkSettingsDlg();

  // The focus codes of the edit fields.
  static constexpr int kFocusNone = 0;
  static constexpr int kFocusName = 1;
  static constexpr int kFocusWidth = 6;
  static constexpr int kFocusDepth = 7;
  static constexpr int kFocusThickness = 8;
  static constexpr int kFocusOffsetX = 12;
  static constexpr int kFocusOffsetY = 13;
  static constexpr int kFocusProgramNumber = 42;

  // The dialog colours of style 4.
  platform::DialogColors Colors() override;

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnOk() override;

 private:
  void Refresh();
  void CommitField();
  void SetOriginPosition(int code);
  int focusField_ = kFocusNone;
};

}  // namespace dorn
