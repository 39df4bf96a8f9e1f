// The outside file-picking helper, played by a small shell script.
#include "platform/dravelo.h"

#include <fstream>
#include <sstream>

#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
using platform::DraveloCaller;
using platform::DraveloOutcome;

class DraveloTest : public testsupport::ProgramFolderTest {
 protected:
  // A helper that notes its argument and folder, then runs `body`.
  void InstallHelper(const std::string& body, const std::string& name = "Dravelo", bool executable = true) {
    fs::path script = home() / name;
    std::ofstream(script) << "#!/bin/sh\n"
                          << "printf '%s\\n' \"$1\" > called.txt\n"
                          << "pwd >> called.txt\n"
                          << body << "\n";
    fs::permissions(script, executable ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write);
  }
  std::string Called() {
    std::ifstream in(home() / "called.txt");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  fs::path AnswerFile() { return home() / "Dravelo.@@@"; }
};

TEST_F(DraveloTest, WithoutTheHelperTheCallerIsToldItIsAbsent) {
  platform::DraveloAnswer a = platform::RunDravelo(DraveloCaller::kMainProgram);
  EXPECT_EQ(a.outcome, DraveloOutcome::kAbsent);
  EXPECT_TRUE(a.path.empty());
}

TEST_F(DraveloTest, TheFirstAnswerLineIsTheChoiceAndTheAnswerFileIsDeleted) {
  InstallHelper("printf '/srv/share/PARTS/A001.DXF\\r\\nsecond line\\n' > Dravelo.@@@");
  struct Case {
    DraveloCaller caller;
    const char* argument;
  } cases[] = {{DraveloCaller::kMainProgram, "/TRUE"}, {DraveloCaller::kCompanion, "/FALSE"}};
  for (const Case& c : cases) {
    platform::DraveloAnswer a = platform::RunDravelo(c.caller);
    EXPECT_EQ(a.outcome, DraveloOutcome::kChosen) << a.message;
    EXPECT_EQ(a.path, "/srv/share/PARTS/A001.DXF");
    EXPECT_FALSE(fs::exists(AnswerFile()));
    // Started in the program folder with its one argument.
    EXPECT_EQ(Called(), std::string(c.argument) + "\n" + fs::canonical(home()).string() + "\n");
  }
}

TEST_F(DraveloTest, NoAnswerMeansNothingChosenEvenWithAnOldAnswerLeftOver) {
  InstallHelper("exit 0");
  std::ofstream(AnswerFile()) << "/old/choice.dxf\n";
  platform::DraveloAnswer a = platform::RunDravelo(DraveloCaller::kMainProgram);
  EXPECT_EQ(a.outcome, DraveloOutcome::kNothingChosen);
  EXPECT_TRUE(a.path.empty());
  EXPECT_FALSE(fs::exists(AnswerFile()));
}

TEST_F(DraveloTest, AnEmptyOrOverlongAnswerIsNoChoice) {
  struct Case {
    std::string answerLine;
    DraveloOutcome outcome;
  } cases[] = {
      {"", DraveloOutcome::kNothingChosen},
      {"/" + std::string(510, 'a'), DraveloOutcome::kChosen},  // 511 bytes: still whole
      {"/" + std::string(511, 'a'), DraveloOutcome::kFailed},  // would be cut
  };
  for (const Case& c : cases) {
    InstallHelper("printf '%s\\n' '" + c.answerLine + "' > Dravelo.@@@");
    platform::DraveloAnswer a = platform::RunDravelo(DraveloCaller::kCompanion);
    EXPECT_EQ(a.outcome, c.outcome) << c.answerLine.size();
    if (c.outcome == DraveloOutcome::kChosen) {
      EXPECT_EQ(a.path, c.answerLine);
    }
    if (c.outcome == DraveloOutcome::kFailed) {
      EXPECT_FALSE(a.message.empty());
    }
    EXPECT_FALSE(fs::exists(AnswerFile()));
  }
}

TEST_F(DraveloTest, TheHelperIsFoundWhateverTheCaseOfItsName) {
  InstallHelper("echo /x/y.dxf > Dravelo.@@@", "DRAVELO");
  platform::DraveloAnswer a = platform::RunDravelo(DraveloCaller::kMainProgram);
  EXPECT_EQ(a.outcome, DraveloOutcome::kChosen) << a.message;
  EXPECT_EQ(a.path, "/x/y.dxf");
}

TEST_F(DraveloTest, AHelperThatCannotBeStartedIsAFailureWithItsReason) {
  InstallHelper("echo /x > Dravelo.@@@", "Dravelo", /*executable=*/false);
  platform::DraveloAnswer a = platform::RunDravelo(DraveloCaller::kMainProgram);
  EXPECT_EQ(a.outcome, DraveloOutcome::kFailed);
  EXPECT_NE(a.message.find("Dravelo"), std::string::npos) << a.message;
}

}  // namespace
