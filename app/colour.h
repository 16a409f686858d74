#pragma once

#include <cstdint>

namespace qilo {

// 0x00BBGGRR, red in the lowest byte; 0xFF0000nn names system colour nn.
using Colour = uint32_t;

inline constexpr Colour kCream = 0x00F0FBFF;
inline constexpr Colour kSkyBlue = 0x00F0CAA6;
inline constexpr Colour kTeal = 0x00808000;
inline constexpr Colour kRed = 0x000000FF;
inline constexpr Colour kGreen = 0x00008000;
inline constexpr Colour kBlack = 0x00000000;
inline constexpr Colour kMediumGrey = 0x00A4A0A0;
inline constexpr Colour kClWindowText = 0xFF000008;
inline constexpr Colour kClWindow = 0xFF000005;
inline constexpr Colour kClHighlight = 0xFF00000D;
inline constexpr Colour kClGradientActiveCaption = 0xFF00001B;

inline constexpr bool IsSystemColour(Colour c) {
  return (c & 0xFF000000u) == 0xFF000000u;
}
inline constexpr int SystemColourIndex(Colour c) {
  return static_cast<int>(c & 0xFFu);
}
inline constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFFu); }
inline constexpr int GreenOf(Colour c) {
  return static_cast<int>((c >> 8) & 0xFFu);
}
inline constexpr int BlueOf(Colour c) {
  return static_cast<int>((c >> 16) & 0xFFu);
}

}  // namespace qilo
