#pragma once

#include <windows.h>

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <tuple>

#include "app/colour.h"
#include "app/layout.h"
#include "app/win32/handles.h"

namespace qilo {

// The RGB value of a layout colour; a system colour from the current scheme.
COLORREF ToColorRef(Colour c);

// A solid brush of `colour`; throws EWin32Error when none can be made.
OwnedBrush SolidBrush(COLORREF colour);

// The fonts of the layout by face, height in pixels, weight, underline and
// character set, each made once and kept for the window's life.
class FontCache {
 public:
  // Throws EWin32Error when the font cannot be made.
  HFONT Get(const FontSpec& font, int px);

 private:
  std::map<std::tuple<std::string, int, bool, bool, int>, OwnedFont> fonts_;
};

// The size `text` takes in `font`; an empty text is as high as the font.
SIZE TextExtent(HDC dc, HFONT font, std::wstring_view text);

// The first column of ink of `text` when a label draws it at x = 0 in `font`
// (in whatever face the platform draws it with): negative when the ink
// begins left of the pen, 0 when there is none. Throws EWin32Error when it
// cannot draw to measure.
int InkLeft(HFONT font, std::wstring_view text, SIZE extent);

// A bitmap of the program's resources, with its size, the size the layout
// gives it (that of the bitmap drawn for 96 dots per inch) and the colour of
// its bottom-left pixel (the transparent colour of a transparent picture).
struct Picture {
  OwnedBitmap bitmap;
  SIZE size = {0, 0};
  SIZE layout_size = {0, 0};
  int percent = 100;  // the scale it was drawn for
  COLORREF key_colour = 0;
};

// The scales, in percent, that pictures are drawn for, smallest first.
inline constexpr int kPictureScales[] = {100, 125, 150, 200};

// Of the scales `drawn` (percent, ascending), the one to show at `dpi`: the
// exact one, else the nearest larger (scaled down), else the largest.
int PictureScale(int dpi, std::span<const int> drawn);

// The layout names bitmaps by file ("edge_right.bmp"); the resource script
// names them without the extension, in capitals ("EDGE_RIGHT"), and those
// drawn for a larger scale with the percent after an underscore
// ("EDGE_RIGHT_150"). The bitmap for `dpi` by PictureScale among those
// there are. Throws EWin32Error when the 96 dots per inch one cannot be
// loaded.
Picture LoadPicture(HINSTANCE instance, const char* file, int dpi);

}  // namespace qilo
