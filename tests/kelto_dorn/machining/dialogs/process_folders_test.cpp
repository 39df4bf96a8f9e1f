// Process and capsule folders: the name lists, and deleting with an undo
// that gives the file back byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/camdata/process_name_dialog.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/machining/dialogs/process_select_dialog.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/headless/dialog_driver.h"
#include "kelto_dorn/tooldb/process_folders.h"
#include "platform/record_file.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;

class ProcessFolderTest : public DefinitionFlowTest {
 protected:
  fs::path MakeFolder(const char* root, const std::string& name, const char* file, std::size_t size) {
    const fs::path dir = home() / root / name;
    fs::create_directories(dir);
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + name.size());
    std::ofstream(dir / file, std::ios::binary) << bytes;
    return dir / file;
  }
  static std::vector<std::uint8_t> Bytes(const fs::path& p) {
    std::vector<std::uint8_t> b;
    platform::ReadWholeFile(p, b);
    return b;
  }
};

TEST_F(ProcessFolderTest, FirstAndSecondNamesNarrowTheList) {
  for (const char* n : {"M10_TAP_DEEP", "M10_DRILL", "m10_TAP_X", "PLAIN", "M8_TAP_1"})
    MakeFolder("_ANA", n, "$HOLE_DBS.@@@", 1504);
  const std::vector<std::string> all = ListProcessFolders(kProcessFolderMode);
  ASSERT_EQ(all.size(), 5u);
  const ProcessNameParts parts = SplitProcessNames(all);
  EXPECT_EQ(parts.firsts, (std::vector<std::string>{"M10", "M8"}));
  EXPECT_EQ(parts.seconds, (std::vector<std::string>{"TAP"}));
  EXPECT_EQ(FilterProcessFolders(all, "M10", ""), (std::vector<std::string>{"M10_DRILL", "M10_TAP_DEEP"}));
  EXPECT_EQ(FilterProcessFolders(all, "M10", "TAP"), (std::vector<std::string>{"M10_TAP_DEEP"}));
  EXPECT_TRUE(ListProcessFolders(7).empty());
}

TEST_F(ProcessFolderTest, DeletionsAreUndoneByteForByteInTheirOwnForm) {
  struct Case {
    int mode;
    const char* root;
    const char* file;
    std::size_t size;
  };
  const Case cases[] = {
      {kProcessFolderMode, "_ANA", "$HOLE_DBS.@@@", 1504},
      {kCapsuleFolderMode, "_CPS", "$Capsule.@@2", 16096 * 3},  // three definitions, all kept
      {kCapsuleFolderMode, "_CPS", "$Capsule.@@@", 13968 * 2},  // the older form comes back as it was
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const fs::path file = MakeFolder(c.root, "CAP_1", c.file, c.size);
    const std::vector<std::uint8_t> before = Bytes(file);
    g_curMachiningDef.number = 4242;
    ProcessUndo undo;
    ASSERT_TRUE(DeleteProcessFolder(c.mode, "CAP_1", undo));
    EXPECT_FALSE(fs::exists(file.parent_path()));
    EXPECT_EQ(g_curMachiningDef.number, 4242);  // the working definition is left alone
    ASSERT_TRUE(UndoProcessDeletion(undo));
    EXPECT_EQ(Bytes(file), before);
    EXPECT_FALSE(UndoProcessDeletion(undo));  // one step only
    fs::remove_all(file.parent_path());
  }
}

TEST_F(ProcessFolderTest, ADeletionWhoseUndoCopyCannotBeWrittenIsRefused) {
  const fs::path file = MakeFolder("_CPS", "KEEP", "$Capsule.@@2", 16096);
  fs::create_directories(home() / "$UNDO.@@2" / "blocked");
  ProcessUndo undo;
  EXPECT_FALSE(DeleteProcessFolder(kCapsuleFolderMode, "KEEP", undo));
  EXPECT_TRUE(fs::exists(file));
  EXPECT_FALSE(undo.deleted);
  EXPECT_FALSE(DeleteProcessFolder(kProcessFolderMode, "..", undo));
}

TEST_F(ProcessFolderTest, RenameRefusesATakenOrUnsafeName) {
  MakeFolder("_ANA", "A_1", "$HOLE_DBS.@@@", 1504);
  MakeFolder("_ANA", "B_1", "$HOLE_DBS.@@@", 1504);
  EXPECT_FALSE(RenameProcessFolder(kProcessFolderMode, "A_1", "B_1"));
  EXPECT_FALSE(RenameProcessFolder(kProcessFolderMode, "A_1", "../X"));
  EXPECT_TRUE(RenameProcessFolder(kProcessFolderMode, "A_1", "C_1"));
  EXPECT_TRUE(fs::exists(home() / "_ANA" / "C_1" / "$HOLE_DBS.@@@"));
}

}  // namespace
}  // namespace dorn::test

namespace dorn::test {
namespace {

using platform::headless::DialogDriver;

TEST_F(ProcessFolderTest, TheChooserReturnsTheNameOrNothingAndUndoesItsDeletion) {
  MakeFolder("_ANA", "M10_TAP_A", "$HOLE_DBS.@@@", 1504);
  MakeFolder("_ANA", "M8_DRILL_B", "$HOLE_DBS.@@@", 1504);
  backend().WhenDialogOpens(kProcessSelectDialogId, [](DialogDriver& d) {
    ASSERT_EQ(d.dialog().GetCount(process_select_ctl::kFolders), 2);
    d.Select(process_select_ctl::kFirstNames, 1);  // "M8"
    ASSERT_EQ(d.dialog().GetCount(process_select_ctl::kFolders), 1);
    d.Select(process_select_ctl::kFolders, 0);
    d.Click(process_select_ctl::kDelete);
    d.Click(process_select_ctl::kChoose);  // asked, answered Yes
    EXPECT_EQ(d.dialog().GetCount(process_select_ctl::kFolders), 0);
    EXPECT_TRUE(d.dialog().IsEnabled(process_select_ctl::kUndo));
    d.Click(process_select_ctl::kUndo);
    d.Click(process_select_ctl::kDelete);
    d.Select(process_select_ctl::kFolders, 0);
    d.DoubleClick(process_select_ctl::kFolders, 0);
  });
  FocusedEditIndex = kProcessFolderMode;
  CProcessNameSelectDlg chooser;
  EXPECT_EQ(RunModalDialog(chooser), 1);
  EXPECT_STREQ(g_listTextBuffer, "M8_DRILL_B");
  EXPECT_EQ(FocusedEditIndex, 0);
  EXPECT_TRUE(fs::exists(home() / "_ANA" / "M8_DRILL_B" / "$HOLE_DBS.@@@"));

  backend().WhenDialogOpens(kProcessSelectDialogId, [](DialogDriver& d) { d.PressEscape(); });
  FocusedEditIndex = kProcessFolderMode;
  CProcessNameSelectDlg again;
  EXPECT_EQ(RunModalDialog(again), 2);
  EXPECT_STREQ(g_listTextBuffer, "");
}

TEST_F(ProcessFolderTest, ANewNameIsComposedOfThreePartsAndRefusedWhenTooLong) {
  std::snprintf(g_listTextBuffer, kTextBufferSize, "%s", "M10_TAP_OLD");
  backend().WhenDialogOpens(kProcessNameDialogId, [](DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetText(process_name_ctl::kThird), "OLD");
    d.Type(process_name_ctl::kThird, std::string(32, 'X'));
    d.Type(process_name_ctl::kFirst, std::string(24, 'F'));
    d.Click(process_name_ctl::kOk);  // 24 + 3 + 1 + 32 > 60: refused, the dialog stays
    EXPECT_FALSE(d.dialog().HasEnded());
    d.Type(process_name_ctl::kFirst, "M12");
    d.Click(process_name_ctl::kOk);
  });
  FocusedEditIndex = kProcessFolderMode;
  CProcessNameDlg dialog;
  EXPECT_EQ(RunModalDialog(dialog), 1);
  EXPECT_EQ(std::string(g_listTextBuffer), "M12_TAP_" + std::string(32, 'X'));
  EXPECT_EQ(ShownTexts().size(), 1u);
}

}  // namespace
}  // namespace dorn::test
