#pragma once

#include <QImage>
#include <QStringView>
#include <cstddef>

namespace qilo {

// A picture compiled into the program: its drawing for one display scale as
// rows of 0xAARRGGBB pixels, compressed with qCompress.
struct EmbeddedPicture {
  const char* name;  // the file name without "@Sx" and extension: "logo"
  double scale;
  int width;
  int height;
  bool alpha;  // false: every pixel is opaque
  const unsigned char* packed;
  std::size_t packed_size;
};

// Written at build time by embed_pictures from assets/.
extern const EmbeddedPicture kEmbeddedPictures[];
extern const std::size_t kEmbeddedPictureCount;

// The picture `file` ("logo.bmp": the extension is ignored) drawn for
// `scale`, or null when the program lacks it. Its size and presence need no
// decoding.
const EmbeddedPicture* FindEmbeddedPicture(QStringView file, double scale);

// Its pixels; a null image for a null picture.
QImage EmbeddedImage(const EmbeddedPicture* picture);
inline QImage EmbeddedImage(QStringView file, double scale) {
  return EmbeddedImage(FindEmbeddedPicture(file, scale));
}

}  // namespace qilo
