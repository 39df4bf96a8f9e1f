#include "kelto_dorn/tooldb/db_messages.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "kelto_dorn/tooldb/db_selection.h"
#include "platform/backend.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {
namespace {

constexpr std::array kMessages = std::to_array<MessageEntry>({
    {0, MessageKind::Error, MessageValue::TextBuffer, "削除出来ません.....\n\n%s"},
    {1, MessageKind::Error, MessageValue::TextBuffer, "工具情報のファイル %s\t .Error !!!!!"},
    {2, MessageKind::Question, MessageValue::BaseName, "加工材料名 : %s\n※削除しても宜しいですか ??\n"},
    {4, MessageKind::Question, MessageValue::ToolName, "工具名 : %s\n※削除しても宜しいですか ??\n"},
    {5, MessageKind::Question, MessageValue::ToolName, "%s の工具データすべて削除されます...\n  宜しいですか ??"},
    {6, MessageKind::Question, MessageValue::None, "工具情報をコピーしますか ??"},
    {7, MessageKind::Question, MessageValue::MachineName, "ATC::機械名 : %s\n※削除しても宜しいですか ??\n"},
    {8, MessageKind::Question, MessageValue::MachineName, "%s のATC工具データすべて削除されます..\n\t宜しいですか ??"},
    {9, MessageKind::Error, MessageValue::None, "穴工程を入力してから登録して下さい ??"},
    {10, MessageKind::Question, MessageValue::HoleProcessName, "穴工程名::%s\n※削除しても宜しいですか ??\n"},
    {11, MessageKind::Question, MessageValue::StepNumber, "現在の輪郭工程[%02d]\n※削除しても宜しいですか ??\n"},
    {12, MessageKind::Question, MessageValue::CurveName, "図面名::%s\n※削除しても宜しいですか ??"},
    {13, MessageKind::Question, MessageValue::SurfaceName, "曲面名::%s\n※削除しても宜しいですか ??"},
    {14, MessageKind::Error, MessageValue::None, "工具径より面取りＣ＝ｎのほうが大きいすぎます !!"},
    {15, MessageKind::Error, MessageValue::None, "工具径より値が小さすぎます !!"},
    {19, MessageKind::Error, MessageValue::None, "加工定義名が重複します．．．!!"},
    {20, MessageKind::Question, MessageValue::None, "現在の加工定義の工具情報を変換しますか ??"},
    {40, MessageKind::Question, MessageValue::None, "工具Ｚ測定位置の指定がありません ?????"},
    {44, MessageKind::Error, MessageValue::None, "登録名の変更が出来ません ?!"},
    {50, MessageKind::Error, MessageValue::TextBuffer, "ファイルＯｐｅｎエラー [ %s ]"},
    {60, MessageKind::Error, MessageValue::None, "？？正しく並べ替え出来ない可能性があります..."},
    {64, MessageKind::Error, MessageValue::None, "原点数が多すぎます...."},
    {74, MessageKind::Error, MessageValue::None, "一致する機械名が見つかりません ????"},
    {76, MessageKind::Error, MessageValue::TextBuffer, "一致する工具名が見つかりません ??\n%s"},
    {89, MessageKind::Question, MessageValue::ToolName, "[%s] 工具情報を保存せずに終了しますか ??"},
    {90, MessageKind::Question, MessageValue::None, "空の工具情報を保存しますか ?????"},
    {94, MessageKind::Error, MessageValue::None, "ＤＢＳメモリーが確保出来ません Error !!!!!"},
    {95, MessageKind::Error, MessageValue::None, "ＨＤファイルがＯＰＥＮ出来ません Error !!!!!"},
    {96, MessageKind::Error, MessageValue::None, "ＦＤファイルがＯＰＥＮ出来ません Error !!!!!"},
    {98, MessageKind::Error, MessageValue::None, "工具システムを終了して下さい Error !!!!!"},
    {99, MessageKind::Error, MessageValue::None, "ファイル::ERROR....保存しませんError !!!!!"},
    {100, MessageKind::Error, MessageValue::None, "▲　正しくデータ条件がセットされていません!!"},
    {101, MessageKind::Error, MessageValue::None, "▲ 材料／工具タイプが選択されていません!!"},
    {102, MessageKind::Error, MessageValue::None, "▲ 工具データが多すぎます!!"},
});

MessageValueSources& Sources() {
  static MessageValueSources sources;
  return sources;
}

// The value of an entry in CP932 bytes; nothing when the message must show an
// empty box.
std::optional<std::string> ValueOf(MessageValue value) {
  const MessageValueSources& s = Sources();
  switch (value) {
    case MessageValue::None:
      return std::string();
    case MessageValue::TextBuffer:
      return s.textBuffer ? s.textBuffer() : std::string();
    case MessageValue::BaseName:
      return platform::FieldText(g_dbSelection.baseName);
    case MessageValue::ToolName:
      return platform::FieldText(g_dbSelection.toolName);
    case MessageValue::MachineName:
      return platform::FieldText(g_dbSelection.machineName);
    case MessageValue::HoleProcessName:
      return s.holeProcessName ? s.holeProcessName() : std::string();
    case MessageValue::StepNumber: {
      char number[16];
      std::snprintf(number, sizeof number, "%02d", (s.currentStepIndex ? s.currentStepIndex() : 0) + 1);
      return std::string(number);
    }
    case MessageValue::CurveName:
      return s.curveNameOfCurrentItem ? s.curveNameOfCurrentItem() : std::nullopt;
    case MessageValue::SurfaceName:
      return s.surfaceNameOfCurrentItem ? s.surfaceNameOfCurrentItem() : std::nullopt;
  }
  return std::string();
}

}  // namespace

const MessageEntry* FindMessage(int code) {
  for (const MessageEntry& entry : kMessages) {
    if (entry.code == code) return &entry;
  }
  return nullptr;
}

void SetMessageValueSources(MessageValueSources sources) { Sources() = std::move(sources); }
void ResetMessageValueSources() { Sources() = MessageValueSources{}; }

std::string BuildMessageText(int code) {
  const MessageEntry* entry = FindMessage(code);
  if (entry == nullptr) return std::string();
  const std::string& text = platform::Sjis(entry->textUtf8);
  if (entry->value == MessageValue::None) return text;
  std::optional<std::string> value = ValueOf(entry->value);
  if (!value) return std::string();
  // The value is put in as bytes, never passed through a format function:
  // names and paths may hold '%'.
  const std::string_view marker = entry->value == MessageValue::StepNumber ? "%02d" : "%s";
  const std::size_t at = text.find(marker);
  if (at == std::string::npos) return text;
  std::string result = text.substr(0, at);
  result += *value;
  result += text.substr(at + marker.size());
  return result;
}

MessageKind MessageKindOf(int code) {
  const MessageEntry* entry = FindMessage(code);
  return entry == nullptr ? MessageKind::Question : entry->kind;
}

int ShowMessage(int code) {
  platform::MessageBoxRequest request;
  request.text = BuildMessageText(code);
  if (MessageKindOf(code) == MessageKind::Question) {
    request.buttons = platform::MessageButtons::YesNo;
    request.icon = platform::MessageIcon::Question;
  } else {
    request.buttons = platform::MessageButtons::Ok;
    request.icon = platform::MessageIcon::Stop;
  }
  // Without a window system nobody can answer: a question is taken as No, so
  // nothing is deleted or overwritten unasked.
  if (!platform::HasBackend()) {
    return request.buttons == platform::MessageButtons::YesNo ? kAnswerNo : kAnswerOk;
  }
  return platform::ShowMessageBox(request);
}

}  // namespace dorn
