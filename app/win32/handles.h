#pragma once

#include <windows.h>

#include <utility>

namespace qilo {

// A handle of type H that the holder owns and gives back with Free when it
// goes; nullptr holds none.
template <typename H, typename Free>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H handle) : handle_(handle) {}
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
  Owned& operator=(Owned&& other) noexcept {
    Reset(std::exchange(other.handle_, {}));
    return *this;
  }
  ~Owned() { Reset(); }

  H Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Frees the handle held and holds `handle` instead.
  void Reset(H handle = nullptr) {
    if (handle_ != nullptr) Free()(handle_);
    handle_ = handle;
  }

 private:
  H handle_ = nullptr;
};

struct DestroyWindowFree {
  void operator()(HWND h) const { DestroyWindow(h); }
};
struct DeleteObjectFree {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DeleteDcFree {
  void operator()(HDC h) const { DeleteDC(h); }
};
struct DestroyCursorFree {
  void operator()(HCURSOR h) const { DestroyCursor(h); }
};
struct DestroyIconFree {
  void operator()(HICON h) const { DestroyIcon(h); }
};

using OwnedWindow = Owned<HWND, DestroyWindowFree>;
using OwnedFont = Owned<HFONT, DeleteObjectFree>;
using OwnedBitmap = Owned<HBITMAP, DeleteObjectFree>;
using OwnedBrush = Owned<HBRUSH, DeleteObjectFree>;
using OwnedCursor = Owned<HCURSOR, DestroyCursorFree>;
using OwnedIcon = Owned<HICON, DestroyIconFree>;
// A memory DC (CreateCompatibleDC).
using OwnedDc = Owned<HDC, DeleteDcFree>;

// The DC of a window's client area (or, with `whole`, of the whole window,
// frame included) for the holder's life; nullptr for the screen's.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd, bool whole = false)
      : hwnd_(hwnd), dc_(whole ? GetWindowDC(hwnd) : GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint and, when the holder goes (an error included), EndPaint: the
// window is valid again either way and asks for no second paint.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
  ~PaintDc() { EndPaint(hwnd_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_;
  HDC dc_;
};

// An object selected into a DC for the holder's life; the one it replaced is
// selected again after.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selection() {
    if (old_ != nullptr) SelectObject(dc_, old_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The clipboard, open for the holder's life when Opened(); another program
// may hold it.
class ClipboardScope {
 public:
  explicit ClipboardScope(HWND owner) : open_(OpenClipboard(owner)) {}
  ~ClipboardScope() {
    if (open_) CloseClipboard();
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  bool Opened() const { return open_; }

 private:
  bool open_;
};

}  // namespace qilo
