// Decoding the title picture with libjpeg: the real resource, pictures whose pixels are known, and damaged or
// foreign input, which must end in a PictureError with a message that says what is wrong, never in exit() or
// a crash.
#include "base/TitlePicture.h"
#include "base/JpegDecompressor.h"
#include "base/PictureError.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QtTest>

namespace {

QByteArray titleBytes() {
    QFile file(QString::fromLatin1(TitlePicture::ResourcePath));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Encoded with Qt's own JPEG writer, so the decoder under test is checked against another encoder.
QByteArray encodeWithQt(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return bytes;
}

// Offset of the first byte after the given marker (0xFF, marker), or -1.
qsizetype afterMarker(const QByteArray& bytes, uchar marker) {
    const qsizetype at = bytes.indexOf(QByteArray("\xff") + char(marker));
    return at < 0 ? -1 : at + 2;
}

int largestChannelDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max(
                {largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}

} // namespace

class TitlePictureTest : public QObject {
    Q_OBJECT

private slots:
    void resourceDecodesToFullSize() {
        const QImage& image = TitlePicture::image();
        QCOMPARE(image.size(), QSize(1024, 768));
        QVERIFY(image.format() == QImage::Format_RGB888 || image.format() == QImage::Format_RGB32);
        // Decoded once per process: the same picture comes back.
        QCOMPARE(&TitlePicture::image(), &image);
        QCOMPARE(TitlePicture::image().cacheKey(), image.cacheKey());
    }

    // Qt's own JPEG reader, also built on libjpeg, sees the same pixels: rows, strides and channel order are
    // right.
    void resourceMatchesAnotherReader() {
        const QByteArray bytes = titleBytes();
        QVERIFY(!bytes.isEmpty());
        const QImage ours = TitlePicture::decodeJpeg(bytes);
        const QImage theirs = QImage::fromData(bytes, "JPG");
        QVERIFY2(!theirs.isNull(), "Qt's JPEG reader is missing");
        QCOMPARE(ours.size(), theirs.size());
        QVERIFY2(largestChannelDifference(ours, theirs) <= 2,
                 qPrintable(QString::number(largestChannelDifference(ours, theirs))));
    }

    void knownPixels_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("grey");
        QTest::newRow("even size") << QSize(64, 48) << false;
        QTest::newRow("rows not a multiple of 4 bytes") << QSize(37, 13) << false;
        QTest::newRow("one pixel") << QSize(1, 1) << false;
        QTest::newRow("greyscale file") << QSize(40, 30) << true;
    }

    // Four flat quadrants in red, green, blue and white (or four greys) come back in their places and colours.
    void knownPixels() {
        QFETCH(QSize, size);
        QFETCH(bool, grey);
        QImage source(size, QImage::Format_RGB32);
        const int w = size.width(), h = size.height();
        const QColor colours[4] = {grey ? QColor(30, 30, 30) : QColor(255, 0, 0),
                                   grey ? QColor(100, 100, 100) : QColor(0, 255, 0),
                                   grey ? QColor(170, 170, 170) : QColor(0, 0, 255), QColor(255, 255, 255)};
        {
            QPainter p(&source);
            p.fillRect(0, 0, (w + 1) / 2, (h + 1) / 2, colours[0]);
            p.fillRect((w + 1) / 2, 0, w, (h + 1) / 2, colours[1]);
            p.fillRect(0, (h + 1) / 2, (w + 1) / 2, h, colours[2]);
            p.fillRect((w + 1) / 2, (h + 1) / 2, w, h, colours[3]);
        }
        if (grey) {
            source = source.convertToFormat(QImage::Format_Grayscale8);
        }
        const QImage decoded = TitlePicture::decodeJpeg(encodeWithQt(source, 100));
        QCOMPARE(decoded.size(), size);
        // Sample away from the quadrant edges, where compression blurs the colours together.
        const QPoint samples[4] = {
            {w / 8, h / 8}, {w - 1 - w / 8, h / 8}, {w / 8, h - 1 - h / 8}, {w - 1 - w / 8, h - 1 - h / 8}};
        const int quadrants = size == QSize(1, 1) ? 1 : 4;
        for (int i = 0; i < quadrants; ++i) {
            const QColor got = decoded.pixelColor(samples[i]);
            const QColor want = colours[i];
            QVERIFY2(std::abs(got.red() - want.red()) <= 12 && std::abs(got.green() - want.green()) <= 12 &&
                         std::abs(got.blue() - want.blue()) <= 12,
                     qPrintable(QStringLiteral("quadrant %1: got %2, want %3").arg(i).arg(got.name(), want.name())));
        }
    }

    void damagedInput_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message"); // a part of the message

        const QByteArray title = titleBytes();
        QTest::newRow("empty buffer") << QByteArray() << "empty";
        QTest::newRow("truncated at half") << title.left(title.size() / 2) << "Premature end of JPEG file";
        QTest::newRow("truncated in the header") << title.left(300) << "damaged";
        QTest::newRow("only the start marker") << title.left(2) << "damaged";

        QByteArray badStart = title;
        badStart[0] = char(~badStart[0]);
        badStart[1] = char(~badStart[1]);
        QTest::newRow("start marker flipped") << badStart << "Not a JPEG file";

        // The frame header: precision, size and components made nonsense.
        QByteArray badFrame = title;
        const qsizetype frame = afterMarker(title, 0xC0);
        QVERIFY(frame > 0);
        for (qsizetype i = frame + 2; i < frame + 10; ++i) {
            badFrame[i] = char(~badFrame[i]);
        }
        QTest::newRow("frame header flipped") << badFrame << "damaged";

        // A run of the compressed picture data inverted.
        QByteArray badData = title;
        const qsizetype scan = afterMarker(title, 0xDA);
        QVERIFY(scan > 0);
        const qsizetype middle = scan + (title.size() - scan) / 2;
        for (qsizetype i = middle; i < middle + 4096; ++i) {
            badData[i] = char(~badData[i]);
        }
        QTest::newRow("picture data flipped") << badData << "Corrupt JPEG data";

        // A header that claims a picture far larger than anything the program shows.
        QByteArray huge = title;
        huge[frame + 3] = char(0x7F);
        huge[frame + 4] = char(0xFF);
        huge[frame + 5] = char(0x7F);
        huge[frame + 6] = char(0xFF);
        QTest::newRow("absurd size") << huge << "32767 x 32767 pixels";

        QImage small(8, 8, QImage::Format_RGB32);
        small.fill(Qt::red);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        small.save(&buffer, "PNG");
        QTest::newRow("a PNG") << png << "Not a JPEG file";
        QTest::newRow("text") << QByteArray("this is not a picture at all") << "Not a JPEG file";
    }

    void damagedInput() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        try {
            const QImage image = TitlePicture::decodeJpeg(bytes);
            QFAIL(qPrintable(
                QStringLiteral("decoded to %1 x %2 instead of failing").arg(image.width()).arg(image.height())));
        } catch (const PictureError& e) {
            const QString text = QString::fromUtf8(e.what());
            QVERIFY2(text.contains(message), qPrintable(text));
        }
    }

    // One decompressor goes on working after a failure: the failed run leaves nothing behind.
    void decompressorRecoversAfterFailure() {
        const QByteArray title = titleBytes();
        JpegDecompressor decompressor;
        QVERIFY_THROWS_EXCEPTION(PictureError, decompressor.decode(title.left(title.size() / 3)));
        QVERIFY_THROWS_EXCEPTION(PictureError, decompressor.decode(QByteArray("junk")));
        QCOMPARE(decompressor.decode(title).size(), QSize(1024, 768));
        JpegDecompressor moved = std::move(decompressor);
        QCOMPARE(moved.decode(title).size(), QSize(1024, 768));
        QVERIFY_THROWS_EXCEPTION(PictureError, decompressor.decode(title));
    }
};

QTEST_MAIN(TitlePictureTest)
#include "TitlePictureTest.moc"
