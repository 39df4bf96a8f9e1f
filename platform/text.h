#pragma once
// Text of the system: records, files and the system's own logic hold Shift-JIS
// (code page 932) bytes. UTF-8 appears only at the platform edge (widgets, file
// names on disk). This module is the one place that converts between them.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// True when c starts a double-byte character of code page 932.
bool IsCp932LeadByte(unsigned char c);

// CP932 bytes to UTF-8. Invalid or unmappable bytes become U+FFFD; never throws.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 to CP932 bytes. Characters without a CP932 form become '?'.
std::string Utf8ToCp932(std::string_view utf8);

// A UTF-8 literal of the source as CP932 bytes, converted once and cached.
// The returned reference stays valid for the life of the program.
const std::string& Sjis(std::string_view utf8Literal);

// The longest prefix of s, at most maxBytes long, that does not split a
// double-byte character (a lead byte at the cut is left out).
std::size_t Cp932PrefixLength(std::string_view s, std::size_t maxBytes);

// The text of a fixed char[width] field: up to the first NUL, never past width,
// so an unterminated field read from a file is safe.
std::string FieldText(const char* field, std::size_t width);
template <std::size_t N>
std::string FieldText(const char (&field)[N]) { return FieldText(field, N); }

// Stores text into a fixed char[width] field: cut to width - 1 bytes on a
// character boundary, the rest zero-filled, always terminated.
void SetFieldText(char* field, std::size_t width, std::string_view text);
template <std::size_t N>
void SetFieldText(char (&field)[N], std::string_view text) { SetFieldText(field, N, text); }

// Terminates a fixed field read from a file (last byte NUL, cut on a character
// boundary) without changing shorter text.
void TerminateField(char* field, std::size_t width);
template <std::size_t N>
void TerminateField(char (&field)[N]) { TerminateField(field, N); }

}  // namespace platform
