#pragma once

#include <windows.h>

#include <string>

#include "app/edit_input.h"
#include "app/front_end.h"
#include "app/win32/item.h"

namespace qilo {

class Win32MainWindow;

// The text of a window, as GetWindowTextW gives it.
std::wstring WindowText(HWND hwnd);

// An edit field: a native EDIT window, subclassed. Its key events go to the
// handlers the layout names; typed characters pass the key filter, and typed
// or pasted text keeps to AdmitText (the byte limit in GBK bytes, no
// character GBK cannot hold). It draws a flat one-pixel bevel, and a
// read-only field shrinks its font to show its whole text, with a mark at
// the right end when even the smallest font cuts it.
class EditField {
 public:
  // Makes the EDIT window of `item` under `parent`; the first Show places
  // it. `window` and `item` outlive the field. Throws EWin32Error.
  EditField(Win32MainWindow& window, Item& item, HWND parent);
  EditField(const EditField&) = delete;
  EditField& operator=(const EditField&) = delete;

  HWND Handle() const { return hwnd_; }
  // The height the text is drawn at, and whether it is cut even so.
  int FontPx() const { return font_px_; }
  bool Cut() const { return cut_; }

  // Brings the field up to its control for what `changes` names (after the
  // window placed it). Throws EWin32Error.
  void Show(const ControlChanges& changes);
  // Takes the window's new dots per inch: font and border (after the window
  // placed it). Throws EWin32Error.
  void Rescale();

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                               UINT_PTR id, DWORD_PTR data);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnChar(wchar_t unit, LPARAM lp);
  bool PassesKeyFilter(const std::wstring& typed);
  AdmittedText Admit(const std::wstring& offered);
  void Paste();
  long Room() const;
  void FitFont();
  int Border() const;
  void PaintBevel() const;
  void PaintCutMark() const;

  Win32MainWindow& window_;
  Item& item_;
  HWND hwnd_;
  int font_px_;
  bool cut_ = false;
};

}  // namespace qilo
