// The companion's numbered error box and the engine's error stop. The texts
// are the system's own, keyed by code; a code without a text shows the
// heading alone.
#include <cstdio>
#include <string>

#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {

namespace {

struct ErrorText {
  int code;
  const char* text;  // UTF-8; converted to CP932 for the box
};

constexpr ErrorText kErrorTexts[] = {
    {2, "ＭＯＶＥスタックがオ－バ－フロ－しました"},
    {3, "ＣＨＥＣＫスタックがオ－バ－フロ－しました"},
    {4, "ロ－テ－ションスタックがオ－バ－フロ－しました"},
    {5, "投影曲面指定が不正です"},
    {6, "ＣＡＬＬ命令の範囲が不正です"},
    {7, "ＳＥＴ図形との交点が見つかりません"},
    {8, "ＳＥＴ図形が不正です"},
    {9, "輪郭図形が不正です"},
    {10, "ＴＯ図形との交点が見つかりません"},
    {11, "ＧＯ図形が不正です"},
    {12, "ＧＯＲ＃図形が不正です"},
    {13, "コーナーＲ処理が出来ません"},
    {14, "ＳＥＴ・ＴＯの連続図形処理が出来ません"},
    {15, "ＣＡＬＬ命令に対するＴＯ図形が見つかりません"},
    {16, "ＳＥＴ・ＴＯ図形との交点が見つかりません"},
    {17, "点群デ－タ出力が出来ません"},
    {18, "出力デ－タ桁数が不正です"},
    {19, "断面図形の計算が出来ません"},
    {20, "投影曲面の計算が出来ません"},
    {21, "第２ベ－スライン図形が不正です"},
    {22, "第２ベ－スライン図形との交点が見つかりません"},
    {23, "ベ－スライン．２曲面の断面指定が不正です"},
    {24, "ＲＥＭＯＶＥ曲面指定が不正です"},
    {25, "ＣＨＥＣＫ曲面指定が不正です"},
    {26, "ＧＬ図形が不正です"},
    {27, "> NOT FIND CONTROL FILE  ......."},
    {28, "ＳＰＡＣＥ曲面のベ－スライン距離計算が出来ません"},
    {29, "ＲＩＢ曲面の断面位置指定線が不正です"},
    {30, "ＲＩＢ曲面の断面指定範囲が不足しています"},
    {31, "ＺＯＮＥ_輪郭図形処理が出来ません"},
    {32, "フィレット曲面のスタックがオ－バ－フロ－しました"},
    {33, "フィレット曲面の誘導線が不正です"},
    {34, "フィレット曲面の参照曲面計算が出来ません"},
    {35, "フィレット曲面のＣＲ指定が不正です"},
    {36, "システムスタック[A]．オ－バ－フロ－"},
    {37, "システムスタック[B]．オ－バ－フロ－"},
    {38, "ＸＹ曲面のベースラインに始点・終点がありません"},
    {39, "第２ベースラインに始点・終点がありません"},
    {40, "ベースラインに始点・終点がありません"},
    {41, "ＣＡＬＬスタックがオーバーフローしました"},
    {43, "× ＷＩＮＤ図形が不正です！ "},
    {50, "× OMIT図形が干渉しています！ "},
    {59, "× 加工番号が多すぎます！ "},
    {80, "COMポート::OPEN_ERROR...!!"},
    {81, "データ転送::出力_ERROR...!!"},
    {82, "データ受信::入力_ERROR...!!"},
    {95, "コピー元ファイル::OPEN_ERROR...."},
    {96, "コピー先ファイル::OPEN_ERROR...."},
    {130, "コーナーＲ処理が出来ません"},
    // A value that is not a finite number reached the block output; the
    // block is not written (an NC file never carries "nan" or "inf").
    {kErrorNotFiniteValue, "出力デ－タの数値が不正です"},
    // A block that outgrew the block buffer is not written cut short.
    {kErrorBlockTooLong, "出力ブロックが長すぎます"},
    // A pass list that does not end within its table, or a transform
    // chain longer than its nine records: nothing past the table is read.
    {kErrorPassTable, "パス・座標変換の指定が不正です"},
};

const char* FindErrorText(int code) {
  for (const ErrorText& entry : kErrorTexts) {
    if (entry.code == code) return entry.text;
  }
  return nullptr;
}

}  // namespace

std::string RunContext::ErrorMessage(int code) const {
  char heading[48];
  std::snprintf(heading, sizeof heading, ">>> ERROR.%04d <<<\n   ", 2000 + code);
  std::string text = heading;
  if (code == kErrorFileOpen || code == kErrorFileWrite) {
    // The path is shown as the user knows it: converted to CP932 for the box.
    std::string_view label = code == kErrorFileOpen ? "DATA_FILE::OPEN_ERROR[" : "DATA_FILE::WRITE_ERROR[";
    text += label;
    text += platform::Utf8ToCp932(ErrorPath);
    text += "]";
    return text;
  }
  if (code == 42) {
    char line[96];
    std::snprintf(line, sizeof line, "× 曲面番号[%d]が不正です！", R2.number);
    return text + platform::Utf8ToCp932(line);
  }
  if (const char* message = FindErrorText(code)) text += platform::Sjis(message);
  if (code == 13) {
    char line[64];
    std::snprintf(line, sizeof line, "\ndec=%f ", ErrorWorkingValue);
    text += line;
  }
  return text;
}

int RunContext::ShowErrorCode(int code) {
  // One box per stop: only the first error of a run is shown.
  if (AbortFlag == 0) {
    AbortFlag = kStopRun;
    host.ShowErrorBox(ErrorMessage(code));
  }
  return kStopRun;
}

int RunContext::EngineError(int code) { return ShowErrorCode(code); }

int RunContext::StopWithError(int code) {
  host.FlushPanes();
  ShowErrorCode(code);
  DrainEvents();
  AbortFlag = kStopRun;
  return kStopRun;
}

}  // namespace qup

namespace qup {

int RunContext::StopWithFault(std::string_view place) {
  if (AbortFlag == 0) {
    AbortFlag = kStopRun;
    host.ShowErrorBox(">>> ERROR <<<\n   " + std::string(place));
  }
  AbortFlag = kStopRun;
  return kStopRun;
}

int RunContext::StopMissingOperation(const char* name) {
  if (AbortFlag == 0) {
    AbortFlag = kStopRun;
    host.ShowErrorBox(std::string(">>> ERROR <<<\n   NOT BUILT: ") + name);
  }
  AbortFlag = kStopRun;
  return kStopRun;
}

}  // namespace qup
