// NC text listed in the message list: both ends, and 500 lines at a time.
#include <gtest/gtest.h>

#include "platform/text.h"
#include "tests/kelto_qup/shell/shell_fixture.h"

namespace qup::shell::test {
namespace {

class NcTextTest : public ShellTest {
 protected:
  void WriteNcFile(int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i) text += "N" + std::to_string(i) + "\r\n";
    WriteFile(home() / "SAMPLE" / "PGM" / "DAT" / "TEST.NC", text);
  }
  void StartOn(int mode, int subMode) {
    handover::DrawingHeader header = handover::DefaultDrawingHeader();
    platform::SetFieldText(header.dataExtension, "NC");
    WriteHeader(header);
    Start();
    Dispatch();
    companion().app.Header().startMode = mode;
    companion().app.Header().subMode = subMode;
  }
};

TEST_F(NcTextTest, BothEndsOfA250LineFileListTheFirst101AndTheLast100Lines) {
  WriteNcFile(250);
  StartOn(4, 6);
  companion().view->LoadNcText(0);
  const std::vector<std::string> lines = ListLines();
  ASSERT_EQ(lines.size(), 101u + 5u + 100u);
  EXPECT_EQ(lines[0], "N0");
  EXPECT_EQ(lines[100], "N100");
  for (int i = 101; i < 106; ++i) EXPECT_EQ(lines[static_cast<std::size_t>(i)], "\t ･ ");
  EXPECT_EQ(lines[106], "N150");
  EXPECT_EQ(lines.back(), "N249");
  EXPECT_EQ(view().listBox().GetCurSel(), 0);
  EXPECT_EQ(companion().view->ListTop(), 250);
}

TEST_F(NcTextTest, PagesOf500LinesWalkThroughTheFileAndBeginAgain) {
  WriteNcFile(1200);
  StartOn(0, 3);
  struct Page {
    const char* first;
    const char* last;
    std::size_t count;
  } pages[] = {{"N0", "N499", 500}, {"N500", "N999", 500}, {"N1000", "N1199", 200}, {"N0", "N499", 500}};
  for (const Page& p : pages) {
    companion().view->LoadNcText(1);
    const std::vector<std::string> lines = ListLines();
    ASSERT_EQ(lines.size(), p.count);
    EXPECT_EQ(lines.front(), p.first);
    EXPECT_EQ(lines.back(), p.last);
  }
}

TEST_F(NcTextTest, NothingIsListedWithoutTheFileOrOutsideTheModesThatWroteIt) {
  StartOn(4, 6);
  companion().view->LoadNcText(0);
  EXPECT_EQ(ListLines(), std::vector<std::string>{"【実行終了】"}) << "no NC file";
  WriteNcFile(3);
  companion().app.Header().startMode = 11;
  companion().app.Header().subMode = 2;
  companion().view->LoadNcText(0);
  EXPECT_EQ(ListLines(), std::vector<std::string>{"【実行終了】"}) << "start mode 11 with sub-mode 2";
}

}  // namespace
}  // namespace qup::shell::test
