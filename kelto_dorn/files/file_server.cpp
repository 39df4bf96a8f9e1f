#include "kelto_dorn/files/file_server.h"

#include <system_error>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/files/user_paths.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"

namespace dorn {

namespace fs = std::filesystem;

namespace {
constexpr int kDriveCount = 26;
constexpr std::size_t kFolderBytes = 127;
}  // namespace

bool RegisterFileServer(const FileServerChoice& choice, std::string& message) {
  if (choice.driveIndex < 0 || choice.driveIndex >= kDriveCount) {
    message = platform::Sjis("DRIVE:? 選択されていません");
    return false;
  }
  handover::FileServerSettings record = g_fileServerSettings;
  record.enabled = choice.enabled ? 1 : 0;
  record.value = choice.driveIndex;
  platform::SetFieldText(record.folder, choice.folder.substr(0, platform::Cp932PrefixLength(choice.folder, kFolderBytes)));
  const std::string programFolder = platform::SystemName(platform::ProgramFolder());
  fs::path root = platform::ProgramFolder();
  if (choice.enabled) {
    const std::string typed = std::string(1, static_cast<char>('A' + choice.driveIndex)) + ":\\" +
                              platform::FieldText(record.folder);
    const auto resolved = ResolveUserPath(typed);
    if (!resolved) {
      message = platform::Sjis("ドライブ ") + typed.substr(0, 2) + platform::Sjis(" は割り当てられていません");
      return false;
    }
    root = *resolved;
  }
  const std::string rootText = platform::SystemName(root);
  // The record holds each folder in 127 bytes and a terminator: a longer one
  // would be cut and name another folder.
  if (rootText.size() > kFolderBytes || programFolder.size() > kFolderBytes) {
    message = platform::Sjis("フォルダ名が長すぎます (127バイトまで)\n") + rootText;
    return false;
  }
  platform::SetFieldText(record.programFolder, programFolder);
  platform::SetFieldText(record.serverPath, rootText);
  const platform::FileResult written =
      platform::WriteRecords(platform::ProgramFolder() / handover::kFileServerFileName, &record, 1);
  if (!written.ok()) {
    message = platform::Sjis("設定に失敗しました\n") + programFolder;
    return false;
  }
  g_fileServerSettings = record;
  g_programFolder = platform::ProgramFolder();
  g_dataFolder = root;
  platform::SetDataRoot(root);
  std::error_code ec;
  for (const char* name : {"_DBS", "_ATC", "_ANA", "_CPS"}) fs::create_directories(root / name, ec);
  const fs::path drawing = platform::ResolvePath(platform::ResolvePath(root, platform::FieldText(g_drawingHeader.unitName)),
                                                 platform::FieldText(g_drawingHeader.secondName));
  fs::create_directories(drawing / "SEG", ec);
  fs::create_directories(drawing / "DAT", ec);
  message = platform::Sjis(choice.enabled ? "ファイルサーバーの設定をしました" : "ファイルサーバーの設定を解除しました");
  return true;
}

}  // namespace dorn
