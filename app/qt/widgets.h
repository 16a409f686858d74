#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QWidget>
#include <span>

#include "app/layout.h"

namespace qilo {

// The display scales the pictures are drawn for, ascending: NAME.bmp at 1,
// NAME@1.25x.png, NAME@1.5x.png and NAME@2x.png beside it, all compiled in.
inline constexpr double kPictureScales[] = {1, 1.25, 1.5, 2};

// Of `scales` (ascending, not empty), the one to show at `ratio` device pixels
// per layout pixel: `ratio` itself when present, else the nearest larger one
// (scaled down smoothly rather than a smaller one scaled up), else the
// largest.
double PictureScaleFor(double ratio, std::span<const double> scales);

// The same among the scales the compiled-in picture `file` is drawn for (1
// counts even where it is missing).
double DrawnScaleFor(QStringView file, double ratio);

// A picture control: the bitmap stretched to the control's size, or at its own
// size; a transparent one leaves out the colour of its bottom-left pixel. It
// shows the bitmap drawn for the display scale on whole device pixels, and
// picks again when the window goes to a screen of another scale.
class PictureBox : public QWidget {
 public:
  // Shows the compiled-in picture `file` ("logo.bmp"); a picture the program
  // lacks shows nothing.
  PictureBox(const QString& file, PictureMode mode, QWidget* parent);
  // The 1x bitmap's size, the control's own at every scale (empty when the
  // program lacks it).
  QSize BitmapSize() const { return size_; }
  // The scale of the bitmap shown last.
  double ShownScale() const { return shown_scale_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // Loads the bitmap to show at `ratio` device pixels per layout pixel.
  void Pick(qreal ratio);

  QString file_;
  PictureMode mode_;
  QSize size_;
  QPixmap pixmap_;
  qreal picked_for_ = 0;
  double shown_scale_ = 1;
};

// A label: its caption drawn from the top-left corner, never cut; an opaque
// one fills only the rectangle the layout gives it with the parent's colour,
// so a caption wider in the substitute face does not cover its neighbours.
// A rule shows a line in its text colour instead of its caption.
class CaptionLabel : public QLabel {
 public:
  explicit CaptionLabel(QWidget* parent);
  // The filled rectangle's size; an empty size fills nothing (transparent).
  void SetFill(QSize fill);
  // The line (label coordinates, one pixel high) a rule draws in place of its
  // caption; an empty rectangle draws the caption.
  void SetRule(QRect line);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QSize fill_;
  QRect rule_;
};

// A flat button without caption or picture: the control beneath shows
// through; a one-pixel raised frame while hovered, a sunken one while held.
class FlatButton : public QWidget {
  Q_OBJECT

 public:
  explicit FlatButton(QWidget* parent);

 signals:
  void MouseDown();  // any mouse button
  void MouseUp();    // any mouse button
  void Clicked();    // left button released over it

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  bool hovered_ = false;
  bool held_ = false;
};

// A single-line edit field with a flat one-pixel bevel. Typed characters go
// through `KeyPress` when it is connected (a key set to 0 is swallowed); what
// is typed or pasted is cut to the field's byte limit, counted in GBK bytes,
// and loses the characters GBK has no code for (`UncodedInput` is told).
// Connect KeyPress directly: its receiver changes the key in place.
class EditField : public QLineEdit {
  Q_OBJECT

 public:
  explicit EditField(QWidget* parent);
  // Bytes the user may bring into the field; 0 for no limit.
  void SetByteLimit(int bytes) { byte_limit_ = bytes; }
  int ByteLimit() const { return byte_limit_; }
  // Inserts `text` at the cursor (replacing the selection), cut at its first
  // line break and to what still fits the byte limit, never inside a
  // double-byte character, without the characters GBK has no code for.
  // Nothing happens in a read-only field.
  void InsertLimited(const QString& text);
  // Pastes the clipboard as InsertLimited does.
  void PasteLimited();
  // The font the layout gives the field; a read-only field shrinks from it.
  void SetLayoutFont(const QFont& font);
  // Shows a text the program sets from its first character, as a native edit
  // field does, and fits the font to it.
  void ShowProgramText(const QString& text);
  // A read-only field takes the largest font, from the layout's down to
  // kFitFontFloorPx, that shows its whole text; an editable one the layout's.
  void FitFont();
  // True when the text is wider than the field even at the smallest font: the
  // field then marks its right end with an ellipsis.
  bool Overflows() const { return overflows_; }
  void PasteOrEdit(QKeyEvent* event);

 signals:
  void KeyDown(int key);  // virtual key codes 13, 38, 40
  void KeyUp();
  void KeyPress(char& key);
  void UncodedInput();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The characters of `typed` that the key filter lets in, each offered to it
  // in turn; all of them when the field has no filter.
  QString FilterTyped(const QString& typed);
  // True when a key filter listens to KeyPress.
  bool Filtered() const;

  // The pixels of the field's width the text may take without scrolling.
  int TextRoom() const;

  int byte_limit_ = 0;
  QFont layout_font_;
  bool overflows_ = false;
};

}  // namespace qilo
