#pragma once
// The tables the main frame is built from: the menu bar, the eleven bar
// menus, the standard bar, the selector bar and the 32 layer commands.
#include <array>
#include <vector>

#include "platform/frame.h"

namespace dorn {

// One bar menu: the command that shows it, its number (1-10, 12), the bit
// kept in g_curBarMenu, its resource id and its buttons in order.
struct BarMenu {
  int command;
  int number;
  int bits;
  int resource;
  std::vector<int> buttons;
};

inline constexpr int kBarMenuCount = 11;
const std::array<BarMenu, kBarMenuCount>& BarMenus();
// The bar menu shown by a command, or of a bit value; null for none.
const BarMenu* BarMenuOfCommand(int id);
const BarMenu* BarMenuOfBits(int bits);
// Its position in BarMenus() (0-10).
int BarMenuIndex(const BarMenu& menu);

// Buttons of the standard and the selector bar (0 is a separator).
const std::vector<int>& StandardBarButtons();
const std::vector<int>& SelectorBarButtons();

inline constexpr int kLayerCommandCount = 32;
// The command of menu layer n is LayerCommands()[n - 1]; it selects layer n - 1.
const std::array<int, kLayerCommandCount>& LayerCommands();
// The layer index (0-31) a command selects, or -1.
int LayerOfCommand(int id);

// The menu bar.
std::vector<platform::MenuItem> MainMenu();

}  // namespace dorn
