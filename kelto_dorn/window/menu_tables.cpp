// The frame's tables: see menu_tables.h.
#include "kelto_dorn/window/menu_tables.h"

#include <algorithm>
#include <initializer_list>

#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/command_texts.h"
#include "platform/text.h"

namespace dorn {

const std::array<BarMenu, kBarMenuCount>& BarMenus() {
  static const std::array<BarMenu, kBarMenuCount> menus = {{
      {32804,
       1,
       2,
       285,
       {32805, 32785, 32786, 32787, 32820, 32966, 32806, 32809, 32814, 32818, 33125, 32819, 32792, 32886}},
      {32785, 2, 4, 131, {32805, 32793, 32794, 32822, 33248, 32795, 33251, 33107, 32821, 33009, 32825,
                          32823, 32826, 32827, 32829, 32828, 32879, 32824, 32786, 32832, 32886}},
      {32793, 3, 8, 136, {32833, 32834, 32835, 32837, 32838, 32839, 32841, 33216, 32842, 33140, 32843,
                          33054, 32822, 32823, 32826, 32829, 32828, 32824, 32794, 32827, 32786, 32886}},
      {32794, 4, 16, 138, {32852, 32853, 32854, 32855, 32859, 32857, 32858, 32860, 32861, 32862, 33074,
                           32822, 32823, 32826, 32829, 32828, 32824, 32793, 32827, 32786, 32886}},
      {32822, 5, 32, 141, {32871, 32873, 32874, 32875, 32876, 32825, 32827, 32883, 32877, 32878,
                           33012, 32879, 33079, 32824, 32829, 32884, 32885, 32786, 33251, 32886}},
      {32805,
       6,
       64,
       143,
       {32888, 32827, 32883, 32884, 32885, 32829, 32877, 32878, 33012, 32879, 33079, 32824, 32832, 32785, 32786,
        32886}},
      {32786, 7, 128, 145, {32904, 32905, 33126, 33127, 32908, 32907, 32910, 32913, 32930, 32915, 32929,
                            32914, 33075, 32912, 32827, 32829, 33128, 32917, 32911, 33081, 33251, 32886}},
      {32904, 8, 256, 147, {32921, 32922, 32923, 32924, 32925, 32930, 32913, 32926, 33089, 32915,
                            32929, 32914, 32933, 32912, 33128, 32917, 32911, 33202, 32820, 32886}},
      {32787,
       9,
       512,
       149,
       {32941, 32943, 32944, 32945, 32947, 32948, 32949, 32950, 32951, 33070, 32952, 32953, 33073, 32954, 32956, 32786,
        32820, 32886}},
      {32820, 10, 1024, 151, {32959, 32960, 32961, 32968, 32962, 32963, 32964, 32967, 33188, 33189,
                              33190, 32966, 32965, 33092, 32806, 32809, 32786, 32787, 32785, 32886}},
      {33152,
       12,
       4096,
       303,
       {33142, 33143, 33144, 33145, 33146, 33147, 33148, 33149, 33161, 33162, 33150, 33151, 33164, 33163, 33159, 33160,
        33258, 32879, 32886}},
  }};
  return menus;
}

const BarMenu* BarMenuOfCommand(int id) {
  for (const BarMenu& m : BarMenus())
    if (m.command == id) return &m;
  return nullptr;
}

const BarMenu* BarMenuOfBits(int bits) {
  for (const BarMenu& m : BarMenus())
    if (m.bits == bits) return &m;
  return nullptr;
}

int BarMenuIndex(const BarMenu& menu) { return static_cast<int>(&menu - BarMenus().data()); }

const std::vector<int>& StandardBarButtons() {
  static const std::vector<int> buttons = {33112, 33113, 33114, 33115, 32801, 32802, 32773, 33005, 33165, 32994, 33139,
                                           32776, 33222, 32998, 32999, 33001, 33002, 33000, 32775, 33225, 33257, 33017};
  return buttons;
}

const std::vector<int>& SelectorBarButtons() {
  static const std::vector<int> buttons = {32804, 32785, 32793, 32794, 32822, 33152, 32805, 32786, 32904,
                                           32787, 32820, 0,     32864, 33247, 32848, 33171, 33224, 32823,
                                           32826, 32828, 32829, 33169, 33223, 32827, 32912, 32824, 32911,
                                           33076, 33218, 33154, 33155, 33141, 32818, 33260};
  return buttons;
}

const std::array<int, kLayerCommandCount>& LayerCommands() {
  static const std::array<int, kLayerCommandCount> ids = {
      33019, 33020, 33022, 33023, 33024, 33025, 33082, 33083, 33084, 33176, 33177, 33178, 33179, 33180, 33181, 33182,
      33229, 33230, 33231, 33232, 33233, 33235, 33236, 33237, 33238, 33239, 33240, 33241, 33242, 33243, 33244, 33245};
  return ids;
}

int LayerOfCommand(int id) {
  const auto& ids = LayerCommands();
  const auto it = std::find(ids.begin(), ids.end(), id);
  return it == ids.end() ? -1 : static_cast<int>(it - ids.begin());
}

namespace {

using platform::MenuItem;

// Items of the given commands with their own captions; 0 is a separator.
std::vector<MenuItem> Items(std::initializer_list<int> ids) {
  std::vector<MenuItem> items;
  for (int id : ids) items.push_back(id == 0 ? MenuItem::Separator() : MenuItem(id, CommandCaption(id)));
  return items;
}

MenuItem Sub(const char* captionUtf8, std::vector<MenuItem> items) {
  return MenuItem(0, platform::Sjis(captionUtf8), std::move(items));
}

std::vector<MenuItem> Join(std::vector<MenuItem> a, std::vector<MenuItem> b) {
  a.insert(a.end(), std::make_move_iterator(b.begin()), std::make_move_iterator(b.end()));
  return a;
}

MenuItem FileMenu() {
  auto items = Items(
      {33029, 33030, 33031, 0, 32978, 33246, 32888, 32832, 0, 32818, 57607, 57608, 57609, 33060, 57606, 0, 33078, 0});
  items.push_back(Sub("終了(&X)", Items({33038, 33039, 33196})));
  return Sub("ファイル(&F)", std::move(items));
}

MenuItem EditMenu() {
  auto items = Items({33076, 33218, 0, 32848, 32775, 32864, 33247, 33017, 33225, 0});
  items.push_back(Sub("削除", Items({32824, 33079, 32911, 32917})));
  items.push_back(MenuItem(32912, CommandCaption(32912)));
  items.push_back(Sub("カーブ編集", Items({33009, 33048, 33049, 33050, 33051})));
  items = Join(std::move(items), Items({33111, 0, 33094, 33095, 33096, 33097, 33098, 33110, 33171, 0}));
  items.push_back(Sub("同一径円図形", Items({33197, 33198, 33199, 33200})));
  return Sub("編集(&E)", std::move(items));
}

MenuItem ViewMenu() {
  auto items = Items({32801, 32802, 32773, 33005, 32994, 32998, 32999, 33001, 33222, 33002, 0, 33112,
                      33113, 33114, 33115, 0,     33165, 33085, 33139, 32776, 33257, 33055, 0});
  std::vector<MenuItem> layers = Items({33077, 33227, 0});
  for (int i = 0; i < kLayerCommandCount; ++i) {
    if (i == 16) layers.push_back(MenuItem::Separator());
    layers.emplace_back(LayerCommands()[static_cast<std::size_t>(i)],
                        CommandCaption(LayerCommands()[static_cast<std::size_t>(i)]));
  }
  items.push_back(Sub("レイヤ情報", std::move(layers)));
  return Sub("表示(&V)", Join(std::move(items), Items({33081, 33086, 33166})));
}

MenuItem DrawMenu() {
  std::vector<MenuItem> items;
  items.push_back(
      Sub("直線", Items({32833, 32834, 32835, 32837, 32838, 32839, 32841, 33216, 32842, 33140, 32843, 33054})));
  items.push_back(Sub("円", Items({32852, 32853, 32854, 32855, 32857, 32858, 32859, 32860, 32861, 32862, 33074})));
  items = Join(std::move(items),
               Items({32795, 33248, 33251, 33107, 32821, 32823, 32825, 32826, 32827, 33223, 32828, 32829, 33169, 0}));
  items.push_back(
      Sub("図形変換", Items({32871, 32873, 32874, 32875, 32876, 32877, 32878, 33012, 32879, 32883, 32884, 32885})));
  items.push_back(Sub("属性", Items({33100, 33101, 33102, 33103, 33104, 33105, 33172, 33173, 33175, 33224})));
  return Sub("作図(&D)", std::move(items));
}

MenuItem CurveMenu() {
  auto items = Items({32905, 32907, 32908, 32910, 32913, 32914, 32915, 32929, 32930, 33075,
                      33089, 32926, 33126, 33127, 33141, 33128, 32933, 33000, 33202, 0});
  items.push_back(Sub("曲線の移動／変換", Items({32921, 32922, 32923, 32924, 32925})));
  return Sub("曲線(&C)", std::move(items));
}

}  // namespace

std::vector<MenuItem> MainMenu() {
  return {
      FileMenu(),
      EditMenu(),
      ViewMenu(),
      DrawMenu(),
      CurveMenu(),
      Sub("寸法(&M)", Items({33142, 33143, 33144, 33145, 33146, 33147, 33148, 33149, 33150, 33151,
                             33161, 33162, 33164, 33258, 0,     33159, 33160, 33163, 33154, 33155})),
      Sub("曲面(&U)", Items({32941, 32943, 32944, 32945, 32947, 32948, 32949, 32950, 32951, 32952, 32953, 33070, 33073,
                             0, 32954, 32955, 32956})),
      Sub("加工定義(&K)", Items({33203, 32959, 32960, 33188, 33189, 32961, 32968, 32962, 32963, 32964, 32967, 33190,
                                 33204, 0,     32966, 33092, 33168, 0,     32965, 32806, 32809, 32814, 32792, 1354})),
      Sub("実行(&X)", Items({33042, 33044, 33045})),
      Sub("データベース(&B)", Items({33133, 33134, 33135, 33192, 33195})),
      Sub("設定(&S)", Items({32995, 33125, 32819, 33138, 33191, 33193, 0, 33214, 33215, 33018})),
      Sub("ﾍﾙﾌﾟ(&H)", Items({33062, 33063, 33064, 33167, 0, 33065, 33259, 57664})),
  };
}

}  // namespace dorn
