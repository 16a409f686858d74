#include "app/win32/gdi.h"

#include <algorithm>
#include <vector>

#include "app/win32/checked.h"
#include "app/win32/dpi.h"
#include "text/utf16.h"

namespace qilo {
namespace {

BYTE CharsetOf(Charset charset) {
  switch (charset) {
    case Charset::kGb2312:
      return GB2312_CHARSET;
    case Charset::kAnsi:
      return ANSI_CHARSET;
    case Charset::kDefault:
      break;
  }
  return DEFAULT_CHARSET;
}

// The first column holding a pixel that is not white, or -1.
int FirstInkColumn(const DWORD* pixels, int width, int height) {
  for (int x = 0; x < width; ++x) {
    for (int y = 0; y < height; ++y) {
      if ((pixels[y * width + x] & 0xFFFFFF) != 0xFFFFFF) return x;
    }
  }
  return -1;
}

}  // namespace

COLORREF ToColorRef(Colour c) {
  if (IsSystemColour(c)) return GetSysColor(SystemColourIndex(c));
  return static_cast<COLORREF>(c);
}

OwnedBrush SolidBrush(COLORREF colour) {
  return OwnedBrush(
      Checked("create a brush", [&] { return CreateSolidBrush(colour); }));
}

HFONT FontCache::Get(const FontSpec& font, int px) {
  const auto key =
      std::make_tuple(std::string(font.face), px, font.bold, font.underline,
                      static_cast<int>(font.charset));
  OwnedFont& held = fonts_[key];
  if (held) return held.Get();
  const std::wstring face = Utf8ToUtf16(font.face).text;
  const auto make = [&] {
    return CreateFontW(-px, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE,
                       font.underline, FALSE, CharsetOf(font.charset),
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  };
  held.Reset(Checked("create the font " + std::string(font.face) + " " +
                         std::to_string(px) + " px",
                     make));
  return held.Get();
}

SIZE TextExtent(HDC dc, HFONT font, std::wstring_view text) {
  const Selection selected(dc, font);
  SIZE size = {0, 0};
  if (text.empty()) {
    TEXTMETRICW metrics;
    if (GetTextMetricsW(dc, &metrics)) size.cy = metrics.tmHeight;
  } else {
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()),
                          &size);
  }
  return size;
}

int InkLeft(HFONT font, std::wstring_view text, SIZE extent) {
  constexpr int kMargin = 16;
  const int width = static_cast<int>(extent.cx) + 2 * kMargin;
  const int height = std::max(static_cast<int>(extent.cy), 1);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const OwnedDc dc(Checked("measure a caption",
                           [&] { return CreateCompatibleDC(nullptr); }));
  const OwnedBitmap bitmap(Checked("measure a caption", [&] {
    return CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  }));
  const Selection with_bitmap(dc.Get(), bitmap.Get());
  const Selection with_font(dc.Get(), font);
  RECT all = {0, 0, width, height};
  FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(dc.Get(), TRANSPARENT);
  SetTextColor(dc.Get(), RGB(0, 0, 0));
  RECT at = {kMargin, 0, width, height};
  DrawTextW(dc.Get(), text.data(), static_cast<int>(text.size()), &at,
            DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
  GdiFlush();
  const int first =
      FirstInkColumn(static_cast<const DWORD*>(bits), width, height);
  return first < 0 ? 0 : first - kMargin;
}

int PictureScale(int dpi, std::span<const int> drawn) {
  if (drawn.empty()) return 100;
  for (const int percent : drawn) {
    if (percent * kLayoutDpi >= dpi * 100) return percent;
  }
  return drawn.back();
}

Picture LoadPicture(HINSTANCE instance, const char* file, int dpi) {
  std::wstring name;
  for (const char* p = file; *p != '\0' && *p != '.'; ++p) {
    name += static_cast<wchar_t>(*p >= 'a' && *p <= 'z' ? *p - 32 : *p);
  }
  const auto name_at = [&](int percent) {
    return percent == 100 ? name : name + L"_" + std::to_wstring(percent);
  };
  std::vector<int> drawn;
  for (const int percent : kPictureScales) {
    if (FindResourceW(instance, name_at(percent).c_str(), RT_BITMAP)) {
      drawn.push_back(percent);
    }
  }
  const std::string what = "load the picture " + std::string(file);
  const auto load = [&](int percent, Picture& picture) {
    picture.bitmap.Reset(Checked(what, [&] {
      return static_cast<HBITMAP>(LoadImageW(instance, name_at(percent).c_str(),
                                             IMAGE_BITMAP, 0, 0,
                                             LR_CREATEDIBSECTION));
    }));
    BITMAP info;
    Checked(what, [&] {
      return GetObjectW(picture.bitmap.Get(), sizeof info, &info);
    });
    picture.size = {info.bmWidth, info.bmHeight};
  };
  Picture picture;
  load(100, picture);
  picture.layout_size = picture.size;
  picture.percent = PictureScale(dpi, drawn);
  if (picture.percent != 100) load(picture.percent, picture);
  const OwnedDc dc(Checked(what, [&] { return CreateCompatibleDC(nullptr); }));
  const Selection selected(dc.Get(), picture.bitmap.Get());
  picture.key_colour = GetPixel(dc.Get(), 0, picture.size.cy - 1);
  return picture;
}

}  // namespace qilo
