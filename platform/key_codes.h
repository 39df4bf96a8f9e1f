#pragma once
// Virtual key codes and modifier bits as the system's key handlers test them.
namespace platform {

constexpr int kKeyBack = 0x08;
constexpr int kKeyTab = 0x09;
constexpr int kKeyEnter = 0x0D;
constexpr int kKeyEscape = 0x1B;
constexpr int kKeySpace = 0x20;
constexpr int kKeyPageUp = 0x21;
constexpr int kKeyPageDown = 0x22;
constexpr int kKeyEnd = 0x23;
constexpr int kKeyHome = 0x24;
constexpr int kKeyLeft = 0x25;
constexpr int kKeyUp = 0x26;
constexpr int kKeyRight = 0x27;
constexpr int kKeyDown = 0x28;
constexpr int kKeyInsert = 0x2D;
constexpr int kKeyDelete = 0x2E;
// '0'-'9' and 'A'-'Z' are their ASCII codes.
constexpr int kKeyNumpad0 = 0x60;  // kKeyNumpad0 + n for digit n
constexpr int kKeyF1 = 0x70;       // kKeyF1 + n - 1 for Fn, up to F12
constexpr int kKeyF12 = 0x7B;

constexpr int FunctionKey(int n) { return kKeyF1 + n - 1; }
constexpr int NumpadKey(int digit) { return kKeyNumpad0 + digit; }

// Modifier state of a key or mouse event.
constexpr unsigned kModShift = 0x1;
constexpr unsigned kModControl = 0x2;
constexpr unsigned kModAlt = 0x4;

}  // namespace platform
