#include "platform/paths.h"

#include <fstream>

#include <gtest/gtest.h>

#include "platform/text.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& p) {
  fs::create_directories(p.parent_path());
  std::ofstream(p) << "x";
}

TEST(NativePath, BackslashesBecomeSeparatorsButNotInsideACharacter) {
  EXPECT_EQ(platform::NativePath("ExPort\\DBS_Export.csv"), fs::path("ExPort/DBS_Export.csv"));
  EXPECT_EQ(platform::NativePath("_BAK\\_V0001.BAK"), fs::path("_BAK/_V0001.BAK"));
  // "表\示" : the 0x5C of "表" is its second byte, the next one a separator.
  std::string name = platform::Utf8ToCp932("表") + "\\" + platform::Utf8ToCp932("示");
  EXPECT_EQ(platform::NativePath(name), fs::path("表") / "示");
  EXPECT_EQ(platform::NativePath("\\srv\\data"), fs::path("/srv/data"));
}

class ProgramFolder : public testsupport::ProgramFolderTest {};

TEST_F(ProgramFolder, ComesFromKeltoHomeAndDataRootFollowsUnlessSet) {
  EXPECT_EQ(platform::ProgramFolder(), home());
  EXPECT_EQ(platform::DataRoot(), home());
  platform::SetDataRoot(home() / "server");
  EXPECT_EQ(platform::DataRoot(), home() / "server");
  EXPECT_EQ(platform::ProgramFolder(), home());
}

TEST_F(ProgramFolder, LookupIgnoresCaseOfExistingEntries) {
  Touch(home() / "Post" / "TOSNUC.txt");
  EXPECT_EQ(platform::ResolvePath(home(), "POST\\TOSNUC.TXT"), home() / "Post" / "TOSNUC.txt");
  EXPECT_EQ(platform::FindExistingIgnoreCase(home() / "post" / "tosnuc.TXT"), home() / "Post" / "TOSNUC.txt");
  EXPECT_FALSE(platform::FindExistingIgnoreCase(home() / "post" / "other.txt"));
  // A name that does not exist yet is kept as written below the part that does.
  EXPECT_EQ(platform::ResolvePath(home(), "post\\New\\A.txt"), home() / "Post" / "New" / "A.txt");
}

TEST_F(ProgramFolder, JapaneseNamesAreUtf8OnDisk) {
  fs::path p = platform::ResolvePath(home(), platform::Utf8ToCp932("SAMPLE\\加工詳細工具情報.csv"));
  Touch(p);
  EXPECT_TRUE(fs::exists(home() / "SAMPLE" / "加工詳細工具情報.csv"));
  EXPECT_EQ(platform::SystemName(p.filename()), platform::Utf8ToCp932("加工詳細工具情報.csv"));
}

}  // namespace
