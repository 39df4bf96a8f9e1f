#pragma once
// PostDefinition: one 1352-byte post-processor record of "$POST.@@@" (data
// root) and one slot of the post table. A post tells Kelto_qup how to write NC
// text for one machine control: six block templates, a name and 39 options.
//
// Written by Kelto_Dorn's post settings dialog (whole table, records 0 to
// count - 1); read by Kelto_Dorn at start-up and when the dialog opens, by
// the definition dialogs (names, last T code), and by Kelto_qup at start-up,
// which selects one post per process and derives its output switches from
// the options. Texts are CP932, NUL-terminated within their fields.
//
// | off  | type      | field             | meaning                                  |
// |------|-----------|-------------------|------------------------------------------|
// |    0 | int32     | currentPost       | record 0 only: the current post number;  |
// |      |           |                   | elsewhere carried along without meaning  |
// |    4 | int32     | postCount         | record 0 only: records in use, record 0  |
// |      |           |                   | included; elsewhere carried along        |
// |    8 | char[190] | blocks[0] INIT    | program start, default "(INIT_POST)"     |
// |  198 | char[190] | blocks[1] ATC     | tool change, default "(ATC_POST)"        |
// |  388 | char[190] | blocks[2] SET     | set-up after a tool change "(SET_POST)"  |
// |  578 | char[190] | blocks[3] BACK00  | first return block "(BACK00_POST)"       |
// |  768 | char[190] | blocks[4] BACK99  | second return block "(BACK99_POST)"      |
// |  958 | char[190] | blocks[5] END     | program end, default "(END_POST)"        |
// | 1148 | char[48]  | name              | post name, default "標準ポスト"           |
// | 1196 | int32[39] | options           | see the option fields below              |
//
// Options: unless noted, 0 is the first choice of the dialog row and 1 the
// second ("Yes"/"No" rows store 0 for Yes). splitMachining and
// renumberPrograms are the exception: 1 is Yes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/record_file.h"

namespace handover {

// One block template: NC text with the placeholders of the companion's block
// output, at most 189 bytes and a NUL.
struct BlockTemplate {
  static constexpr std::size_t kSize = 190;
  char text[kSize] = {};

  std::string Text() const;              // CP932, up to the NUL
  void SetText(std::string_view cp932);  // cut on a character boundary
};
static_assert(sizeof(BlockTemplate) == 190);

// The six templates in record order.
enum class BlockKind : int { Init = 0, Atc = 1, Set = 2, Back00 = 3, Back99 = 4, End = 5 };
inline constexpr int kBlockTemplateCount = 6;
// Each template's default text, which is also its name.
inline constexpr const char* kBlockTemplateDefaults[kBlockTemplateCount] = {
    "(INIT_POST)", "(ATC_POST)", "(SET_POST)", "(BACK00_POST)", "(BACK99_POST)", "(END_POST)"};
// What the settings dialog lets the user type into each template, so that
// every text keeps room for its NUL: 150 for start, tool change and end,
// 100 for the set-up and return blocks; the name takes 40.
inline constexpr int kBlockTypingLimit[kBlockTemplateCount] = {150, 150, 100, 100, 100, 150};
inline constexpr int kPostNameTypingLimit = 40;

struct PostDefinition {
  std::int32_t currentPost = 0;
  std::int32_t postCount = 0;
  BlockTemplate blocks[kBlockTemplateCount];
  char name[48] = {};
  // Options, in record order (offset: dialog label; choices 0 / 1).
  std::int32_t decimalPointOutput = 0;  // 1196 小数点出力: Yes / No
  std::int32_t numberUnit = 0;          // 1200 数値単位: 1/1000 / 1/100
  std::int32_t dataMode = 1;            // 1204 データ仕様: INC / ABS
  std::int32_t feedDecimalPoint = 1;    // 1208 F_CODE小数点出力: Yes / No
  std::int32_t reserved1212 = 0;        // 1212 not edited
  std::int32_t leadingPercent = 0;      // 1216 先頭｢％｣出力: Yes / No
  std::int32_t trailingPercent = 0;     // 1220 最終｢％｣出力: Yes / No
  std::int32_t feedConversion = 1;      // 1224 F_CODE変換FV=nn: Yes / No
  std::int32_t sequenceNumbers = 0;     // 1228 加工番号[Nxxxx]: Yes / No
  std::int32_t toolOrigin = 0;          // 1232 ＴＯＯＬ原点: centre / tip
  std::int32_t arcSize = 0;             // 1236 円弧指定: radius / diameter
  std::int32_t quadrantSplit = 1;       // 1240 象限分割: Yes / No
  std::int32_t halfCircleSplit = 1;     // 1244 半円分割: Yes / No
  std::int32_t arcOutput = 1;           // 1248 円弧出力: Rnnn.n / I__J__
  std::int32_t axisAddress = 0;         // 1252 軸アドレス: X.Y.Z / U.V.W
  std::int32_t g17Output = 0;           // 1256 Ｇ１７出力: Yes / No
  std::int32_t g18g19Output = 1;        // 1260 Ｇ１８Ｇ１９出力: Yes / No
  std::int32_t originSetting = 0;       // 1264 原点指定: Yes / No
  std::int32_t lastTCode = 0;           // 1268 ラストＴコード: T number, 0 = TOP
  std::int32_t coordinateSetting = 1;   // 1272 座標指定: Yes / No
  std::int32_t gCodeForm = 0;           // 1276 Ｇコード形式: two digits / one
  std::int32_t rapidG00Output = 0;      // 1280 早送りＧ００出力: Yes / No
  std::int32_t laserCompensation = 1;   // 1284 レイザー補正: Yes / No
  std::int32_t compensationCancel = 0;  // 1288 工具補正キャンセル: "G40;" / "G00G40"
  std::int32_t g39Compensation = 1;     // 1292 Ｇ３９の補正: Yes / No
  std::int32_t wireControlForm = 1;     // 1296 wire control form: Yes / No
  std::int32_t wireDialect = 0;   // 1300 ワイヤー仕様: first / second dialect
  std::int32_t spindleCode = 0;         // 1304 主軸回転コード: 0 = M03, else second M number
  std::int32_t ncDataMerge = 0;         // 1308 ＮＣデータ統合: Yes / No
  std::int32_t holeCycleDialect = 0;    // 1312 穴加工仕様: first / second dialect
  std::int32_t originCode = 0;          // 1316 原点コード: G92 / G54
  std::int32_t helicalMachining = 0;    // 1320 ヘリカル加工: Yes / No
  std::int32_t reserved1324 = 0;        // 1324 not edited
  std::int32_t ncDataOrigin = 1;        // 1328 ＮＣデータ: centre / tip
  std::int32_t toolLengthG43 = 0;       // 1332 工具長補正[G43]: Yes / No
  std::int32_t splitMachining = 0;      // 1336 加工分割: 1 = Yes, 0 = No
  std::int32_t renumberPrograms = 0;    // 1340 O番号更新: 1 = Yes, 0 = No
  std::int32_t reserved1344 = 0;        // 1344 not edited
  std::int32_t reserved1348 = 0;        // 1348 not edited

  BlockTemplate& Block(BlockKind kind) { return blocks[static_cast<int>(kind)]; }
  const BlockTemplate& Block(BlockKind kind) const { return blocks[static_cast<int>(kind)]; }
  std::string Name() const;              // CP932, up to the NUL
  void SetName(std::string_view cp932);  // cut on a character boundary
};

static_assert(sizeof(PostDefinition) == 1352);
static_assert(offsetof(PostDefinition, currentPost) == 0);
static_assert(offsetof(PostDefinition, postCount) == 4);
static_assert(offsetof(PostDefinition, blocks) == 8);
static_assert(offsetof(PostDefinition, blocks) + 1 * BlockTemplate::kSize == 198);
static_assert(offsetof(PostDefinition, blocks) + 2 * BlockTemplate::kSize == 388);
static_assert(offsetof(PostDefinition, blocks) + 3 * BlockTemplate::kSize == 578);
static_assert(offsetof(PostDefinition, blocks) + 4 * BlockTemplate::kSize == 768);
static_assert(offsetof(PostDefinition, blocks) + 5 * BlockTemplate::kSize == 958);
static_assert(offsetof(PostDefinition, name) == 1148);
static_assert(offsetof(PostDefinition, decimalPointOutput) == 1196);
static_assert(offsetof(PostDefinition, numberUnit) == 1200);
static_assert(offsetof(PostDefinition, dataMode) == 1204);
static_assert(offsetof(PostDefinition, feedDecimalPoint) == 1208);
static_assert(offsetof(PostDefinition, reserved1212) == 1212);
static_assert(offsetof(PostDefinition, leadingPercent) == 1216);
static_assert(offsetof(PostDefinition, trailingPercent) == 1220);
static_assert(offsetof(PostDefinition, feedConversion) == 1224);
static_assert(offsetof(PostDefinition, sequenceNumbers) == 1228);
static_assert(offsetof(PostDefinition, toolOrigin) == 1232);
static_assert(offsetof(PostDefinition, arcSize) == 1236);
static_assert(offsetof(PostDefinition, quadrantSplit) == 1240);
static_assert(offsetof(PostDefinition, halfCircleSplit) == 1244);
static_assert(offsetof(PostDefinition, arcOutput) == 1248);
static_assert(offsetof(PostDefinition, axisAddress) == 1252);
static_assert(offsetof(PostDefinition, g17Output) == 1256);
static_assert(offsetof(PostDefinition, g18g19Output) == 1260);
static_assert(offsetof(PostDefinition, originSetting) == 1264);
static_assert(offsetof(PostDefinition, lastTCode) == 1268);
static_assert(offsetof(PostDefinition, coordinateSetting) == 1272);
static_assert(offsetof(PostDefinition, gCodeForm) == 1276);
static_assert(offsetof(PostDefinition, rapidG00Output) == 1280);
static_assert(offsetof(PostDefinition, laserCompensation) == 1284);
static_assert(offsetof(PostDefinition, compensationCancel) == 1288);
static_assert(offsetof(PostDefinition, g39Compensation) == 1292);
static_assert(offsetof(PostDefinition, wireControlForm) == 1296);
static_assert(offsetof(PostDefinition, wireDialect) == 1300);
static_assert(offsetof(PostDefinition, spindleCode) == 1304);
static_assert(offsetof(PostDefinition, ncDataMerge) == 1308);
static_assert(offsetof(PostDefinition, holeCycleDialect) == 1312);
static_assert(offsetof(PostDefinition, originCode) == 1316);
static_assert(offsetof(PostDefinition, helicalMachining) == 1320);
static_assert(offsetof(PostDefinition, reserved1324) == 1324);
static_assert(offsetof(PostDefinition, ncDataOrigin) == 1328);
static_assert(offsetof(PostDefinition, toolLengthG43) == 1332);
static_assert(offsetof(PostDefinition, splitMachining) == 1336);
static_assert(offsetof(PostDefinition, renumberPrograms) == 1340);
static_assert(offsetof(PostDefinition, reserved1344) == 1344);
static_assert(offsetof(PostDefinition, reserved1348) == 1348);
static_assert(platform::FileRecord<PostDefinition>);

inline constexpr char kPostFileName[] = "$POST.@@@";
// Slots of the post table; record 0 is the header, posts are 1 to count - 1.
inline constexpr std::size_t kPostTableSize = 31;
using PostTable = std::array<PostDefinition, kPostTableSize>;

// Gives a record its defaults: the six templates and the name cleared and set
// to their default texts, the options to their defaults. The two header
// integers are left as they are.
void ResetPostRecord(PostDefinition& post);

// The table that a missing file means: every slot reset, record 0 the header
// with current post 1 and count 2, post 1 the default post.
void SetDefaultPostTable(PostTable& table);

// Reads "$POST.@@@" into the table.
//  - Missing: the table becomes the default table; status Missing.
//  - Empty, or not a whole number of records: damaged; the table is left as
//    it was and the error names the file.
//  - Otherwise every slot is reset and records are read into slots 0, 1, ...;
//    records after the 31st are ignored. The count is the number of records
//    read, or when all 31 slots were filled, record 0's count if that lies in
//    1..31 (else 31). A current post outside 1..count - 1 becomes 1 (0 when
//    the table holds no post). Every text field is terminated.
platform::FileResult ReadPostTable(const std::filesystem::path& path, PostTable& table);

// Writes records 0 to count - 1 (record 0's count) whole and atomically. A
// count outside 1..31 is refused and nothing is written.
platform::FileResult WritePostTable(const std::filesystem::path& path, const PostTable& table);

}  // namespace handover
