// The program icon at the sizes a desktop uses, as PNG files for the hicolor
// icon theme, from the 32 × 32 picture the window shows:
//   icon_images <folder>
// writes <folder>/<n>x<n>/apps/tavelin.png for n = 16, 24, 32, 48, 64, 128, 256.
// Whole multiples of 32 keep the pixels sharp; the smaller sizes are smoothed
// down from a multiple.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

namespace {
#include "app/glyphs/tavelin.xpm"
}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("icons");
    const QImage icon = QImage(tavelin_xpm).convertToFormat(QImage::Format_ARGB32);
    bool ok = !icon.isNull();
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const int sharp = size % 32 == 0 ? size : 96;  // 48 and 24 from 96, 16 from 96
        QImage image = icon.scaled(sharp, sharp, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (sharp != size) image = image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QString path = QStringLiteral("%1/%2x%2/apps/tavelin.png").arg(folder).arg(size);
        QDir().mkpath(QFileInfo(path).absolutePath());
        const bool written = image.save(path);
        std::printf("%s %s\n", written ? "wrote" : "could not write", qPrintable(path));
        ok &= written;
    }
    return ok ? 0 : 1;
}
