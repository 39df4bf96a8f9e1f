#pragma once
// The NC data transfer dialog (IDD 264, "  データ転送"): the user picks NC
// programs of a drawing folder's "DAT" folder, the serial port (COM1..COM9)
// or the network drive (NFS_OUT) and two display options; the chosen files'
// paths go to the transfer list "$TXD.@@@" in the order they were chosen,
// for the companion's DNC send (start mode 22).
#include <string>
#include <vector>

#include "kelto_dorn/camdata/cam_services.h"
#include "platform/dialog.h"
#include "shared/handover/drawing_header.h"

namespace dorn {

namespace data_transfer {
inline constexpr int kTemplateId = 264;
inline constexpr int kUnit = 1003, kSecond = 1005, kFiles = 1007, kPort = 1035;
inline constexpr int kGraphic = 1040, kDataList = 1041, kNfsOut = 1042;
inline constexpr int kCopy = 1043, kDelete = 1044, kPortSettings = 1045, kExecute = 1016;
inline constexpr std::size_t kMaxSelection = 510;

// Port byte bits the dialog sets.
inline constexpr int kPortMask = 0x0F, kDraw = 0x10, kList = 0x20, kNetwork = 0x40;
// The option buttons' rules on the port byte.
int ToggleGraphic(int portByte);
int ToggleDataList(int portByte);
int ToggleNfsOut(int portByte);
int ChoosePort(int portByte, int index);

// A file list line: "%-20s   %7d %04d-%02d-%02d %02d:%02d.%02d".
std::string FileLine(const std::string& nameCp932, long long size, std::time_t modified);
// The file name of a list line (up to its first double blank); empty for a
// folder line ("[DIR]...").
std::string NameOfLine(const std::string& line);
// A typed or listed name cut at its first double blank or "." and kept to
// 52 bytes (the unit and second names).
std::string FolderNameOf(const std::string& text);
}  // namespace data_transfer

class CDataTransferDlg : public platform::Dialog {
 public:
  // Works on `header`: the caller keeps what it needs of it (the port byte).
  CDataTransferDlg(const CamServices& services, handover::DrawingHeader& header);
  // The list lines chosen, in the order chosen.
  const std::vector<int>& Selection() const { return selection_; }

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnDoubleClick(int id) override;
  void OnOk() override {}  // Enter does nothing

 private:
  void Refresh();
  void ShowOptions();
  void TakeSelection();
  void TakeFolderName(int id);
  void WriteList();
  CamServices services_;
  handover::DrawingHeader& header_;
  std::vector<int> selection_;
};

// Runs the dialog on a copy of `header` and gives back only the port byte.
// 1 when at least one file was listed, 2 otherwise.
int RunDataTransferDialog(const CamServices& services, handover::DrawingHeader& header);

}  // namespace dorn
