// Tool-bar images and cursors drawn by the program: see bar_images.h.
#include "kelto_dorn/window/bar_images.h"

#include <algorithm>
#include <string_view>

#include "platform/application.h"
#include "platform/backend.h"
#include "platform/device_context.h"
#include "platform/text.h"

namespace dorn {

namespace {

struct ButtonSign {
  int id;
  const char* sign;  // UTF-8: one to three characters
};

constexpr ButtonSign kSigns[] = {
    {32773, "窓"},  {32775, "継"},  {32776, "名"},   {32785, "図"},   {32786, "曲"},   {32787, "面"},  {32793, "線"},
    {32794, "円"},  {32801, "拡"},  {32802, "縮"},   {32804, "TOP"},  {32805, "CAD"},  {32818, "印"},  {32820, "加"},
    {32822, "変"},  {32823, "切"},  {32824, "削"},   {32826, "接"},   {32827, "析"},   {32828, "原"},  {32829, "呼"},
    {32848, "写"},  {32864, "BOX"}, {32904, "曲移"}, {32911, "曲削"}, {32912, "曲析"}, {32994, "中"},  {32998, "点"},
    {32999, "交"},  {33000, "覧"},  {33001, "端"},   {33002, "90"},   {33005, "戻"},   {33017, "消"},  {33076, "元"},
    {33112, "XY"},  {33113, "XZ"},  {33114, "YZ"},   {33115, "矢"},   {33139, "CAD"},  {33141, "IP"},  {33152, "寸"},
    {33154, "交M"}, {33155, "線M"}, {33165, "軸"},   {33169, "原移"}, {33171, "太"},   {33218, "再"},  {33222, "自"},
    {33223, "析2"}, {33224, "色"},  {33225, "END"},  {33247, "PL"},   {33257, "拡張"}, {33260, "CSV"},
};

constexpr platform::Size kButtonImage{26, 22};
constexpr platform::Color kButtonFace = 0xC0C0C0;
constexpr platform::Color kButtonInk = 0x000000;

// The cursors: 32 x 32 with the hot spot in the middle; magenta is see-through.
constexpr int kCursorSize = 32;
constexpr platform::Color kSeeThrough = 0xFF00FF;
constexpr platform::Color kDarkInk = 0x050505;
constexpr platform::Color kLightInk = 0xFFFFFF;

bool LightBackground(int backgroundIndex) { return backgroundIndex >= 1 && backgroundIndex <= 20; }

platform::Bitmap CursorImage(int aperture, platform::Color ink, bool overFigure) {
  platform::Bitmap b(kCursorSize, kCursorSize, kSeeThrough);
  const int c = kCursorSize / 2;
  for (int i = 0; i < kCursorSize; ++i) {
    b.SetPixel(i, c, ink);
    b.SetPixel(c, i, ink);
  }
  // The pick box: wider for each aperture step.
  const int half = 2 + 2 * aperture;
  for (int i = -half; i <= half; ++i) {
    b.SetPixel(c + i, c - half, ink);
    b.SetPixel(c + i, c + half, ink);
    b.SetPixel(c - half, c + i, ink);
    b.SetPixel(c + half, c + i, ink);
  }
  if (overFigure) {
    // A diamond round the box: the cursor is on a figure.
    const int r = half + 4;
    for (int i = 0; i <= r; ++i) {
      b.SetPixel(c + i, c - r + i, ink);
      b.SetPixel(c + r - i, c + i, ink);
      b.SetPixel(c - i, c + r - i, ink);
      b.SetPixel(c - r + i, c - i, ink);
    }
  }
  return b;
}

}  // namespace

platform::Bitmap ToolButtonImage(int commandId) {
  const auto* it = std::find_if(std::begin(kSigns), std::end(kSigns),
                                [commandId](const ButtonSign& s) { return s.id == commandId; });
  if (it == std::end(kSigns)) return {};
  auto dc = platform::CreateMemoryContext(kButtonImage);
  if (!dc) return {};
  dc->FillRect({0, 0, kButtonImage.cx, kButtonImage.cy}, {kButtonFace, platform::BrushStyle::Solid});
  platform::Font font;
  font.face = platform::Sjis("ＭＳ ゴシック");
  font.height = 13;
  dc->SelectFont(font);
  dc->SetTextColor(kButtonInk);
  dc->SetBackgroundMode(platform::BackgroundMode::Transparent);
  platform::Rect r{0, 0, kButtonImage.cx, kButtonImage.cy};
  dc->DrawText(platform::Sjis(it->sign), r,
               platform::draw_text::kCenter | platform::draw_text::kVCenter | platform::draw_text::kSingleLine);
  return dc->CopyBitmap({0, 0, kButtonImage.cx, kButtonImage.cy});
}

int ViewCursorId(int aperture, int backgroundIndex, bool overFigure) {
  const int a = std::clamp(aperture, 1, 3) - 1;
  if (overFigure) return (LightBackground(backgroundIndex) ? 361 : 358) + a;
  return (LightBackground(backgroundIndex) ? 306 : 169) + a;
}

void RegisterViewCursors() {
  const platform::Point hot{kCursorSize / 2, kCursorSize / 2};
  for (int aperture = 1; aperture <= 3; ++aperture) {
    for (bool over : {false, true}) {
      for (int background : {0, 1}) {
        const platform::Color ink = LightBackground(background) ? kDarkInk : kLightInk;
        platform::RegisterCursor(ViewCursorId(aperture, background, over), CursorImage(aperture, ink, over), hot,
                                 kSeeThrough);
      }
    }
  }
}

}  // namespace dorn
