#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/control.h"
#include "app/layout.h"
#include "app/win32/gdi.h"

namespace qilo {

class EditField;
class Surface;

// One control of the layout as the Win32 window holds it.
struct Item {
  Item();
  ~Item();
  Item(const Item&) = delete;
  Item& operator=(const Item&) = delete;

  const ControlSpec* layout = nullptr;
  Control* control = nullptr;
  Surface* owner = nullptr;          // the surface it lies on; none for timers
  std::unique_ptr<Surface> surface;  // panels and the group box: their own
  std::unique_ptr<EditField> edit;   // edit fields
  HWND hwnd = nullptr;               // the windowed ones: edits, radios, panels
  std::wstring text;                 // the text and hint as last shown
  std::wstring hint;
  SIZE extent = {0, 0};     // labels: the caption's size in its font
  int ink_left = 0;         // full stops: the caption's first column of ink
  Picture picture;          // pictures
  UINT_PTR timer_id = 0;    // timers
  bool tool_added = false;  // its tooltip is registered
};

// Where a picture, label or flat button is drawn on its surface, in device
// pixels at `dpi`: an auto-size picture at its bitmap's size, a label at
// least as large as its caption.
RECT DrawRect(const Item& item, int dpi);

}  // namespace qilo
