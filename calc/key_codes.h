#pragma once

namespace qilo {

// The codes the window's key handlers receive, numbered as Windows numbers
// them on every platform, so the handlers read the same under each front end.

// Characters of a key press (the key filter's input).
inline constexpr char kCharBackspace = 8;
inline constexpr char kCharReturn = 13;
inline constexpr char kCharEscape = 27;

// Virtual keys of a key down (the stepper's and the Enter key's input).
inline constexpr int kVkReturn = 13;
inline constexpr int kVkUp = 38;
inline constexpr int kVkDown = 40;

}  // namespace qilo
