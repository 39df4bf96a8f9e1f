// The login: only the built-in pair opens, Enter only moves on.
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/dialogs/login_dialog.h"
#include "platform/text.h"
#include "tests/kelto_dorn/dialogs/dialogs_fixture.h"

namespace dorn::test {
namespace {

constexpr int kUser = 1008, kPassword = 1029, kLogin = 1178;

TEST_F(DialogsTest, LoginOpensOnlyWithTheBuiltInPair) {
  struct Case {
    const char* user;
    const char* password;
    bool opens;
  };
  const Case cases[] = {
      {"nopa", "wirst", true}, {"NOPA", "Wirst", true},  // the fields store lower case
      {"", "", false},         {"nopa", "", false},     {"nopa", "wirst2", false}, {"nop", "wirst", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.user << "/" << c.password);
    const std::size_t shown = backend().MessageBoxes().size();
    CLoginDlg dialog;
    OpenDialog d(dialog);
    d->Type(kUser, c.user);
    d->Type(kPassword, c.password);
    d->Click(kLogin);
    EXPECT_EQ(dialog.HasEnded(), c.opens);
    if (c.opens) {
      EXPECT_EQ(dialog.EndCode(), platform::kIdOk);
      EXPECT_EQ(backend().MessageBoxes().size(), shown);
    } else {
      ASSERT_EQ(backend().MessageBoxes().size(), shown + 1);
      EXPECT_EQ(ShownTexts().back(), "ID,ﾊﾟｽﾜｰﾄﾞが違います");
      EXPECT_EQ(backend().MessageBoxes().back().request.icon, platform::MessageIcon::Stop);
      EXPECT_EQ(dialog.GetText(kPassword), c.password);  // the entry stays for another try
    }
  }
}

TEST_F(DialogsTest, EnterInTheLoginMovesOnWithoutChecking) {
  CLoginDlg dialog;
  OpenDialog d(dialog);
  EXPECT_EQ(dialog.FocusedControl(), kUser);
  d->Type(kUser, "nopa");
  d->PressEnter();
  EXPECT_EQ(dialog.FocusedControl(), kPassword);
  d->Type(kPassword, "wirst");
  d->PressEnter();
  EXPECT_EQ(dialog.FocusedControl(), kLogin);
  EXPECT_FALSE(dialog.HasEnded());
  EXPECT_TRUE(backend().MessageBoxes().empty());
  d->PressEnter();  // Enter on the button presses it
  EXPECT_EQ(dialog.EndCode(), platform::kIdOk);
}

TEST_F(DialogsTest, CancellingTheLoginEndsWithCancel) {
  backend().WhenDialogOpens(kLoginDialogId, [](platform::headless::DialogDriver& d) {
    d.Type(kUser, "nopa");
    d.Click(platform::kIdCancel);
  });
  CLoginDlg dialog;
  EXPECT_EQ(dialog.DoModal(), platform::kIdCancel);
}

}  // namespace
}  // namespace dorn::test
