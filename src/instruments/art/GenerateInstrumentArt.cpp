// Draws the instruments' pictures into a folder, from which the build packs them as
// resources: GenerateInstrumentArt <output folder>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "instruments/art/AttitudePictureArt.h"
#include "instruments/art/CompassRoseArt.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  // Painting text needs a GUI application, but never a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  const bool attitude =
      AttitudePictureArt::Paint().save(folder.filePath(QStringLiteral("attitude.png")), "PNG");
  const bool rose =
      CompassRoseArt::Paint().save(folder.filePath(QStringLiteral("compass_rose.png")), "PNG");
  if (!attitude || !rose) {
    std::fprintf(stderr, "cannot write the instrument pictures into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
