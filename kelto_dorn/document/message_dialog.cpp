#include "kelto_dorn/document/message_dialog.h"

#include <string>

#include "kelto_dorn/document/system_state.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;

CMessageDlg::CMessageDlg(std::string_view textCp932)
    : platform::Dialog(kMessageDialogId, g_messageCaption,
                       {ControlSpec(ControlKind::StaticText, kMessageTextId, std::string(textCp932)),
                        ControlSpec(ControlKind::PushButton, platform::kIdOk, "OK", 0, 0, 0,
                                    platform::control_style::kDefaultButton),
                        ControlSpec(ControlKind::PushButton, platform::kIdCancel, platform::Sjis("ｷｬﾝｾﾙ"))}) {}

CAboutDlg::CAboutDlg()
    : platform::Dialog(kAboutDialogId, platform::Sjis("バージョン情報"),
                       {ControlSpec(ControlKind::StaticText, kAboutTextId, g_versionText),
                        ControlSpec(ControlKind::PushButton, platform::kIdOk, "OK", 0, 0, 0,
                                    platform::control_style::kDefaultButton)}) {}

}  // namespace dorn
