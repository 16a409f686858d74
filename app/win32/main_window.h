#pragma once

#include <windows.h>

#include <deque>
#include <exception>
#include <functional>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/frm_main.h"
#include "app/front_end.h"
#include "app/layout.h"
#include "app/win32/dpi.h"
#include "app/win32/gdi.h"
#include "app/win32/handles.h"
#include "app/win32/item.h"
#include "app/win32/surface.h"

namespace qilo {

class EditField;
class Win32Desktop;

// The borderless main window on Win32. The window and each panel or group box
// is a Surface that paints its pictures, labels and flat buttons; edit fields
// (EditField) and radio buttons are child windows above them. Events go to
// the TFrmMain handlers named in the layout table through FrontEnd::Run,
// which shows the changed control state after every handler.
class Win32MainWindow : public FrontEnd {
 public:
  // Registers the window classes, makes every window of the layout and
  // attaches itself to `desktop`; `form` and `desktop` must outlive the
  // window. Throws EWin32Error when a window, font or bitmap cannot be made.
  Win32MainWindow(TFrmMain& form, Win32Desktop& desktop);
  ~Win32MainWindow() override;

  // Runs the show sequence and shows the window centred; the focus goes to
  // the first field when it becomes active.
  void Start();
  // Start, then messages until the window closes; the exit code.
  int Exec();
  // Handles the messages waiting, as Exec does (Tab and the radio buttons'
  // arrow keys included), and returns when none is left. A WM_QUIT is
  // dropped.
  void Pump();

  HWND Handle() const { return main_.Get(); }
  // The window of a windowed control; of a graphic one, its surface's.
  HWND HandleOf(const Control& control);
  // The edit field of an edit control, else nullptr.
  const EditField* EditOf(const Control& control);
  // The tooltips, once the first frame is on the screen; nullptr before.
  HWND Tooltip() const { return tooltip_; }
  // Called once, when the window's first frame has been painted: the window
  // and every child window in it.
  void OnFirstFrame(std::function<void()> hook) {
    first_frame_ = std::move(hook);
  }

  // What the desktop asks of the window.
  void RefreshCursor();
  void MinimizeApplication();
  // An edit field that gets the focus by program or by Tab selects its
  // text, so that the next value is typed over the old one.
  void FocusControl(Control& control);

  // For the surfaces and edit fields.
  TFrmMain& Form() { return form_; }
  FontCache& Fonts() { return fonts_; }
  // The window's dots per inch, and a layout length or position at it.
  int Dpi() const { return dpi_; }
  int Px(int v) const { return Scaled(v, dpi_); }
  // Where a windowed control's window goes in its parent, in device pixels.
  RECT PlaceOf(const Item& item) const;
  // A layout font at the window's dots per inch.
  int FontPx(const FontSpec& font) const { return Px(font.pixel_size); }
  HFONT FontOf(const FontSpec& font) { return fonts_.Get(font, FontPx(font)); }
  HBRUSH Cream() const { return cream_.Get(); }
  HCURSOR HandCursor() const;
  Item* ItemOf(HWND hwnd);
  Item& ItemOf(const Control& control);
  // A user's click on a radio button: its click handler runs only when the
  // check changes.
  void ClickRadio(Item& radio);
  // The main window's own messages; nothing for those it leaves to others.
  std::optional<LRESULT> OnMainMessage(UINT msg, WPARAM wp, LPARAM lp);
  // The main window has painted; its children may still have to.
  void MainPainted() { main_painted_ = true; }

  // What a window procedure returns of `handle`. An exception must not
  // unwind through the system's frames: one that escapes (a Win32 call that
  // failed while showing a handler's changes) is shown as a handler's error
  // is, and the message gets 0.
  template <typename F>
  LRESULT Guarded(F&& handle) noexcept {
    try {
      return handle();
    } catch (const std::exception& e) {
      ShowFailure(e);
      return 0;
    }
  }

 protected:
  void ReadEdits() override;
  void Show(const ControlSpec& layout, Control& control,
            const ControlChanges& changes) override;
  void RequestClose() override;

 private:
  static LRESULT CALLBACK AppProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void CreateWindows();
  void BuildItems();
  void Build(Item& item, Surface& owner);
  void Dispatch(const MSG& msg);
  bool PreTranslate(const MSG& msg);
  bool Tab(bool backwards);
  bool StepRadio(Item& radio, int direction);
  bool OnActivate(WPARAM wp);
  void OnTimer(WPARAM id);
  void AfterFirstFrame();
  void CreateTooltips();
  void ShowFailure(const std::exception& error);
  void ShowGraphic(Item& item, const ControlChanges& changes);
  void ShowWindowed(Item& item, const ControlChanges& changes);
  void ShowTimer(Item& item);
  void ShowTool(Item& item);
  void MeasureLabel(Item& item);
  void PlaceWindow(Item& item);
  void ChangeDpi(int dpi, const RECT& place);
  void ShowIcons();

  Win32Desktop& desktop_;
  HINSTANCE instance_;
  FontCache fonts_;
  int dpi_ = kLayoutDpi;
  OwnedBrush cream_;
  OwnedDc measure_dc_;      // the captions are measured in it
  std::deque<Item> items_;  // table order; a deque keeps addresses
  std::unordered_map<const Control*, Item*> by_control_;
  std::unordered_map<HWND, Item*> by_hwnd_;
  std::vector<Item*> tab_chain_;
  Surface surface_;       // the main window's own
  OwnedWindow app_;       // the task bar button, titled by the application
  OwnedWindow main_;      // the main window; children go with it
  OwnedIcon small_icon_;  // on both windows, drawn for dpi_
  OwnedIcon big_icon_;
  HWND tooltip_ = nullptr;  // owned by the main window, made after it shows
  bool started_ = false;    // the first frame is up and what follows it done
  HWND last_focus_ = nullptr;
  bool focused_once_ = false;
  bool closed_ = false;
  std::function<void()> first_frame_;
  bool main_painted_ = false;
};

}  // namespace qilo
