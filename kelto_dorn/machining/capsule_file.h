#pragma once
// Capsule files: a drawing's definitions saved under a name in
// <data root>\_CPS\<name>\$Capsule.@@2 (the older form "$Capsule.@@@" with
// 13968-byte records is read when no current file exists): the definitions
// in slot order ended by a reset record, then their index records ended by
// one whose first word is 0xFFFF.
#include <filesystem>
#include <string>
#include <string_view>

namespace dorn {

class DefinitionSlots;
class DocAtcTable;

// Counts the loads; numbers the names of each loaded capsule 1..64.
extern int g_capsuleLoadCount;

std::filesystem::path CapsuleFilePath(std::string_view nameCp932, bool oldForm = false);

// Writes every stored definition as the capsule `name`; false (after
// message 50 naming the file) when it could not be written, and for a name
// that is no safe folder name (nothing written).
bool ExportCapsuleFile(const DefinitionSlots& slots, DocAtcTable& atc, std::string_view nameCp932);

// The name a loaded definition gets: the name cut at its last "_" (found by
// character; none: empty) and "_%02d" with the load count, cut to 63 bytes
// on a character boundary.
std::string LoadedDefinitionName(std::string_view nameCp932, int loadCount);

struct CapsuleLoad {
  bool found = false;    // a capsule file exists
  bool damaged = false;  // it could not be read whole (nothing appended)
  int appended = 0;      // definitions appended
  bool full = false;     // the table filled before the capsule ended
  bool refused = false;  // the name is no safe folder name
};

// Reads the capsule whole and appends its definitions behind the stored ones
// (as many as fit in 512, each with its index record), then numbers every
// index record afresh with each definition's number equal to its key.
CapsuleLoad LoadCapsuleFile(DefinitionSlots& slots, DocAtcTable& atc, std::string_view nameCp932);

}  // namespace dorn
