#pragma once
// UTF-8 <-> UTF-32 for the controls that count characters (rich edit
// positions). Malformed UTF-8 bytes become U+FFFD.
#include <string>
#include <string_view>

namespace platform {

std::u32string Utf8ToUtf32(std::string_view utf8);
std::string Utf32ToUtf8(std::u32string_view text);

}  // namespace platform
