// Prints the cursor the X server shows now as "WxH hot X,Y": what the pointer
// looks like, which no screenshot of the screen holds.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>

int main() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 1;
  XFixesCursorImage* image = XFixesGetCursorImage(display);
  if (image == nullptr) return 1;
  std::printf("%dx%d hot %d,%d\n", image->width, image->height, image->xhot,
              image->yhot);
  XFree(image);
  XCloseDisplay(display);
  return 0;
}
