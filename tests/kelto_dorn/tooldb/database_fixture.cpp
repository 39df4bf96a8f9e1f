#include "tests/kelto_dorn/tooldb/database_fixture.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "platform/text.h"
#include "tests/support/shown_texts.h"

namespace dorn::test {

ToolRecord SampleTool(const std::string& nameUtf8, float diameter, int seed) {
  ToolRecord r{};
  platform::SetFieldText(r.secName, platform::Utf8ToCp932(nameUtf8));
  r.diameter = diameter;
  r.cornerRadius = seed % 2 == 0 ? 0.5f : 0.0f;
  r.flatRadius = diameter / 2.0f - r.cornerRadius;
  r.spindleSpeed = 1000 + 10 * seed;
  r.feed = 120.5f + static_cast<float>(seed);
  r.fixedCycle = seed % 3 == 0 ? 81 : 0;
  r.mCode = seed % 4;
  r.g84Twice = seed % 2;
  r.hCode = static_cast<std::int16_t>(seed + 1);
  r.dCode = static_cast<std::int16_t>(seed + 21);
  r.qValue = 1.25f;
  r.pValue = seed % 2 == 0 ? 0.0f : 500.0f;
  r.fluteLength = 25.0f;
  r.tNumber = seed + 1;
  r.coolant = static_cast<std::int16_t>(seed % 5);
  return r;
}

void DatabaseTest::SetUp() {
  ProgramFolderTest::SetUp();
  backend_ = &platform::headless::InstallHeadlessBackend();
  ResetDbSelection();
  ResetCommandEngines();
  ResetViewAccess();
  g_curToolIndex = 0;
  MessageValueSources sources;
  sources.textBuffer = [] { return std::string(g_textBuffer, ::strnlen(g_textBuffer, sizeof g_textBuffer)); };
  SetMessageValueSources(std::move(sources));
  ASSERT_TRUE(tools_.Allocate());
}

void DatabaseTest::TearDown() {
  platform::UninstallBackend();
  tools_.Release();
  ResetDbSelection();
  ResetMessageValueSources();
  ResetCommandEngines();
  ResetViewAccess();
  ProgramFolderTest::TearDown();
}

fs::path DatabaseTest::ToolFile(const std::string& base, const std::string& tool) const {
  return home() / "_DBS" / base / tool / "$DBS_GEN.@@@";
}

fs::path DatabaseTest::AtcFile(const std::string& machine) const { return home() / "_ATC" / machine / "$ATC_DBS.@@@"; }

void DatabaseTest::WriteToolFolder(const std::string& base, const std::string& tool,
                                   const std::vector<ToolRecord>& tools) {
  fs::create_directories(ToolFile(base, tool).parent_path());
  std::ofstream out(ToolFile(base, tool), std::ios::binary);
  out.write(reinterpret_cast<const char*>(tools.data()), static_cast<std::streamsize>(tools.size() * sizeof(ToolRecord)));
}

void DatabaseTest::WriteMachine(const std::string& machine, const std::vector<AtcRecord>& rows) {
  fs::create_directories(AtcFile(machine).parent_path());
  std::ofstream out(AtcFile(machine), std::ios::binary);
  out.write(reinterpret_cast<const char*>(rows.data()), static_cast<std::streamsize>(rows.size() * sizeof(AtcRecord)));
}

std::vector<std::string> DatabaseTest::Shown() const { return testsupport::ShownMessageTexts(*backend_); }

bool DatabaseTest::WasShown(const std::string& utf8Part) const {
  for (const std::string& text : Shown()) {
    if (text.find(utf8Part) != std::string::npos) return true;
  }
  return false;
}

}  // namespace dorn::test
