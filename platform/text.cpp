#include "platform/text.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace platform {
namespace {

// One iconv conversion, with invalid input replaced rather than fatal.
// `replacement` is written in the target encoding for each byte (or character)
// that cannot be converted.
std::string Convert(const char* to, const char* from, std::string_view in, std::string_view replacement,
                    std::size_t (*skipInvalid)(std::string_view rest)) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);  // no converter: keep the bytes
  std::string out;
  out.reserve(in.size() * 3 / 2 + 8);
  char buffer[512];
  const char* src = in.data();
  std::size_t srcLeft = in.size();
  while (srcLeft > 0) {
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    std::size_t rc = iconv(cd, const_cast<char**>(&src), &srcLeft, &dst, &dstLeft);
    out.append(buffer, sizeof buffer - dstLeft);
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ (invalid or unmappable) or EINVAL (cut sequence at the end).
    std::size_t skip = skipInvalid(std::string_view(src, srcLeft));
    out.append(replacement);
    src += skip;
    srcLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  return out;
}

std::size_t SkipCp932Unit(std::string_view rest) {
  if (rest.size() >= 2 && IsCp932LeadByte(static_cast<unsigned char>(rest[0]))) return 2;
  return 1;
}

std::size_t SkipUtf8Unit(std::string_view rest) {
  auto c = static_cast<unsigned char>(rest[0]);
  std::size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  // Never skip past bytes that are not continuation bytes.
  std::size_t i = 1;
  while (i < n && i < rest.size() && (static_cast<unsigned char>(rest[i]) & 0xC0) == 0x80) ++i;
  return i;
}

}  // namespace

bool IsCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::string Cp932ToUtf8(std::string_view cp932) {
  return Convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD", SkipCp932Unit);
}

std::string Utf8ToCp932(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8, "?", SkipUtf8Unit); }

const std::string& Sjis(std::string_view utf8Literal) {
  // Node-based map: references to its values stay valid as it grows.
  static std::mutex mutex;
  static std::unordered_map<std::string, std::string> cache;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = cache.find(std::string(utf8Literal));
  if (it == cache.end()) it = cache.emplace(std::string(utf8Literal), Utf8ToCp932(utf8Literal)).first;
  return it->second;
}

std::size_t Cp932PrefixLength(std::string_view s, std::size_t maxBytes) {
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t unit = IsCp932LeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
    if (i + unit > maxBytes) break;
    i += unit;
  }
  return i;
}

std::string FieldText(const char* field, std::size_t width) {
  const void* nul = std::memchr(field, 0, width);
  std::size_t n = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : width;
  return std::string(field, n);
}

void SetFieldText(char* field, std::size_t width, std::string_view text) {
  if (width == 0) return;
  std::size_t n = Cp932PrefixLength(text, width - 1);
  std::memcpy(field, text.data(), n);
  std::memset(field + n, 0, width - n);
}

void TerminateField(char* field, std::size_t width) {
  if (width == 0) return;
  if (std::memchr(field, 0, width)) return;  // already terminated inside the field
  std::size_t n = Cp932PrefixLength(std::string_view(field, width), width - 1);
  std::memset(field + n, 0, width - n);
}

}  // namespace platform
