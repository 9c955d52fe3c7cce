#include "tests/report/PdfTools.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace PdfTools {

namespace {

std::optional<QString> run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

bool available() {
#ifdef Q_OS_WIN
    // Under Wine a Windows program can start poppler's Linux programs but not wait for them: the PDFs written
    // there are read back by the Linux side of the end-to-end test instead.
    return false;
#endif
    return QFileInfo::exists(QStringLiteral("/usr/bin/pdftotext")) &&
           QFileInfo::exists(QStringLiteral("/usr/bin/pdfinfo"));
}

std::optional<int> pageCount(const QString& path) {
    const auto info = run(QStringLiteral("/usr/bin/pdfinfo"), {path});
    if (!info)
        return std::nullopt;
    const auto match =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption).match(*info);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toInt();
}

std::optional<QSizeF> pageSize(const QString& path) {
    const auto info = run(QStringLiteral("/usr/bin/pdfinfo"), {path});
    if (!info)
        return std::nullopt;
    const auto match = QRegularExpression(QStringLiteral("^Page size:\\s+([0-9.]+) x ([0-9.]+) pts"),
                                          QRegularExpression::MultilineOption)
                           .match(*info);
    if (!match.hasMatch())
        return std::nullopt;
    return QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble());
}

std::optional<QString> text(const QString& path) {
    return run(QStringLiteral("/usr/bin/pdftotext"),
               {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
}

std::optional<QString> pageText(const QString& path, int page) {
    return run(QStringLiteral("/usr/bin/pdftotext"),
               {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), QStringLiteral("-f"),
                QString::number(page), QStringLiteral("-l"), QString::number(page), path, QStringLiteral("-")});
}

std::optional<QString> areaText(const QString& path, int page, const QRectF& area) {
    // At 72 dots per inch the crop's pixels are points.
    const QRect crop = area.toAlignedRect();
    return run(QStringLiteral("/usr/bin/pdftotext"),
               {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-x"), QString::number(crop.x()),
                QStringLiteral("-y"), QString::number(crop.y()), QStringLiteral("-W"), QString::number(crop.width()),
                QStringLiteral("-H"), QString::number(crop.height()), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page), path,
                QStringLiteral("-")});
}

} // namespace PdfTools
