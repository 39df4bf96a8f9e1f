#pragma once
// FileServerSettings: "$FileServer.@@@" in the program folder, 392 bytes.
//
// Written by Kelto_Dorn's file-server settings dialog; read at start-up by
// both programs, which take the data root from it (the server path when
// enabled, else the program folder). Texts are CP932, NUL-terminated.
//
// | off | type      | field         | meaning                                |
// |-----|-----------|---------------|----------------------------------------|
// |   0 | int32     | enabled       | non-zero: serverPath is the data root  |
// |   4 | int32     | value         | kept for the dialog                    |
// |   8 | char[128] | folder        | CP932                                  |
// | 136 | char[128] | programFolder | set from the running program, never    |
// |     |           |               | taken from the file                    |
// | 264 | char[128] | serverPath    | CP932, the data root when enabled      |
#include <cstddef>
#include <cstdint>

#include "platform/record_file.h"

namespace handover {

struct FileServerSettings {
  std::int32_t enabled = 0;
  std::int32_t value = 0;
  char folder[128] = {};
  char programFolder[128] = {};
  char serverPath[128] = {};
};
static_assert(sizeof(FileServerSettings) == 392);
static_assert(offsetof(FileServerSettings, enabled) == 0);
static_assert(offsetof(FileServerSettings, value) == 4);
static_assert(offsetof(FileServerSettings, folder) == 8);
static_assert(offsetof(FileServerSettings, programFolder) == 136);
static_assert(offsetof(FileServerSettings, serverPath) == 264);
static_assert(platform::FileRecord<FileServerSettings>);

inline constexpr char kFileServerFileName[] = "$FileServer.@@@";

}  // namespace handover
