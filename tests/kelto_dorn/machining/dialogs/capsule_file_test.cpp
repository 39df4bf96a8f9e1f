// Capsule files: export, loading twice, loading into a nearly full table,
// a damaged file, and the names and numbers the loaded definitions get.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/machining/capsule_file.h"
#include "kelto_dorn/machining/dialogs/capsule_name_dialogs.h"
#include "kelto_dorn/machining/dialogs/condition_openers.h"
#include "platform/headless/dialog_driver.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

using platform::Sjis;

class CapsuleFileTest : public DefinitionFlowTest {
 protected:
  void StoreTwo() {
    const char* names[] = {"輪郭加工_10000", "穴加工_11000"};
    for (int i = 0; i < 2; ++i) {
      MachiningDefinition& d = document().definitions.Slot(i);
      d.kind = i == 0 ? 0xA000 : 0xB400;
      d.number = 10000 + 1000 * i;
      d.steps[0].repeat[0].escapeStamp = d.number + 2;
      DefinitionIndexRecord& r = g_machiningIndexTable.records[static_cast<std::size_t>(i)];
      r.recordKind = 2;
      r.key = d.number;
      r.slot = i;
      r.kindCode = d.kind;
      platform::SetFieldText(r.name, Sjis(names[i]));
    }
    g_machiningCount = 2;
  }
  std::string Name(int i) {
    return platform::Cp932ToUtf8(platform::FieldText(g_machiningIndexTable.records[static_cast<std::size_t>(i)].name, 64));
  }
};

TEST_F(CapsuleFileTest, TwoDefinitionsExportAndLoadTwiceWithNumbersEqualToKeys) {
  StoreTwo();
  const std::string name = "CAPS";
  ASSERT_TRUE(ExportCapsuleFile(document().definitions, document().atc, name));
  EXPECT_EQ(std::filesystem::file_size(CapsuleFilePath(name)), 48528u);

  g_capsuleLoadCount = 0;
  CapsuleLoad first = LoadCapsuleFile(document().definitions, document().atc, name);
  EXPECT_EQ(first.appended, 2);
  CapsuleLoad second = LoadCapsuleFile(document().definitions, document().atc, name);
  EXPECT_EQ(second.appended, 2);
  ASSERT_EQ(g_machiningCount, 6);
  EXPECT_EQ(Name(2), "輪郭加工_01");
  EXPECT_EQ(Name(5), "穴加工_02");
  for (int i = 0; i < 6; ++i) {
    const DefinitionIndexRecord& r = g_machiningIndexTable.records[static_cast<std::size_t>(i)];
    EXPECT_EQ(r.key, 10000 + 1000 * i);
    EXPECT_EQ(r.slot, i);
    const MachiningDefinition& d = document().definitions.Slot(i);
    EXPECT_EQ(d.number, r.key);
    EXPECT_EQ(d.steps[0].repeat[0].escapeStamp, r.key + 2);
  }
}

TEST_F(CapsuleFileTest, ATableNearlyFullTakesWhatFitsAndADamagedFileNothing) {
  StoreTwo();
  ASSERT_TRUE(ExportCapsuleFile(document().definitions, document().atc, "CAPS"));
  g_machiningCount = 511;
  for (int i = 2; i < 511; ++i) g_machiningIndexTable.records[static_cast<std::size_t>(i)].slot = i;
  const CapsuleLoad load = LoadCapsuleFile(document().definitions, document().atc, "CAPS");
  EXPECT_EQ(load.appended, 1);
  EXPECT_TRUE(load.full);
  EXPECT_EQ(g_machiningCount, 512);
  EXPECT_EQ(backend().MessageBoxes().size(), 1u);

  g_machiningCount = 2;
  std::filesystem::resize_file(CapsuleFilePath("CAPS"), 20000);
  const CapsuleLoad damaged = LoadCapsuleFile(document().definitions, document().atc, "CAPS");
  EXPECT_TRUE(damaged.damaged);
  EXPECT_EQ(damaged.appended, 0);
  EXPECT_EQ(g_machiningCount, 2);
  EXPECT_FALSE(LoadCapsuleFile(document().definitions, document().atc, "NONE").found);
  // A name that leaves the capsule folder is refused.
  EXPECT_FALSE(ExportCapsuleFile(document().definitions, document().atc, "../OUT"));
  EXPECT_FALSE(std::filesystem::exists(platform::DataRoot() / "OUT"));
  EXPECT_TRUE(LoadCapsuleFile(document().definitions, document().atc, "..").refused);
}

TEST_F(CapsuleFileTest, LoadedNamesCutAtTheLastUnderscoreByCharacter) {
  // ダ ends in the byte of "_".
  EXPECT_EQ(platform::Cp932ToUtf8(LoadedDefinitionName(Sjis("ダダ"), 1)), "_01");
  EXPECT_EQ(platform::Cp932ToUtf8(LoadedDefinitionName(Sjis("ABC_ダ"), 3)), "ABC_03");
  const std::string longName(62, 'x');
  EXPECT_EQ(LoadedDefinitionName(longName + "_", 2).size(), 63u);
  const std::string wide = Sjis("あ") + std::string(59, 'y') + Sjis("ああ") + "_9";
  EXPECT_LE(LoadedDefinitionName(wide, 2).size(), 63u);
}

// The names keep the header words they were read with; the list offers
// them and leaves the chosen line in the text buffer.
TEST_F(CapsuleFileTest, CapsuleNamesKeepTheirHeaderAndAreOfferedForChoice) {
  using platform::headless::DialogDriver;
  backend().WhenDialogOpens(kCapsuleNameSetDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.Type(capsule_name_ctl::kNames[1], "  POCKET"));
    ASSERT_TRUE(d.Click(capsule_name_ctl::kRegister));
  });
  CCapsuleNameSetDlg set;
  EXPECT_EQ(set.DoModal(), 1);
  const CapsuleNameTable table = ReadCapsuleNames();
  EXPECT_EQ(table.header[0], 6938);
  EXPECT_EQ(table.header[2], 2312);
  EXPECT_STREQ(table.names[1], "POCKET");
  backend().WhenDialogOpens(kCapsuleNameListDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.DoubleClick(capsule_name_ctl::kList, 1));
  });
  EXPECT_EQ(g_conditionOpeners.capsuleNames(), 1);
  EXPECT_STREQ(g_textBuffer, "02.POCKET");
}

}  // namespace
}  // namespace dorn::test
