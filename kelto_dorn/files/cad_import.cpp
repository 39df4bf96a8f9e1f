#include "kelto_dorn/files/cad_import.h"

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/files/dxf_reader.h"
#include "kelto_dorn/files/files_messages.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

namespace {

bool ReaderMissing(const char* kind) {
  ShowFilesMessage(platform::Sjis(kind) + platform::Sjis("ファイルの読み込みはまだ組み込まれていません"),
                   platform::MessageIcon::Information);
  return false;
}

}  // namespace

bool ReadBmiFile(std::FILE*) { return ReaderMissing("ＢＭＩ"); }
bool ReadIgesFile(std::FILE*) { return ReaderMissing("ＩＧＥＳ"); }
bool ReadDrnFile(std::FILE*) { return ReaderMissing("ＤＲＮ"); }
bool ReadNcProgramFile(std::FILE*) { return ReaderMissing("ＮＣプログラム"); }
bool ReadPointListFile(std::FILE*) { return ReaderMissing("点列"); }

bool ReadCadFile(int kind, const std::filesystem::path& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    ShowFilesMessage(platform::Sjis(" >>> DXF_FILE::オープンエラー！？\n") + platform::SystemName(path));
    return false;
  }
  bool ok = false;
  switch (kind & 0xF) {
    case 1: ok = ReadBmiFile(file); break;
    case 2: ok = ReadDxfFile(file, platform::SystemName(path.filename())).ok; break;
    case 3: ok = ReadIgesFile(file); break;
    case 4: ok = ReadDrnFile(file); break;
    case 5: ok = ReadNcProgramFile(file); break;
    case 6: ok = ReadPointListFile(file); break;
    default: break;
  }
  std::fclose(file);
  return ok;
}

}  // namespace dorn
