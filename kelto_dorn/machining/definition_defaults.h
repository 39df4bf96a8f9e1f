#pragma once
// g_machiningDefaults and its file "$DEF_KAKO2.@@@" in the program folder,
// which the companion program reads too. Read once at start-up; written by
// the defaults dialog and with every drawing save.
#include "platform/record_file.h"

namespace dorn {

// Reads the defaults. A missing file gives the built-in values (status
// Missing); a file of the older 128-byte form keeps the built-in values of the
// fields it does not hold; a damaged file is reported and leaves the defaults
// as they were.
platform::FileResult ReadMachiningDefaults();

// Writes the 168 bytes (the old file stays when writing fails).
platform::FileResult WriteMachiningDefaults();

}  // namespace dorn
