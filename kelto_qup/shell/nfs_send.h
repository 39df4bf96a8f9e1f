#pragma once
// The network-drive send (command 32866, the DNC list's NFS_OUT and the end
// of an NC creation run with the header's network switch): the drawing's NC
// program, and its hole subprogram when there is one, are copied to a folder
// of one of five drive slots or to a picked folder. The settings live in
// "$NFS_NAM2.@@@" (companion-only). Copies go under a temporary name and are
// renamed; a missing source or an unwritable target is said, never passed
// over.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "kelto_qup/engine/run_context.h"
#include "platform/dialog.h"
#include "platform/record_file.h"

namespace qup::shell {

// "$NFS_NAM2.@@@", 720 bytes (program folder), read and written whole.
struct NfsSendSettings {
  std::int32_t selection = 0;  // the selected slot's drive number, 99 a picked folder
  std::int32_t slot1 = 0, slot2 = 0;
  char letter1[4] = {}, letter2[4] = {};
  char drive[4] = {};    // current drive text "X:"
  char folder[512] = {};  // target folder, empty = the drive's root; ends in "\" when set
  char label1[32] = {}, label2[32] = {};
  std::int32_t slot3 = 0, slot4 = 0, slot5 = 0;
  char letter3[4] = {}, letter4[4] = {}, letter5[4] = {};
  char label3[32] = {}, label4[32] = {}, label5[32] = {};
};
static_assert(sizeof(NfsSendSettings) == 720);
static_assert(offsetof(NfsSendSettings, folder) == 24);
static_assert(offsetof(NfsSendSettings, label1) == 536);
static_assert(offsetof(NfsSendSettings, slot3) == 600);
static_assert(offsetof(NfsSendSettings, letter3) == 612);
static_assert(offsetof(NfsSendSettings, label3) == 624);
static_assert(platform::FileRecord<NfsSendSettings>);

inline constexpr char kNfsSettingsFileName[] = "$NFS_NAM2.@@@";
inline constexpr int kPickedFolder = 99;

// One of the five drive slots (1-5) of the settings, by reference.
struct NfsSlotRef {
  std::int32_t& number;  // drive number, 0 = A
  char* letter;          // 4 bytes: the letter and zeros
  char* label;           // 32 bytes
};
NfsSlotRef NfsSlot(NfsSendSettings& s, int slot);
inline constexpr int kNfsSlotCount = 5;
inline constexpr std::size_t kNfsLabelBytes = 32;

// Fills every slot whose letter is 0 with its default.
void ApplyNfsDefaults(NfsSendSettings& s);
// Reads the settings; missing: defaults; damaged: defaults and the message.
platform::FileResult ReadNfsSettings(NfsSendSettings& s);
platform::FileResult WriteNfsSettings(const NfsSendSettings& s);

// Takes "<root>\<unit>\<second>\DAT\<name>.<ext>" apart from its end into the
// header's names (any data root length); false when it has too few parts.
bool SplitListedPath(const std::string& pathCp932, handover::DrawingHeader& header);

// The target of a send: a picked folder (selection 99) + name, else the
// current drive's folder + folder + name, folders created below the drive.
// Empty with `why` set when the drive is not mapped or the folder climbs.
std::filesystem::path NfsTargetPath(const NfsSendSettings& s, const std::string& nameCp932, std::string& why);

// Copies source to target whole (temporary name, rename). 0, or 95 (source)
// or 96 (target).
int CopyWhole(const std::filesystem::path& source, const std::filesystem::path& target);

class CNfsSendDlg : public platform::Dialog {
 public:
  static constexpr int kTemplateId = 142;
  static constexpr int kSlot1 = 1024, kSlot2 = 1025, kSlot3 = 1027, kSlot4 = 1028, kSlot5 = 1030;
  static constexpr int kFolder = 1003, kName = 1005, kShared = 1017, kSend = 1016, kAutoTimer = 41;
  static constexpr int kFolderList = 1026, kDriveChange = 1029;
  CNfsSendDlg(RunContext& run, handover::DrawingHeader& header, int automatic);
  bool Sent() const { return sent_; }

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnTimer(int timerId) override;
  void OnClick(int id) override;
  void OnOk() override;
  void OnCancel() override;

 private:
  void Refresh();
  void TakeFields();
  void PickShared();
  void Send();
  bool SendOne(const std::string& sourceName, const std::string& targetName);
  RunContext& run_;
  handover::DrawingHeader& header_;
  int automatic_;
  NfsSendSettings settings_{};
  std::string targetName_;
  bool sent_ = false;
};

// Runs the send dialog on a copy of the run's header (fromList: the path
// buffer names the file; above 40 it sends by itself). 1 when sent.
int RunNfsTransfer(RunContext& run, int fromList);

}  // namespace qup::shell
