// The pictures compiled into the program: present under ":/orvella/" in any program that links the shell's
// base, and in exactly the formats promised (baseline JPEG, 16-colour icons, 24-bit seal, Windows icon file).
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QMap>
#include <QSet>
#include <QtEndian>
#include <QtTest>

namespace {

QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint16 le16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 le32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}

quint16 be16(const QByteArray& b, qsizetype at) {
    return qFromBigEndian<quint16>(b.constData() + at);
}

// The JPEG segments before the picture data, as (marker, offset of the segment's payload).
QList<QPair<uchar, qsizetype>> jpegSegments(const QByteArray& b) {
    QList<QPair<uchar, qsizetype>> segments;
    qsizetype at = 2; // after SOI
    while (at + 4 <= b.size() && uchar(b[at]) == 0xFF) {
        const uchar marker = uchar(b[at + 1]);
        segments.append({marker, at + 4});
        if (marker == 0xDA) {
            break; // the compressed data follows
        }
        at += 2 + be16(b, at + 2);
    }
    return segments;
}

} // namespace

class ResourcesTest : public QObject {
    Q_OBJECT

private slots:
    void present_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        for (const auto& [path, size] :
             {std::pair{":/orvella/title.jpg", QSize(1024, 768)}, std::pair{":/orvella/icon16.png", QSize(16, 16)},
              std::pair{":/orvella/icon32.png", QSize(32, 32)}, std::pair{":/orvella/seal.bmp", QSize(147, 37)}}) {
            QTest::newRow(path) << QString::fromLatin1(path) << size;
        }
    }

    // Loaded through QFile and QImage, as the windows load them: the resource objects were linked in.
    void present() {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QVERIFY2(QFile::exists(path), qPrintable(path));
        QVERIFY(read(path).size() > 100);
        QCOMPARE(QImage(path).size(), size);
    }

    // The default day-sheet definition rides along with the pictures.
    void daySheetDefinitionPresent() {
        const QByteArray rav = read(QStringLiteral(":/orvella/RANTEBOU.rav"));
        QVERIFY(rav.startsWith("<?xml"));
        QCOMPARE(rav, read(QStringLiteral(ORVELLA_RESOURCES_DIR "/RANTEBOU.rav")));
    }

    // A baseline (SOF0) JPEG: 8-bit samples, 1024 x 768, 3 components; no progressive or other frame type.
    void titleIsBaselineJpeg() {
        const QByteArray b = read(QStringLiteral(":/orvella/title.jpg"));
        QVERIFY(b.startsWith("\xFF\xD8"));
        QVERIFY(b.endsWith("\xFF\xD9"));
        const auto segments = jpegSegments(b);
        int frames = 0;
        for (const auto& [marker, payload] : segments) {
            if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
                ++frames;
                QCOMPARE(int(marker), 0xC0);
                QCOMPARE(int(uchar(b[payload])), 8);
                QCOMPARE(int(be16(b, payload + 1)), 768);
                QCOMPARE(int(be16(b, payload + 3)), 1024);
                QCOMPARE(int(uchar(b[payload + 5])), 3);
            }
        }
        QCOMPARE(frames, 1);
        QCOMPARE(int(segments.last().first), 0xDA);
    }

    void iconsHaveSixteenColours_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("16") << QStringLiteral(":/orvella/icon16.png");
        QTest::newRow("32") << QStringLiteral(":/orvella/icon32.png");
    }

    void iconsHaveSixteenColours() {
        QFETCH(QString, path);
        const QImage icon(path);
        QCOMPARE(icon.format(), QImage::Format_Indexed8);
        QVERIFY(icon.colorCount() <= 16);
        QSet<QRgb> used;
        for (int y = 0; y < icon.height(); ++y) {
            for (int x = 0; x < icon.width(); ++x) {
                used.insert(icon.pixel(x, y));
            }
        }
        QVERIFY2(used.size() <= 16, qPrintable(QString::number(used.size())));
        QVERIFY(used.size() >= 4); // a drawing, not a blank square
        // The corners stay transparent: the icon is a page, not a square.
        QCOMPARE(qAlpha(icon.pixel(0, icon.height() - 1)), 0);
        QCOMPARE(qAlpha(icon.pixel(icon.width() / 2, icon.height() / 2)), 255);
    }

    // An uncompressed Windows bitmap of 147 x 37 in 24-bit colour.
    void sealIs24BitBitmap() {
        const QByteArray b = read(QStringLiteral(":/orvella/seal.bmp"));
        QVERIFY(b.startsWith("BM"));
        QCOMPARE(le32(b, 2), quint32(b.size()));
        QCOMPARE(le32(b, 14), 40u); // BITMAPINFOHEADER
        QCOMPARE(qint32(le32(b, 18)), 147);
        QCOMPARE(qint32(le32(b, 22)), 37);
        QCOMPARE(le16(b, 28), quint16(24));
        QCOMPARE(le32(b, 30), 0u); // not compressed
        QCOMPARE(quint32(b.size()) - le32(b, 10), quint32((147 * 3 + 3) / 4 * 4 * 37));
    }

    // The Windows icon file holds the same two pictures as the PNGs, 16 colours each, with their masks.
    void windowsIconMatchesPngs() {
        const QByteArray ico = read(QStringLiteral(ORVELLA_RESOURCES_DIR "/orvella.ico"));
        QVERIFY(!ico.isEmpty());
        QCOMPARE(le16(ico, 0), quint16(0));
        QCOMPARE(le16(ico, 2), quint16(1));
        QCOMPARE(le16(ico, 4), quint16(2));
        QList<int> sizes;
        for (int i = 0; i < 2; ++i) {
            const qsizetype entry = 6 + 16 * i;
            const int size = uchar(ico[entry]);
            sizes.append(size);
            QCOMPARE(int(uchar(ico[entry + 1])), size);
            QCOMPARE(int(uchar(ico[entry + 2])), 16);
            QCOMPARE(le16(ico, entry + 6), quint16(4));
            const quint32 length = le32(ico, entry + 8);
            const quint32 offset = le32(ico, entry + 12);
            QVERIFY(offset + length <= quint32(ico.size()));
            QCOMPARE(qint32(le32(ico, offset + 4)), size);
            QCOMPARE(qint32(le32(ico, offset + 8)), 2 * size);
            QCOMPARE(le16(ico, offset + 14), quint16(4));
            const quint32 rows = quint32((size / 2 + 3) / 4 * 4 + (size / 8 + 3) / 4 * 4) * quint32(size);
            QCOMPARE(length, 40 + 64 + rows);
        }
        QCOMPARE(sizes, (QList<int>{16, 32}));

        // Qt's icon reader sees the same pixels as the PNGs wherever they are opaque.
        QMap<int, QImage> fromIco;
        QImageReader reader(QStringLiteral(ORVELLA_RESOURCES_DIR "/orvella.ico"), "ico");
        QCOMPARE(reader.imageCount(), 2);
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage image = reader.read();
            fromIco.insert(image.width(), image.convertToFormat(QImage::Format_ARGB32));
        }
        for (const int size : {16, 32}) {
            QVERIFY2(fromIco.contains(size), "Qt's icon reader is missing or rejects the file");
            const QImage png(QStringLiteral(":/orvella/icon%1.png").arg(size));
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const QRgb want = png.pixel(x, y);
                    const QRgb got = fromIco[size].pixel(x, y);
                    QCOMPARE(qAlpha(got), qAlpha(want));
                    if (qAlpha(want) != 0) {
                        QCOMPARE(got, want);
                    }
                }
            }
        }
    }

    // The Windows resource script names files that are there.
    void windowsResourceScriptReferencesExist() {
        const QByteArray rc = read(QStringLiteral(ORVELLA_RESOURCES_DIR "/orvella.rc"));
        QVERIFY(rc.contains("MAINICON ICON \"orvella.ico\""));
        QVERIFY(rc.contains("\"orvella.manifest\""));
        QVERIFY(QFile::exists(QStringLiteral(ORVELLA_RESOURCES_DIR "/orvella.manifest")));
        QVERIFY(read(QStringLiteral(ORVELLA_RESOURCES_DIR "/orvella.manifest"))
                    .contains("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    }
};

QTEST_GUILESS_MAIN(ResourcesTest)
#include "ResourcesTest.moc"
