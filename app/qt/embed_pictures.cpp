// Writes pictures as a C++ source of 32-bit pixels (the table in
// app/qt/pictures.h), decoded here at build time so that the window shows them
// without reading files or loading Qt's image plugins at start-up.
// Usage: embed_pictures OUTPUT.cpp PICTURE...
// A picture "NAME@Sx.png" is NAME's drawing for display scale S; any other
// file is its name's drawing at scale 1.
#include <QByteArray>
#include <QFileInfo>
#include <QImage>
#include <cstdio>
#include <string>

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: embed_pictures OUTPUT.cpp PICTURE...\n");
    return 2;
  }
  std::string pixels;
  std::string table;
  for (int i = 2; i < argc; ++i) {
    const QImage image(QString::fromLocal8Bit(argv[i]));
    if (image.isNull()) {
      std::fprintf(stderr, "embed_pictures: cannot read %s\n", argv[i]);
      return 1;
    }
    const bool alpha = image.hasAlphaChannel();
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QString name =
        QFileInfo(QString::fromLocal8Bit(argv[i])).completeBaseName();
    QString scale = QStringLiteral("1");
    if (const qsizetype at = name.lastIndexOf('@');
        at > 0 && name.endsWith('x')) {
      scale = name.mid(at + 1, name.size() - at - 2);
      name.truncate(at);
    }
    const std::string id = "kPixels" + std::to_string(i - 2);
    // The pixels, zlib-compressed: the drawings are flat and small.
    const QByteArray packed =
        qCompress(QByteArray(reinterpret_cast<const char*>(argb.constBits()),
                             argb.sizeInBytes()),
                  9);
    pixels += "constexpr unsigned char " + id + "[] = {";
    for (qsizetype b = 0; b < packed.size(); ++b) {
      char byte[8];
      std::snprintf(byte, sizeof byte, "%s%u,", b % 16 ? "" : "\n",
                    static_cast<unsigned char>(packed[b]));
      pixels += byte;
    }
    pixels += "};\n";
    table += "    {\"" + name.toStdString() + "\", " + scale.toStdString() +
             ", " + std::to_string(argb.width()) + ", " +
             std::to_string(argb.height()) + ", " + (alpha ? "true" : "false") +
             ", " + id + ", std::size(" + id + ")},\n";
  }
  FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::fprintf(stderr, "embed_pictures: cannot write %s\n", argv[1]);
    return 1;
  }
  std::fprintf(out,
               "// Written by embed_pictures from the pictures in assets/.\n"
               "#include \"app/qt/pictures.h\"\n\n#include <iterator>\n\n"
               "namespace qilo {\nnamespace {\n\n%s\n}  // namespace\n\n"
               "const EmbeddedPicture kEmbeddedPictures[] = {\n%s};\n"
               "const std::size_t kEmbeddedPictureCount =\n"
               "    sizeof kEmbeddedPictures / sizeof kEmbeddedPictures[0];\n\n"
               "}  // namespace qilo\n",
               pixels.c_str(), table.c_str());
  return std::fclose(out) == 0 ? 0 : 1;
}
