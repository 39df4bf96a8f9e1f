// Palette colours and pens.
#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/palette.h"
#include "tests/kelto_dorn/app/kernel_fixture.h"

namespace dorn {
namespace {

using PaletteTest = test::KernelTest;

TEST_F(PaletteTest, ColorFromIndexIsTheFixedTable) {
  const struct {
    int index;
    platform::Color colour;
  } cases[] = {{0, 0x050505},  {1, 0x0000FF},  {7, 0xFAFAFA},  {13, 0xCE26C1}, {16, 0x91B4F4},
               {21, 0xB40093}, {24, 0x2B88BB}, {31, 0x5C5C5C}, {40, 40},       {32, 32}};
  for (const auto& c : cases) EXPECT_EQ(ColorFromIndex(c.index), c.colour) << c.index;
}

TEST_F(PaletteTest, DefaultPalettesDifferOnlyInEntries4To21) {
  SetDefaultPalette(0);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(PaletteColors[i], ColorFromIndex(i)) << i;

  SetDefaultPalette(1);
  const struct {
    int index;
    platform::Color colour;
  } light[] = {{4, 0xFF8080},  {5, 0xFF00FF},  {9, 0xC4ABF1},  {10, 0xABF5A3}, {11, 0xACF4F2}, {12, 0xF9D599},
               {13, 0xEA95CC}, {17, 0x8080FF}, {18, 0x28AA83}, {19, 0x28AEAE}, {21, 0xCCC499}};
  for (const auto& c : light) EXPECT_EQ(PaletteColors[c.index], c.colour) << c.index;
  for (int i : {0, 1, 2, 3, 22, 23, 31}) EXPECT_EQ(PaletteColors[i], ColorFromIndex(i)) << i;
}

TEST_F(PaletteTest, PenIIsPaletteColourI) {
  SetDefaultPalette(0);
  PaletteColors[0] = 0x123456;
  RebuildPenTable();
  for (int c = 0; c < 32; ++c) {
    SCOPED_TRACE(c);
    const platform::Pen& pen = PenForColour(c);
    EXPECT_EQ(pen.color, PaletteColors[c]);
    EXPECT_EQ(pen.width, 1);
    EXPECT_EQ(pen.style, platform::PenStyle::Solid);
  }
  // Colour 0 has a pen of its own; outside the palette the pen of colour 0.
  EXPECT_EQ(PenForColour(0).color, 0x123456u);
  EXPECT_EQ(PenForColour(-1).color, 0x123456u);
  EXPECT_EQ(PenForColour(32).color, 0x123456u);
}

}  // namespace
}  // namespace dorn
