#include "kelto_dorn/tooldb/hole_process_csv.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/files/folder_lists.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/folder_names.h"
#include "kelto_dorn/tooldb/hole_processes.h"
#include "platform/csv.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLongestLine = 511;
constexpr double kLargestNumber = 99999.999;

constexpr const char* kHeaderUtf8 =
    "穴工程名,工程番号,ATC番号,工具名,SEC名,工具φ,Ｒ径,Ｆ径,先端角,先端長,回転Ｓ,送りＦ,固定Ｇ,切込Ｑ,P_CODE,M_CODE,"
    "刃長,G84_2回,outＴ番号,H_CODE,D_CODE,油仕様";

void ShowFileError(const fs::path& path) {
  std::snprintf(g_textBuffer, sizeof g_textBuffer, "%s", platform::SystemName(path).c_str());
  ShowMessage(50);
}

void Notify(HoleImportReport& report, const std::string& utf8) {
  report.problems.push_back(utf8);
  platform::ShowMessageBox(platform::Utf8ToCp932(utf8), "", 0x10);
}

int CoolantOf(const std::string& text) {
  using platform::Sjis;
  if (text == Sjis("油")) return 1;
  if (text == Sjis("エア")) return 2;
  if (text == Sjis("Ｓ油") || text == Sjis("S油")) return 3;
  if (text == Sjis("Ｓエア") || text == Sjis("Sエア")) return 4;
  return 0;
}

// Copies "_ANA" of the data root into "退避\_ANA" of the program folder.
bool BackUpProcesses() {
  const fs::path from = platform::ResolvePath(platform::DataRoot(), "_ANA");
  const fs::path to = platform::ResolvePath(platform::ProgramFolder(), platform::Sjis("退避\\_ANA"));
  std::error_code ec;
  if (!fs::exists(from, ec)) return true;  // nothing to keep
  fs::create_directories(to, ec);
  if (ec) return false;
  fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  return !ec;
}

struct PendingProcess {
  HoleProcessRecord record{};
  std::string name;
  int rows = 0;
  int skippedRows = 0;
  bool refused = false;
};

void Finish(PendingProcess& p, HoleImportReport& report) {
  if (p.name.empty() && p.rows == 0) return;
  if (p.refused) return;
  if (p.skippedRows > 0) {
    Notify(report, "※ 穴工程[" + platform::Cp932ToUtf8(p.name) + "]は８工程までです。" +
                       std::to_string(p.skippedRows) + "行を取り込みませんでした");
  }
  const platform::FileResult r = WriteHoleProcess(p.record);
  if (!r.ok()) {
    if (const auto path = HoleProcessFilePath(p.name)) ShowFileError(*path);
    return;
  }
  report.processes.push_back(p.name);
}

}  // namespace

fs::path HoleProcessCsvPath() { return platform::ResolvePath(platform::ProgramFolder(), "ExPort\\ANA_Export.csv"); }

bool ExportHoleProcesses(DocAtcTable& atc) {
  const fs::path path = HoleProcessCsvPath();
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  std::string out = platform::Sjis(kHeaderUtf8) + "\n";
  for (const std::string& name : ListUserFolders(platform::ResolvePath(platform::DataRoot(), "_ANA"))) {
    HoleProcessRecord record{};
    if (!ReadHoleProcess(name, record).ok()) continue;
    platform::SetFieldText(record.name, name);
    MatchHoleProcessToAtcTable(record, atc);
    for (int k = 0; k < HoleProcessRecord::kRowCount; ++k) {
      AtcRecord& row = record.rows[k];
      if (!(row.diameter > 0.0f)) continue;
      const AtcFieldTexts t = FormatThroughScratch(atc, row, DocAtcTable::kScratchSlot);
      char line[1024];
      std::snprintf(line, sizeof line, "%s,%02d,%d,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s\n",
                    name.c_str(), k + 1, row.atcNumber, t.toolName.c_str(), t.secName.c_str(), t.diameter.c_str(),
                    t.cornerRadius.c_str(), t.flatRadius.c_str(), t.tipAngle.c_str(), t.tipLength.c_str(),
                    t.spindleSpeed.c_str(), t.feed.c_str(), t.cannedCycle.c_str(), t.peckDepth.c_str(),
                    t.pCode.c_str(), t.mCode.c_str(), t.fluteLength.c_str(), t.tapTwice.c_str(),
                    t.outputTNumber.c_str(), t.hCode.c_str(), t.dCode.c_str(), t.coolant.c_str());
      out += line;
    }
  }
  if (!platform::WriteFileAtomic(path, out.data(), out.size()).ok()) {
    ShowFileError(path);
    return false;
  }
  platform::ShowMessageBox(platform::SystemName(path) + platform::Sjis("\n出力しました"), "", 0x40);
  return true;
}

void ParseHoleCsvField(HoleProcessRecord& record, int row, int field, std::string_view text) {
  if (text.empty() || row < 0 || row >= HoleProcessRecord::kRowCount) return;
  AtcRecord& r = record.rows[row];
  const std::string s(text);
  switch (field) {
    case 0:
      return platform::SetFieldText(record.name, s);
    case 3:
      return platform::SetFieldText(r.toolName, s);
    case 4:
      return platform::SetFieldText(r.secName, s);
    case 17:
      r.tapTwice = s == "ON" ? 1 : r.tapTwice;
      return;
    case 21:
      r.coolant = static_cast<std::int16_t>(CoolantOf(s));
      return;
    default:
      break;
  }
  double v = std::fabs(ParseNumber(s.c_str()));
  if (!(v <= kLargestNumber)) v = 0.0;
  const auto i = static_cast<std::int32_t>(v);
  switch (field) {
    case 1: record.rowNumbers[row] = i; break;
    case 2: r.atcNumber = i; break;
    case 5: r.diameter = static_cast<float>(v); break;
    case 6: r.cornerRadius = static_cast<float>(v); break;
    case 7: r.flatRadius = static_cast<float>(v); break;
    case 8: r.tipAngle = static_cast<float>(v); break;
    case 9: r.tipLength = static_cast<float>(v); break;
    case 10: r.spindleSpeed = i; break;
    case 11: r.feed = static_cast<float>(v); break;
    case 12: r.cannedCycle = i; break;
    case 13: r.peckDepth = static_cast<float>(v); break;
    case 14: r.pCode = static_cast<float>(v); break;
    case 15: r.mCode = i; break;
    case 16: r.fluteLength = static_cast<float>(v); break;
    case 18: r.outputTNumber = i; break;
    case 19: r.hCode = static_cast<std::int16_t>(i); break;
    case 20: r.dCode = static_cast<std::int16_t>(i); break;
    default: break;
  }
}

HoleImportReport ImportHoleProcesses(DocAtcTable& atc) {
  HoleImportReport report;
  const std::string question = platform::Sjis("※「ANA_Export.csv」をＤＢに取り込みします。\n宜しいですか ？");
  if (platform::ShowMessageBox(question, "", 0x24) != platform::kIdYes) return report;
  const fs::path path = HoleProcessCsvPath();
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    ShowFileError(path);
    return report;
  }
  if (!BackUpProcesses()) {
    // Without the copy the import could not be undone: nothing is read.
    Notify(report, "※ 穴工程の退避に失敗しました。取り込みを中止します");
    return report;
  }
  report.done = true;
  std::string line;
  std::getline(in, line);  // the header
  PendingProcess p;
  std::vector<std::string> fields;
  for (int lineNumber = 2; std::getline(in, line); ++lineNumber) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kLongestLine) line.resize(kLongestLine);
    fields.clear();
    platform::SplitCsvLine(line, ",", fields);
    if (fields.empty() || fields[0].empty()) continue;
    if (fields[0] != p.name) {
      Finish(p, report);
      p = PendingProcess{};
      p.name = fields[0];
      ClearHoleProcess(p.record, atc, false);
      if (!IsSafeFolderName(p.name)) {
        p.refused = true;
        Notify(report, std::to_string(lineNumber) + "行目: 穴工程名[" + platform::Cp932ToUtf8(p.name) +
                           "]はフォルダ名に使えません");
      }
    }
    if (p.refused) continue;
    if (p.rows >= HoleProcessRecord::kRowCount) {
      ++p.skippedRows;
      continue;
    }
    for (std::size_t i = 0; i < fields.size() && i < kHoleCsvFieldCount; ++i) {
      ParseHoleCsvField(p.record, p.rows, static_cast<int>(i), fields[i]);
    }
    ++p.rows;
  }
  Finish(p, report);
  // The editor shows nothing of the import: no process is left in it.
  ClearHoleProcess(g_holeProcess, atc, true);
  return report;
}

}  // namespace dorn
