#pragma once
// The data edit (IDD 267, "データ編集"): picks a data file of a drawing
// folder and writes "$EDIT.@@@" (unit, second name, name, extension), with
// which the companion program's editor opens it. Works on a copy of the
// system record that the caller takes back.
#include <string>

#include "platform/dialog.h"
#include "shared/handover/drawing_header.h"

namespace dorn {

inline constexpr int kDataEditDialogId = 267;

namespace data_edit {
inline constexpr int kUnit = 1359, kSecond = 1360, kList = 1024, kRun = 1178;
}

// The 196-byte hand-over record of "$EDIT.@@@".
struct EditRequestRecord {
  char unitName[64] = {};
  char secondName[64] = {};
  char fileName[64] = {};
  char extension[4] = {};
};
static_assert(sizeof(EditRequestRecord) == 196);

// The record for a data file name (CP932): false for a name that would hand
// over another file (more than one ".", an extension longer than three
// characters, or a name too long for its field).
bool MakeEditRequest(const handover::DrawingHeader& header, const std::string& name, EditRequestRecord& out);

class CDataEditDlg : public platform::Dialog {
 public:
  explicit CDataEditDlg(handover::DrawingHeader& header);

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnDoubleClick(int id) override;
  void OnOk() override {}

 private:
  void Fill();
  void WriteEditRequest();
  handover::DrawingHeader& header_;
};

// Runs the dialog on a copy of the system record: 1 after "$EDIT.@@@" was
// written, 2 when cancelled or the request could not be written.
int RunDataEditDialog(handover::DrawingHeader& header);

}  // namespace dorn
