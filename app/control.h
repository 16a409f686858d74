#pragma once

#include <string>

#include "app/colour.h"
#include "calc/key_codes.h"  // the codes a control's key handlers receive

namespace qilo {

struct ControlSpec;

// The live state of one control of the window; texts are GBK bytes.
struct Control {
  const ControlSpec* layout = nullptr;  // its entry in the layout table
  std::string text;  // caption of a label, text of an edit field
  std::string hint;  // tooltip text (never shown for LabInfo)
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool visible = true;
  bool checked = false;      // radio buttons
  bool read_only = false;    // edit fields
  bool transparent = false;  // labels and pictures
  bool enabled = true;       // timers: running
  int interval = 0;          // timers: milliseconds between ticks
  int max_length = 0;        // edit fields: bytes, 0 for no limit
  Colour font_colour = 0;
  int cursor = 0;  // slot in the cursor table
  bool tab_stop = false;
};

}  // namespace qilo
