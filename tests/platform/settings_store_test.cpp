#include "platform/settings_store.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace {

TEST(SettingsStore, ValuesAndRecentFilesSurviveASave) {
  testsupport::TempFolder dir;
  auto file = dir.path() / "dornsystem" / "Kelto_Dorn.ini";
  {
    auto store = platform::SettingsStore::AtFile(file);
    EXPECT_EQ(store.GetInt("Settings", "Missing", 42), 42);
    store.SetInt("Settings", "Width", 1280);
    store.SetString("Settings", "Name", "加工\nnext");  // a line break must not split the entry
    for (const char* f : {"a.MZF", "b.MZF", "c.MZF", "a.MZF", "d.MZF", "e.MZF"}) store.AddRecentFile(f);
    ASSERT_TRUE(store.Save());
  }
  auto store = platform::SettingsStore::AtFile(file);
  EXPECT_EQ(store.GetInt("Settings", "Width", 0), 1280);
  EXPECT_EQ(store.GetString("Settings", "Name"), "加工 next");
  EXPECT_EQ(store.RecentFiles(), (std::vector<std::string>{"e.MZF", "d.MZF", "a.MZF", "c.MZF"}));
}

TEST(SettingsStore, NonNumericTextGivesTheFallback) {
  testsupport::TempFolder dir;
  auto store = platform::SettingsStore::AtFile(dir.path() / "x.ini");
  store.SetString("S", "K", "12abc");
  EXPECT_EQ(store.GetInt("S", "K", -1), -1);
}

}  // namespace
