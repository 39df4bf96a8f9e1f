#include "kelto_qup/shell/dnc_send.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "shared/handover/transfer_list.h"

namespace qup::shell {

namespace {

constexpr int kMonitorHidden = 0x8000;
constexpr int kNetworkSend = 0x40;
constexpr int kAutomaticSend = 41;
constexpr unsigned kOkCancelQuestion = 0x21;

std::string Formatted(const char* utf8Format, int number, const std::string& text) {
  std::vector<char> buffer(text.size() + 256);
  std::snprintf(buffer.data(), buffer.size(), platform::Sjis(utf8Format).c_str(), number, text.c_str());
  return buffer.data();
}

std::string WithPath(const char* utf8Format, const std::string& path) {
  std::vector<char> buffer(path.size() + 256);
  std::snprintf(buffer.data(), buffer.size(), platform::Sjis(utf8Format).c_str(), path.c_str());
  return buffer.data();
}

// The header words of a send: no block list, no pause, normal speed.
void PrepareSendModes(RunContext& run) {
  handover::DrawingHeader& h = run.job.Header;
  h.ncDisplayFlags = kMonitorHidden;
  run.output.MonitorFlags = kMonitorHidden;
  run.output.StepPause = 0;
  h.executionMode = 0;
  run.output.RunExecutionMode = 0;
}

// One file over the serial port, after the question: 1 sent, 0 skipped,
// -1 not sent whole.
int SendOverPort(RunContext& run, const std::string& path) {
  const int port = (run.job.Header.portByte & 0x0F) + 1;
  const std::string question = Formatted("[COM%d]::データ転送を開始しますか ?\n [%s]", port, path);
  if (platform::ShowMessageBox(question, {}, kOkCancelQuestion) != platform::kIdOk) return 0;
  run.transfer.Com.Title = WithPath("Kelto_Qup : データ転送します[%s]", path);
  run.host.SetTitleText(run.transfer.Com.Title);
  run.host.Beep();
  run.output.ListLineCount = 0;
  run.host.ClearList();
  return run.RunNcTextCheck() == 0 ? 1 : -1;
}

}  // namespace

int DncSendAll(RunContext& run) {
  PrepareSendModes(run);
  std::vector<std::string> paths;
  const platform::FileResult read =
      handover::ReadTransferList(platform::ResolvePath(platform::ProgramFolder(), handover::kTransferListFileName), paths);
  if (!read.ok()) {
    // A damaged list sends nothing; a missing one has nothing to send.
    if (!read.missing()) run.host.ShowErrorBox(platform::Utf8ToCp932(read.message));
    return read.missing() ? 0 : -1;
  }
  int sent = 0;
  std::string failed;
  for (const std::string& path : paths) {
    run.transfer.Com.PathBuffer = path;
    run.AbortFlag = 0;
    int outcome = 0;
    if ((run.job.Header.portByte & kNetworkSend) != 0) {
      outcome = run.host.RunNfsTransfer(kAutomaticSend) == 1 ? 1 : -1;
    } else {
      outcome = SendOverPort(run, path);
    }
    if (outcome == 1) ++sent;
    if (outcome < 0) {
      failed = path;
      run.host.AddListLine(WithPath("＊＊＊ 送信を中止しました：[%s] は送信が完了していません ＊＊＊", path));
      break;
    }
  }
  if (failed.empty()) {
    run.host.SetTitleText(platform::Sjis("Kelto_Qup  :  データ転送終了しました......."));
  } else {
    run.host.SetTitleText(WithPath("Kelto_Qup  :  データ転送を中止しました [%s]", failed));
  }
  run.AbortFlag = 0;
  return sent;
}

}  // namespace qup::shell
