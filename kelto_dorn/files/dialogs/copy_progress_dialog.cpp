#include "kelto_dorn/files/dialogs/copy_progress_dialog.h"

#include "platform/text.h"

namespace dorn {

namespace {
using platform::ControlKind;
namespace id = copy_progress;
}  // namespace

CCopyProgressDlg::CCopyProgressDlg()
    : platform::Dialog(kCopyProgressDialogId, "",
                       {{ControlKind::GroupBox, id::kOutGroup, ""},
                        {ControlKind::StaticText, id::kSource, "", id::kOutGroup, 420},
                        {ControlKind::GroupBox, id::kInGroup, ""},
                        {ControlKind::StaticText, id::kTarget, "", id::kInGroup, 420}}) {}

void CCopyProgressDlg::Start(std::string_view caption) {
  CreateModeless();
  SetTitle(caption);
  SetText(id::kOutGroup, platform::Sjis("コピー元のファイル名"));
  SetText(id::kInGroup, platform::Sjis("コピー先のファイル名"));
}

void CCopyProgressDlg::ShowFiles(const std::string& source, const std::string& target) {
  SetText(id::kSource, source);
  SetText(id::kTarget, target);
}

}  // namespace dorn
