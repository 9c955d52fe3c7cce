// orvella-make-pictures: writes the program's pictures into a folder:
//     title.jpg    the title picture, baseline JPEG, 1024 x 768, 3 x 8 bits
//     icon16.png, icon32.png, orvella.ico    the calendar-page icon in 16 colours
//     seal.bmp     the deposit seal, 147 x 37, 24-bit
#include "tools/pictures/IconArtwork.h"
#include "tools/pictures/PictureFiles.h"
#include "tools/pictures/SealArtwork.h"
#include "tools/pictures/TitleArtwork.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    // Fonts need a platform, but nothing is shown: the offscreen one works without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: orvella-make-pictures <folder>\n");
        return 2;
    }
    const QDir folder(arguments.at(1));
    if (!folder.exists()) {
        std::fprintf(stderr, "orvella-make-pictures: no folder %s\n", qPrintable(arguments.at(1)));
        return 2;
    }
    try {
        PictureFiles::writeBaselineJpeg(TitleArtwork::paint(), folder.filePath(QStringLiteral("title.jpg")), 90);
        const QImage icon16 = IconArtwork::paint(16);
        const QImage icon32 = IconArtwork::paint(32);
        PictureFiles::writeIndexedPng(icon16, folder.filePath(QStringLiteral("icon16.png")));
        PictureFiles::writeIndexedPng(icon32, folder.filePath(QStringLiteral("icon32.png")));
        PictureFiles::writeIco({icon16, icon32}, folder.filePath(QStringLiteral("orvella.ico")));
        PictureFiles::writeBmp24(SealArtwork::paint(), folder.filePath(QStringLiteral("seal.bmp")));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvella-make-pictures: %s\n", e.what());
        return 1;
    }
    return 0;
}
