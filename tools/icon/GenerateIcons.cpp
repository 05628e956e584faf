// Writes the program's icon in the freedesktop layout:
//   tavrik-icon <folder> <size>...  ->  <folder>/<size>x<size>/apps/tavrik.png

#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "tools/icon/TavrikIconArt.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <folder> <size>...\n", argv[0]);
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  for (int i = 2; i < argc; ++i) {
    char* end = nullptr;
    const long size = std::strtol(argv[i], &end, 10);
    if (*end != '\0' || size < 8 || size > 1024) {
      std::fprintf(stderr, "%s: '%s' is not an icon size (8 to 1024)\n", argv[0], argv[i]);
      return 2;
    }
    const QString apps = QStringLiteral("%1x%1/apps").arg(size);
    const QString file = folder.filePath(apps + QStringLiteral("/tavrik.png"));
    if (!folder.mkpath(apps) || !TavrikIconArt::Paint(int(size)).save(file, "PNG")) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(file));
      return 1;
    }
  }
  return 0;
}
