#pragma once

#include <windows.h>

#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "app/frm_main.h"
#include "app/layout.h"

namespace qilo {

class Win32Desktop;

// The borderless main window on Win32. The window and each panel or group box
// is a surface that paints its pictures, labels and flat buttons itself into
// a memory bitmap; edit fields and radio buttons are real child windows above
// them. Events go to the TFrmMain handlers named in the layout table, and
// control state is mirrored back after every handler.
class MainWindow {
 public:
  // Registers the window classes and builds every control; `form` and
  // `desktop` must outlive the window.
  MainWindow(TFrmMain& form, Win32Desktop& desktop);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow();

  // Runs the show sequence, shows the window centred with the focus in the
  // first field, and pumps messages until it closes. Returns the exit code.
  int Exec();

  HWND Handle() const { return hwnd_; }

  // Runs one handler as an event delivers it: the texts the user typed are
  // copied into the controls first, every control is mirrored afterwards. An
  // error escaping it is shown in the error box and the program goes on.
  void Run(const std::function<void()>& handler);

  // What the desktop asks of the window.
  void RefreshCursor();
  void MinimizeApplication();
  void CloseFromHandler();
  void FocusControl(Control& control);

 private:
  struct Item;
  // The window itself or a panel or group box: a window with graphic
  // controls of its own to paint and to hit-test.
  struct Surface {
    HWND hwnd = nullptr;
    Item* item = nullptr;            // nullptr for the window itself
    std::vector<Item*> graphic;      // bottom first
    std::vector<Control*> controls;  // the same, for ControlAt
    Item* hovered = nullptr;
    Item* pressed = nullptr;
    bool tracking = false;
  };
  struct Item {
    const ControlSpec* layout = nullptr;
    Control* control = nullptr;
    Surface* owner = nullptr;    // the surface it lies on
    Surface* surface = nullptr;  // panels and group box: their own
    HWND hwnd = nullptr;         // windowed controls
    Control shown;
    bool ever_shown = false;
    std::wstring text;  // as mirrored
    std::wstring hint;
    SIZE extent = {0, 0};  // labels: the caption's size in its font
    int ink_left = 0;      // full stops: the caption's first column of ink
    int font_px = 0;       // the height the font is drawn at
    bool cut = false;      // read-only edits: too long even at the floor font
    HBITMAP bitmap = nullptr;
    SIZE bitmap_size = {0, 0};
    COLORREF key_colour = 0;  // transparent pictures
    UINT_PTR timer_id = 0;
    bool timer_running = false;
    bool tool_added = false;
  };

  static LRESULT CALLBACK SurfaceProc(HWND hwnd, UINT msg, WPARAM wp,
                                      LPARAM lp);
  static LRESULT CALLBACK AppProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                   UINT_PTR id, DWORD_PTR data);
  LRESULT OnSurface(Surface& s, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnEdit(Item& item, UINT msg, WPARAM wp, LPARAM lp);

  void Build(Item& item);
  void BuildTooltips();
  void Paint(Surface& s);
  void PaintItem(HDC dc, Item& item, const Surface& s);
  void PaintGroupFrame(HDC dc, const Item& box, int width, int height);
  void MouseMove(Surface& s, int x, int y);
  void MouseLeave(Surface& s);
  void MouseDown(Surface& s, int x, int y);
  void MouseUp(Surface& s, int x, int y);
  void ReleasePress(Surface& s);
  bool SetCursorFor(Surface& s, HWND over);
  bool Tab(bool backwards);
  void Call(void (TFrmMain::*handler)());
  void SyncFromEdits();
  void MirrorAll(bool force);
  void Mirror(Item& item, bool force);
  void MirrorTimer(Item& item, bool force);
  void MirrorTool(Item& item);
  void FitEditFont(Item& item);
  void PaintCutMark(const Item& item);
  void DumpFields();
  void Close();
  Item* ItemAt(Surface& s, int x, int y);
  Item* ItemOf(HWND hwnd);
  HFONT FontFor(const FontSpec& font, int px);
  RECT DrawRect(const Item& item) const;

  TFrmMain& form_;
  Win32Desktop& desktop_;
  HINSTANCE instance_;
  HWND app_ = nullptr;   // the task bar button, titled by the application
  HWND hwnd_ = nullptr;  // the main window
  HWND tooltip_ = nullptr;
  HWND last_focus_ = nullptr;
  HBRUSH cream_ = nullptr;
  std::deque<Item> items_;  // table order; a deque keeps addresses
  std::deque<Surface> surfaces_;
  std::unordered_map<const Control*, Item*> by_control_;
  std::unordered_map<HWND, Item*> by_hwnd_;
  std::vector<Item*> tab_chain_;
  std::map<std::tuple<std::string, int, bool, bool, int>, HFONT> fonts_;
  int running_ = 0;
  bool focused_once_ = false;
  bool probe_done_ = false;
  std::exception_ptr close_error_;
  std::string dumped_;
  int errors_ = 0;          // how many times a handler raised
  std::string last_error_;  // what the last one raised, GBK
};

}  // namespace qilo
