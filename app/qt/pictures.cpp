#include "app/qt/pictures.h"

#include <QByteArray>
#include <QString>

namespace qilo {

const EmbeddedPicture* FindEmbeddedPicture(QStringView file, double scale) {
  const qsizetype dot = file.lastIndexOf('.');
  const QStringView name = dot < 0 ? file : file.left(dot);
  for (std::size_t i = 0; i < kEmbeddedPictureCount; ++i) {
    const EmbeddedPicture& p = kEmbeddedPictures[i];
    if (p.scale == scale && name == QLatin1StringView(p.name)) return &p;
  }
  return nullptr;
}

QImage EmbeddedImage(const EmbeddedPicture* picture) {
  if (picture == nullptr) return {};
  const EmbeddedPicture& p = *picture;
  const QByteArray pixels =
      qUncompress(p.packed, static_cast<qsizetype>(p.packed_size));
  if (pixels.size() != qsizetype{p.width} * p.height * 4) return {};
  // A copy: the uncompressed bytes go with this function.
  return QImage(reinterpret_cast<const uchar*>(pixels.constData()), p.width,
                p.height, p.width * 4,
                p.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32)
      .copy();
}

}  // namespace qilo
