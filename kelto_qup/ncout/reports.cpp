// Job reports and display files, written at the end of every NC creation
// run: the tool-information CSV and the process list "$PROCESS.LST" (with
// its copy beside the NC file), and the display files "$CG_WINDW.@@@" (the
// program's extents) and "$CG_DATA.LST" (the display list). Every file is
// written whole; one that cannot be written is named in the message list
// and the others are still written.
#include "kelto_qup/ncout/reports.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"
#include "shared/handover/display_record.h"
#include "shared/handover/pit_in_map_record.h"

namespace qup {

namespace {

// printf into a string (the texts are CP932 bytes).
std::string Format(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

const std::string& J(const char* utf8) { return platform::Sjis(utf8); }

// A report number: positive values as FormatFixed3, others as given.
std::string Positive(double value, const char* otherwise) {
  return value > 0.0 ? FormatFixed3(value) : std::string(otherwise);
}
std::string PositiveInt(long value) { return value > 0 ? Format("%ld", value) : std::string("0"); }

const char* MachiningTypeName(int kind) {
  switch (kind) {
    case 0xB400:
      return "穴加工";
    case 0xA000:
      return "平面加工";
    case 0x8000:
      return "文字加工";
    case 0xB800:
      return "ヘリカル穴加工";
    case 0xC000:
      return "４軸ワイヤー加工";
    case 0xBC00:
      return "深穴高速加工";
    case 0xC100:
      return "２軸ワイヤー加工";
    case 0xE300:
      return "３軸加工";
    case 0xDA00:
      return "テーパー加工";
    case 0xD000:
      return "２.５軸加工";
    case 0xF300:
      return "モデル加工";
    case 0xF700:
      return "SCREW加工";
    case 0xF400:
      return "FILLET加工";
    default:
      return nullptr;
  }
}

struct Clock {
  long hours, minutes, seconds;
};
// Seconds as hours, minutes and seconds. A time that is not a number or is
// beyond a century (a damaged hand-over with absurd distances or feeds) is
// shown as the largest the report holds, never converted out of range.
Clock SplitSeconds(double total) {
  constexpr double kLargest = 100.0 * 365 * 24 * 3600;
  if (!(total > 0.0)) total = 0.0;
  if (total > kLargest) total = kLargest;
  const long whole = static_cast<long>(total);
  return {whole / 3600, (whole / 60) % 60, whole % 60};
}

// CP932 text, "+" joins.
std::string Cat(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& p : parts) out += p;
  return out;
}

}  // namespace

std::string FormatFixed3(double value) {
  if (!std::isfinite(value)) return "0.0";
  std::string text = Format("%4.3f", value);
  while (text.size() > 1 && text.back() == '0' && text[text.size() - 2] != '.') text.pop_back();
  std::size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? text : text.substr(first);
}

std::string FitToWidth(const std::string& text, std::size_t width) {
  std::string out = text.substr(0, platform::Cp932PrefixLength(text, width));
  out.resize(width, ' ');
  return out;
}

ToolInfoFields FormatToolInfoFields(handover::ToolMapRecord& r, const std::string& postName) {
  ToolInfoFields f;
  f.diameter = Positive(r.diameter, "0.0");
  f.field1 = Positive(r.cornerRadius, "0.0");
  f.field2 = Positive(r.flatRadius, "0.0");
  f.field3 = Positive(r.tipAngle, "0.0");
  f.field4 = Positive(r.tipLength, "0.0");
  f.feed = Positive(r.feed, "0");
  f.spindle = PositiveInt(r.spindleSpeed);
  f.cannedCycle = PositiveInt(r.cannedCycle);
  f.cutInQ = Positive(r.peckDepth, "0.0");
  f.field9 = Positive(r.pCode, "0");
  f.field10 = PositiveInt(r.mCode);
  f.field11 = Positive(r.fluteLength, "0.0");
  f.hCode = PositiveInt(r.hCode);
  f.dCode = r.stopFlag >= 1 ? PositiveInt(r.dCode) : std::string("0");
  f.onFlag = r.tapTwice == 1 ? "ON" : "";
  f.field15 = PositiveInt(r.outputTNumber);
  switch (r.coolant) {
    case 1:
      f.coolant = J("油");
      break;
    case 2:
      f.coolant = J("エア");
      break;
    case 3:
      f.coolant = J("Ｓ油");
      break;
    case 4:
      f.coolant = J("Ｓエア");
      break;
    default:
      f.coolant.clear();
      r.coolant = 0;
      break;
  }
  f.originZ = Positive(r.originZ, "0.0");
  f.travelZ = Positive(r.travelZ(), "0.0");
  f.field18 = Positive(r.holeRPointZ, "0.0");
  f.field19 = Positive(r.holeThroughAmount, "0.0");
  if (const char* name = MachiningTypeName(r.machiningKind)) f.machiningType = J(name);
  f.postName = postName;
  f.remarks = "...";
  return f;
}

void RunContext::WriteReportFile(const platform::fs::path& path, const std::string& text) {
  const platform::FileResult result = platform::WriteFileAtomic(path, text.data(), text.size());
  if (!result.ok()) host.AddListLine(platform::Utf8ToCp932(result.message));
}

void RunContext::WriteCgWindow(int which, int colourOffset) {
  const platform::fs::path folder = platform::ProgramFolder();
  if (which & 0x01) {
    const PathExtents& e = output.Extents;
    NcElement window;
    window.d0 = e.MinX;
    window.d1 = e.MaxX;
    window.d2 = e.MinY;
    window.d3 = e.MaxY;
    window.d4 = e.MinZ;
    window.d5 = e.MaxZ;
    const platform::FileResult result = platform::WriteRecord(folder / "$CG_WINDW.@@@", window);
    if (!result.ok()) host.AddListLine(platform::Utf8ToCp932(result.message));
  }
  if ((which & 0x10) && job.DisplayList) {
    const std::vector<std::array<std::uint32_t, 8>> words = job.DisplayList();
    std::vector<handover::CDisplayRecord> records(words.size());
    if (!words.empty())
      std::memcpy(static_cast<void*>(records.data()), words.data(), words.size() * sizeof(handover::CDisplayRecord));
    const platform::FileResult result =
        handover::WriteDisplayList(folder / handover::kDisplayListFileName, records, colourOffset);
    if (!result.ok()) host.AddListLine(platform::Utf8ToCp932(result.message));
  }
}

void RunContext::ReadPitInItems(std::vector<handover::PitInMapRecord>& items) {
  // The report's table holds 128 items: whole records up to the first of
  // kind 0, at most 128; a cut last record and an item with a depth that is
  // not a number are left out.
  std::vector<std::uint8_t> bytes;
  const platform::FileResult read =
      platform::ReadWholeFile(platform::ProgramFolder() / handover::kPitInMapFileName, bytes);
  if (!read.ok()) {
    host.AddListLine(platform::Utf8ToCp932(read.message));
    return;
  }
  const std::size_t count = std::min(bytes.size() / sizeof(handover::PitInMapRecord), handover::kMaxPitInItemsRead);
  for (std::size_t i = 0; i < count; ++i) {
    handover::PitInMapRecord item;
    std::memcpy(&item, bytes.data() + i * sizeof item, sizeof item);
    if (item.kind == handover::PitInMapRecord::kEndOfTable) break;
    bool finite = true;
    for (double depth : item.depths) finite = finite && std::isfinite(depth);
    if (finite) items.push_back(item);
  }
}

std::string RunContext::PostNameOf(int postNumber) const {
  if (postNumber < 0 || postNumber >= static_cast<int>(handover::kPostTableSize)) return "";
  return job.Posts[static_cast<std::size_t>(postNumber)].Name();
}

void RunContext::WriteToolInfoReport() {
  WriteCgWindow(0x11, job.DisplayColourOffset);
  const handover::DrawingHeader& h = job.Header;
  const std::string unit = platform::FieldText(h.unitName);
  const std::string second = platform::FieldText(h.secondName);
  const std::string drawing = platform::FieldText(h.drawingName);
  const std::string extension = platform::FieldText(h.dataExtension);
  const std::string designer = platform::FieldText(h.designerName);
  const std::string& machine = output.JobMachineName;

  // Totals: CPU time, predicted time, cutting distance and tape length.
  const Clock cpu = SplitSeconds(static_cast<double>(std::time(nullptr)) - job.RunStartSeconds);
  engine.core.MachiningTime *= job.TimeFactor;
  const Clock predicted = SplitSeconds(engine.core.MachiningTime);
  const double distance = RoundTo3Decimals(engine.core.PathLength * 0.001);
  const double tape = RoundTo3Decimals(static_cast<double>(output.NcByteCount) * 2.54 * 0.001);

  // Pit-in items, when the run met a pit-in section. Without the map the
  // reports are still written, without the pit-in lines.
  std::vector<handover::PitInMapRecord> pitIn;
  if (engine.EndOfDataFlag == 1) ReadPitInItems(pitIn);

  std::string csv = J("≪加工詳細情報≫\n");
  csv += Cat({J("機械名　　　　　　　"), machine, "\n"});
  csv += Cat({J("ユニット名　　　　　"), unit, "\n"});
  csv += Cat({J("セカンド名　　　　　"), second, "\n"});
  csv += Cat({J("ファイル名　　　　　"), drawing, "\n"});
  csv += J("プログラム番号　　　") + Format("%d\n", h.programNumber);
  csv += Format(J("ワークサイズ　　　　X%4.1f　Y%4.1f　Z%4.1f\n").c_str(), h.workSizeX, h.workSizeY, h.workSizeZ);

  std::string list = "*\n";
  if (!extension.empty()) {
    list += Format("* [ \\%s\\%s\\DAT\\%s.%s ]\n*\n", unit.c_str(), second.c_str(), drawing.c_str(), extension.c_str());
  } else {
    list += Format("* [ \\%s\\%s\\DAT\\%s ]\n*\n", unit.c_str(), second.c_str(), drawing.c_str());
  }
  list += Cat({J("*    　加工機械名　"), machine, "\n"});
  list += Format(J("*    ワークサイズ  X[%4.3f]  Y[%4.3f]  Z[%4.3f]\n").c_str(), h.workSizeX, h.workSizeY, h.workSizeZ);
  static const char* const kOrigins[] = {"[中央]", "[右上]", "[左上]", "[左下]", "[右下]"};
  const std::string origin =
      (h.workOriginPosition >= 0 && h.workOriginPosition <= 4) ? J(kOrigins[h.workOriginPosition]) : std::string();
  list += Format(J("*  ワーク原点位置  %s  pX[%4.3f]  pY[%4.3f]\n").c_str(), origin.c_str(), -h.originOffsetX,
                 -h.originOffsetY);
  csv += Format(J("ワーク原点位置　　　%s　WX%4.1f　WY%4.1f\n").c_str(), origin.c_str(), -h.originOffsetX,
                -h.originOffsetY);
  csv += J("\n\n≪工具加工情報≫\n");
  csv +=
      J("加工No.,ATC,工具名,工具径,回転,送り,切削油,固定G,切込Q,D_CODE,H_CODE,開始Ｚ,最終Ｚ,座標系,原点Ｚ,移動Ｚ,"
        "加工タイプ,ポスト名,備考\n");

  if (h.programNumber != 0) list += Format(J("*  プログラム番号  Ｏ%d\n").c_str(), h.programNumber);
  list += Format(J("*    加工予測時間  %02ld時間 %02ld分 %02ld秒\n").c_str(), predicted.hours, predicted.minutes,
                 predicted.seconds);
  const bool wroteFile = output.EffectiveMode == 0 || output.EffectiveMode == 3 || job.Modes.SubMode == 6;
  if (wroteFile) list += Format(J("*  ファイルサイズ  %ld Byte\n").c_str(), static_cast<long>(output.NcByteCount));
  list += Format(J("*        切削距離  %5.3fメートル\n").c_str(), distance);
  if (wroteFile) list += Format(J("*      紙テープ長  %5.3fメートル\n").c_str(), tape);
  const PathExtents& e = output.Extents;
  list += Format("* [min_X / max_X]  [%-4.3f / %4.3f]\n", e.MinX, e.MaxX);
  list += Format("* [min_Y / max_Y]  [%-4.3f / %4.3f]\n", e.MinY, e.MaxY);
  list += Format("* [min_Z / max_Z]  [%-4.3f / %4.3f]\n", e.MinZ, e.MaxZ);
  list += Format(J("*     CPU計算時間  %02ld時間 %02ld分 %02ld秒\n").c_str(), cpu.hours, cpu.minutes, cpu.seconds);
  list += Cat({J("*        設計者名  "), designer, "\n"});
  list += "* \n";
  list += J("*                         ----- 加工工具表 -----\n");
  list += "* \n";

  const char* const kDash = "* ----- ----- ----- ----- ----- ----- ----- ----- ----- ----- ----- ----- -----\n";
  // The first process without extents has no previous values: "0.0".
  std::string startZ = "0.0", finalZ = "0.0";
  for (std::size_t i = 0; i < output.ToolMap.size(); ++i) {
    handover::ToolMapRecord record = output.ToolMap[i];
    const int n = static_cast<int>(i) + 1;
    list += kDash;
    std::string mark;
    if (record.mark == 0) {
      mark = record.stopFlag != 0 ? "M00" : "   ";
    } else {
      mark = record.stopFlag != 0 ? J("☆M") : J("☆ ");
    }
    const std::string prefix = platform::FieldText(record.toolName);
    const std::string name = platform::FieldText(record.secName);
    const std::string head = FitToWidth(
        Format("* N%04d %s ATC_%04d %s_%s ", n, mark.c_str(), record.atcNumber, prefix.c_str(), name.c_str()), 52);
    for (int t = 0; t < PathExtents::kToolEntries; ++t) {
      if (job.ToolExtentProcess[static_cast<std::size_t>(t)] != n) continue;
      const double top = e.ToolMaxZ[static_cast<std::size_t>(t)];
      const double bottom = e.ToolMinZ[static_cast<std::size_t>(t)];
      if (top > -999999.0 && bottom < 999999.0) {
        startZ = FormatFixed3(top);
        finalZ = FormatFixed3(bottom);
      }
      break;
    }
    const ToolInfoFields f = FormatToolInfoFields(record, PostNameOf(record.postNumber));
    const std::string zText = "Z=" + finalZ;
    const std::string diameterText = Format(J("%7sφ %s").c_str(), f.diameter.c_str(), zText.c_str());
    static const char* const kCoordinates[] = {"G54", "G55", "G56", "G57", "G58", "G59"};
    const std::string coordinates =
        (record.workCoordinate >= 0 && record.workCoordinate <= 5) ? kCoordinates[record.workCoordinate] : "   ";
    csv += Format("%04d,%04d,%s %s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s\n", n, record.atcNumber,
                  prefix.c_str(), name.c_str(), f.diameter.c_str(), f.spindle.c_str(), f.feed.c_str(),
                  f.coolant.c_str(), f.cannedCycle.c_str(), f.cutInQ.c_str(), f.dCode.c_str(), f.hCode.c_str(),
                  startZ.c_str(), finalZ.c_str(), coordinates.c_str(), f.originZ.c_str(), f.travelZ.c_str(),
                  f.machiningType.c_str(), f.postName.c_str(), f.remarks.c_str());
    std::string compensation = "       ";
    const int side = record.compensationWord &
                     (handover::ToolMapRecord::kCompensationLeft | handover::ToolMapRecord::kCompensationRight);
    if (side != 0) {
      int dNumber = record.compensationWord & handover::ToolMapRecord::kDNumberMask;
      if (dNumber == 0) dNumber = record.atcNumber;  // D number 0 means the T number
      compensation = Format(
          (record.compensationWord & handover::ToolMapRecord::kCompensationLeft) ? "G41_D%d" : "G42_D%d", dNumber);
    }
    list += head + Format(" %s %s %s", diameterText.c_str(), compensation.c_str(), "") + "\n";
    for (const handover::PitInMapRecord& item : pitIn) {
      if (item.kind == 0) break;
      if (item.toolMapNumber != n) continue;
      for (int k = 0; k < 4; ++k) {
        if (item.sectionNumbers[k] > 0) {
          list += Format(J("*                    O%d   %4.3f追込み").c_str(), item.sectionNumbers[k], item.depths[k]);
          list += "\n";
        }
      }
    }
  }
  list += kDash;

  WriteReportFile(platform::ResolvePath(platform::DataRoot(), DatFolderRelative(drawing + J("加工詳細工具情報.csv"))),
                  csv);
  WriteReportFile(platform::ProgramFolder() / "$PROCESS.LST", list);
  WriteReportFile(platform::ResolvePath(platform::DataRoot(), DatFolderRelative(drawing + ".LST")), list);
}

}  // namespace qup
