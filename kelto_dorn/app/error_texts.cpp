// The numbered texts of the error box, as the system shows them.
#include <array>
#include <string_view>

#include "kelto_dorn/app/error_box.h"

namespace dorn {
namespace {

struct ErrorText {
  int code;
  std::string_view text;
};

// The memory error of a table, the segment blocks (70) or the pens (71).
constexpr std::string_view kMemoryErrorText = "※ Kelto_Dorn_%02d :: MEMORY_ERROR....";

constexpr std::array<ErrorText, 11> kErrorTexts = {{
    {-1, "※ 図面のサイズが大きい過ぎます...\n ::MEMORY_ERROR..."},
    {-10, "※ 曲線のセグメントサイズが不正です..."},
    {-11, "※ 無効な曲線が存在します..."},
    {-12, "※ 曲線のセグメントアドレスが破損しています..."},
    {-13, "※ 曲線をすべてリセットする必要があります..."},
    {-20, "※ 図形をトリミングしてから面取りして下さい..."},
    {118, "※ ヘリカル傾斜角度が不正です...."},
    {119, "※ ヘリカル加工穴φが不正です...."},
    {120, "※ 切り込み量が不正です...."},
    {480, "※ 曲面定義数がＭＡＸです...."},
    {490, "※ 加工定義数がＭＡＸです...."},
}};

bool IsMemoryErrorCode(int code) {
  return (code >= 0 && code <= 32) || code == 70 || code == 71 || code == 90 || code == 99 || code == 100;
}

}  // namespace

std::string_view ErrorCodeText(int code) {
  if (IsMemoryErrorCode(code)) return kMemoryErrorText;
  for (const ErrorText& e : kErrorTexts) {
    if (e.code == code) return e.text;
  }
  return {};
}

}  // namespace dorn
