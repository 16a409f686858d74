#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/control.h"
#include "app/win32/item.h"

namespace qilo {

class Win32MainWindow;

// The window itself, a panel or the group box: a window that paints its
// pictures, labels and flat buttons (bottom first, double-buffered) and gives
// their mouse events to the handlers the layout names. Edit fields and radio
// buttons are child windows above them.
class Surface {
 public:
  // Registers the window classes of the main window (with `icon`) and of the
  // panels, once for the process. Throws EWin32Error.
  static void RegisterClasses(HINSTANCE instance, HICON icon);

  // `box` is the panel or group box the surface shows; nullptr for the
  // window itself. `window` outlives the surface.
  Surface(Win32MainWindow& window, Item* box);
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  // Makes the main window, borderless, at `place` (screen coordinates) and
  // owned by `owner`; or a panel under `parent` at `place` (its client
  // coordinates). Throws EWin32Error.
  HWND CreateMain(HWND owner, const std::wstring& caption, const RECT& place);
  HWND CreatePanel(HWND parent, const RECT& place);

  HWND Handle() const { return hwnd_; }
  const Item* Box() const { return box_; }
  // Lays a picture, label or flat button on top of those it holds.
  void AddGraphic(Item& item);
  // The topmost visible graphic item at device pixel (x, y) of the client
  // area, or none.
  Item* GraphicAt(int x, int y);
  void Invalidate() const;

  // Paints the background and every visible graphic item into `dc`, as
  // WM_PAINT shows it and WM_PRINTCLIENT asks for it.
  void PaintContent(HDC dc, const RECT& client);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  bool HandleMouse(UINT msg, LPARAM lp);
  LRESULT ColourChild(HDC dc, HWND child);
  void Paint();
  void PaintGroupFrame(HDC dc, int width, int height);
  void PaintItem(HDC dc, const Item& item);
  void PaintLabel(HDC dc, const Item& item);
  void PaintPicture(HDC dc, const Item& item);
  void MouseMove(int x, int y);
  void MouseLeave();
  void MouseDown(int x, int y);
  void MouseUp(int x, int y);
  void ReleasePress();
  bool SetCursorFor(HWND over);

  Win32MainWindow& window_;
  Item* box_;
  HWND hwnd_ = nullptr;
  std::vector<Item*> graphic_;      // bottom first
  std::vector<Control*> controls_;  // the same, for ControlAt
  Item* hovered_ = nullptr;
  Item* pressed_ = nullptr;
  bool tracking_ = false;
};

}  // namespace qilo
