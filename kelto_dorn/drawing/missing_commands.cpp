// The figure commands that are not in the program yet: see missing_commands.h.
#include "kelto_dorn/drawing/missing_commands.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/error_box.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

namespace {

struct MissingCommand {
  int id;
  const char* text;  // the command's menu or tool-tip text
};

// Sorted by id.
constexpr MissingCommand kMissing[] = {
    {32821, "点群・カーブの作成"},
    {32828, "作図の原点指定"},
    {32829, "登録済み原点の呼び出し"},
    {32842, "四角輪郭"},
    {32871, "図形変換：図形要素の倍率変更"},
    {32875, "図形変換：図形要素の対称移動"},
    {32877, "図形変換：指定エリア図形の回転移動"},
    {32878, "図形変換：指定エリア図形の平行移動"},
    {32879, "ＢＯＸ指定エリア図形の削除"},
    {32883, "図形変換：図形要素の画層分割"},
    {32884, "図形変換：図面データの原点移動"},
    {32885, "図形変換：複数原点の指定"},
    {32907, "図形のクリッピング接続（曲線）"},
    {33012, "図形変換：指定エリア図形の対称移動"},
    {33079, "図形ラインタイプ別＆カラー別に図形削除"},
    {33086, "文字のカラー変更"},
    {33100, "同種:全ライン（線種）"},
    {33101, "BOX指定（線種）"},
    {33102, "マウス指定（線種）"},
    {33103, "BOX指定（色）"},
    {33104, "マウス指定（色）"},
    {33105, "同種:全ライン（色）"},
    {33140, "多角形輪郭"},
    {33172, "同種：全ライン（線幅）"},
    {33173, "BOX指定（線幅）"},
    {33175, "マウス指定（線幅）"},
    {33197, "同一径円図形：表示色の変更"},
    {33198, "同一径円図形：削除"},
    {33199, "同一径円図形：レイヤー移動／コピー"},
    {33200, "同一径円図形：φ径の変更"},
    {33224, "図形色変更"},
};

const MissingCommand* Find(int id) {
  const auto* end = std::end(kMissing);
  const auto* it =
      std::lower_bound(std::begin(kMissing), end, id, [](const MissingCommand& m, int v) { return m.id < v; });
  return it != end && it->id == id ? it : nullptr;
}

void ShowMissing(const std::string& name) {
  constexpr unsigned kInformationBox = 0x40;
  SignalBeep();
  platform::ShowMessageBox(platform::Sjis("「") + name + platform::Sjis("」はまだこのシステムにありません。図面は変更されません。"),
                           std::string_view(), kInformationBox);
}

}  // namespace

bool IsMissingCommand(int id) { return Find(id) != nullptr; }

void ReportMissingCommand(int id) {
  const MissingCommand* m = Find(id);
  ShowMissing(m ? platform::Sjis(m->text) : platform::Sjis("コマンド ") + std::to_string(id));
}

bool CallOtherFamily(int id, const std::function<void(int)>& entry) {
  if (entry) {
    entry(id);
  } else {
    ShowMissing(platform::Sjis("コマンド ") + std::to_string(id));
  }
  return true;
}

}  // namespace dorn
