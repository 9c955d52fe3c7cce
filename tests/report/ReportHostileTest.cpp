// The engine against a careless user and a hostile neighbour: output that would replace a file the
// program works from (by its name, another name or a link), replacing any file only after a Yes, links
// planted in shared folders, definitions and pictures that are not ordinary files or are too large, and
// pictures past the pixel budget. Real files, FIFOs and links in a temporary folder.

#include "tests/report/WindowDriver.h"

#include "report/MemoryDataset.h"
#include "report/OutputOptions.h"
#include "report/ReportError.h"
#include "report/ReportProject.h"
#include "report/UserMessages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

using namespace report;
using WindowDriver::click;
using WindowDriver::whenShown;

namespace {

const QByteArray BookBytes = "the appointment book: every day record";
const QByteArray NotesBytes = "the neighbour's own notes";
const QString Options = QStringLiteral("Output Options");

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QByteArray smallPng() {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

// A definition with one title band; extra items go into it. The picture seal.png is shown by default.
QByteArray
definition(const QByteArray& items = "<image x=\"0\" y=\"0\" width=\"10\" height=\"10\" src=\"seal.png\"/>") {
    return "<project><report name=\"Sheet\"><title height=\"50\">"
           "<text x=\"0\" y=\"20\" width=\"80\" height=\"10\">Day sheet</text>" +
           items + "</title></report></project>";
}

// CRC-32 as PNG chunks carry it.
quint32 crc32(const QByteArray& bytes) {
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xffffffffu;
}

QByteArray bigEndian(quint32 value) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((value >> (24 - 8 * i)) & 0xff);
    return bytes;
}

QByteArray pngChunk(const QByteArray& type, const QByteArray& data) {
    return bigEndian(static_cast<quint32>(data.size())) + type + data + bigEndian(crc32(type + data));
}

// A PNG that declares width x height pixels and is cut short in its image data: a reader that only looks
// at the header sees its size; one that decodes fails.
QByteArray pngHeaderOnly(quint32 width, quint32 height) {
    const QByteArray header = bigEndian(width) + bigEndian(height) + QByteArray("\x08\x02\x00\x00\x00", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) +
           pngChunk("IDAT", QByteArray("\x78\x9c\x63", 3)) + pngChunk("IEND", {});
}

// A real PNG of the given size, one bit per pixel: large in pixels, small on disk and quick to make.
QByteArray monoPng(int width, int height) {
    QImage image(width, height, QImage::Format_Mono);
    image.fill(0);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

OutputOptions toFile(const QString& path, bool replace) {
    OutputOptions options;
    options.destination = OutputOptions::Destination::File;
    options.filePath = path;
    options.replaceExisting = replace;
    return options;
}

} // namespace

class ReportHostileTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void outputNeverReplacesTheProgramsFiles_data();
    void outputNeverReplacesTheProgramsFiles();
    void replacingAFileIsAskedFirst_data();
    void replacingAFileIsAskedFirst();
    void aLinkIsReplacedNotFollowed();
    void sourcesThatAreNoOrdinaryFilesFailAtOnce_data();
    void sourcesThatAreNoOrdinaryFilesFailAtOnce();
    void picturesKeepToTheirBudget_data();
    void picturesKeepToTheirBudget();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    // The files of the folder besides those the test made.
    QStringList strayFiles() const;
    std::unique_ptr<ReportProject> makeProject() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_made;
    QStringList m_questions;
    QStringList m_warnings;
    bool m_answer = false;
    QString m_workingFolder;
};

void ReportHostileTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(writeFile(path(QStringLiteral("data.mdb")), BookBytes));
    QVERIFY(writeFile(path(QStringLiteral("seal.png")), smallPng()));
    QVERIFY(writeFile(path(QStringLiteral("Sheet.rav")), definition()));
    m_made = QStringList{QStringLiteral("data.mdb"), QStringLiteral("seal.png"), QStringLiteral("Sheet.rav")};
    m_questions.clear();
    m_warnings.clear();
    m_answer = false;
    UserMessages::setObserver([this](UserMessages::Kind kind, const QString& text) {
        (kind == UserMessages::Kind::Question ? m_questions : m_warnings).append(text);
        return m_answer;
    });
    m_workingFolder = QDir::currentPath();
}

void ReportHostileTest::cleanup() {
    UserMessages::setObserver({});
    QDir::setCurrent(m_workingFolder);
    m_dir.reset();
}

QStringList ReportHostileTest::strayFiles() const {
    QStringList stray;
    const QFileInfoList entries =
        QDir(m_dir->path()).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries)
        if (!m_made.contains(entry.fileName()))
            stray.append(entry.fileName());
    return stray;
}

std::unique_ptr<ReportProject> ReportHostileTest::makeProject() const {
    auto project = std::make_unique<ReportProject>();
    project->setProjectFile(path(QStringLiteral("Sheet.rav")));
    project->setProtectedFiles({path(QStringLiteral("data.mdb"))});
    return project;
}

void ReportHostileTest::outputNeverReplacesTheProgramsFiles_data() {
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("message");

    const QString own = QStringLiteral("the program works from that file");
    const QString other = QStringLiteral("under another name or through a link");
    QTest::newRow("the data file by its name") << "preset"
                                               << "data.mdb"
                                               << ""
                                               << "data.mdb" << own;
    QTest::newRow("the data file typed in Output Options") << "dialog"
                                                           << "data.mdb"
                                                           << ""
                                                           << "data.mdb" << own;
    QTest::newRow("the data file by a bare name, the folder current") << "dialog"
                                                                      << "@data.mdb"
                                                                      << ""
                                                                      << "data.mdb" << own;
    QTest::newRow("the data file through a symbolic link") << "dialog"
                                                           << "day.pdf"
                                                           << "symlink data.mdb"
                                                           << "data.mdb" << other;
    QTest::newRow("the data file through a hard link") << "preset"
                                                       << "day.pdf"
                                                       << "hardlink data.mdb"
                                                       << "data.mdb" << other;
    QTest::newRow("the definition, which the engine keeps on its own") << "preset"
                                                                       << "Sheet.rav"
                                                                       << ""
                                                                       << "Sheet.rav" << own;
    QTest::newRow("the definition by a path with ../") << "preset"
                                                       << "sub/../Sheet.rav"
                                                       << "folder sub"
                                                       << "Sheet.rav" << own;
    QTest::newRow("the picture the definition shows") << "dialog"
                                                      << "seal.png"
                                                      << ""
                                                      << "seal.png" << own;
    QTest::newRow("a link planted by another user in a shared folder")
        << "dialog"
        << "shared/day.pdf"
        << "sticky link notes.txt"
        << "notes.txt"
        << "a link that another user put in this shared folder";
}

// Whatever the answer to "replace?" would be, these are refused with words, and the file stays whole.
void ReportHostileTest::outputNeverReplacesTheProgramsFiles() {
    QFETCH(QString, route);
    QFETCH(QString, target);
    QFETCH(QString, setUp);
    QFETCH(QString, kept);
    QFETCH(QString, message);

    QVERIFY(writeFile(path(QStringLiteral("notes.txt")), NotesBytes));
    m_made << QStringLiteral("notes.txt");
    const QString fullTarget = target.startsWith(QLatin1Char('@')) ? target.mid(1) : path(target);
    if (target.startsWith(QLatin1Char('@')))
        QVERIFY(QDir::setCurrent(m_dir->path()));
    if (setUp.startsWith(u"symlink ")) {
        QVERIFY(QFile::link(path(setUp.section(QLatin1Char(' '), 1)), fullTarget));
    } else if (setUp.startsWith(u"hardlink ")) {
        QCOMPARE(::link(QFile::encodeName(path(setUp.section(QLatin1Char(' '), 1))).constData(),
                        QFile::encodeName(fullTarget).constData()),
                 0);
    } else if (setUp.startsWith(u"folder ")) {
        QVERIFY(QDir(m_dir->path()).mkdir(setUp.section(QLatin1Char(' '), 1)));
    } else if (setUp.startsWith(u"sticky link ")) {
        // /tmp as it is on every machine: writable by all, sticky; the link belongs to someone else.
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("shared")));
        QCOMPARE(::chmod(QFile::encodeName(path(QStringLiteral("shared"))).constData(), 01777), 0);
        QVERIFY(QFile::link(path(setUp.section(QLatin1Char(' '), 2)), fullTarget));
        // Only root can give a link away to another user (nobody, here).
        if (::geteuid() != 0)
            QSKIP("a link owned by another user can only be made as root");
        QCOMPARE(::lchown(QFile::encodeName(fullTarget).constData(), 65534, 65534), 0);
    }
    if (setUp.contains(QStringLiteral("link")))
        m_made << QFileInfo(fullTarget).fileName();
    const QByteArray before = contents(path(kept));

    auto project = makeProject();
    if (route == u"preset") {
        try {
            project->execute(toFile(fullTarget, true));
            QFAIL("the report was written");
        } catch (const ReportError& error) {
            QVERIFY2(error.text().contains(message), qPrintable(error.text()));
        }
    } else {
        m_answer = true;
        bool filled = false;
        QString stillOpen;
        whenShown(Options, [&](QWidget* dialog) {
            if (!dialog)
                return;
            dialog->findChild<QRadioButton*>(QStringLiteral("FileRadio"))->setChecked(true);
            dialog->findChild<QLineEdit*>(QStringLiteral("FileEdit"))->setText(fullTarget);
            filled = click(dialog, QStringLiteral("OkButton"));
            // Refused: the window stays for another name.
            if (dialog->isVisible())
                stillOpen = dialog->windowTitle();
            click(dialog, QStringLiteral("CancelButton"));
        });
        QVERIFY(!project->execute());
        QVERIFY(filled);
        QCOMPARE(stillOpen, Options);
        QCOMPARE(m_warnings.size(), 1);
        QVERIFY2(m_warnings.first().contains(message), qPrintable(m_warnings.first()));
    }
    QVERIFY2(m_questions.isEmpty(), qPrintable(m_questions.join('\n')));
    QCOMPARE(contents(path(kept)), before);
    QCOMPARE(contents(path(QStringLiteral("data.mdb"))), BookBytes);
    QCOMPARE(contents(path(QStringLiteral("notes.txt"))), NotesBytes);
    QVERIFY2(strayFiles().isEmpty(), qPrintable(strayFiles().join(',')));
    const QFileInfoList partial = QDir(QFileInfo(fullTarget).absolutePath())
                                      .entryInfoList({QStringLiteral("*.part")}, QDir::Files | QDir::Hidden);
    QVERIFY(partial.isEmpty());
}

void ReportHostileTest::replacingAFileIsAskedFirst_data() {
    QTest::addColumn<QString>("route");
    QTest::addColumn<bool>("answer");

    for (const char* route : {"preset", "dialog", "preview"}) {
        QTest::addRow("%s, Yes", route) << QString::fromLatin1(route) << true;
        QTest::addRow("%s, No", route) << QString::fromLatin1(route) << false;
    }
}

// An existing file is replaced only after a Yes, on every way to a PDF; No leaves it as it was.
void ReportHostileTest::replacingAFileIsAskedFirst() {
    QFETCH(QString, route);
    QFETCH(bool, answer);
    const QString old = path(QStringLiteral("Ημέρα 5-3.pdf"));
    const QByteArray oldBytes = "an earlier day sheet";
    QVERIFY(writeFile(old, oldBytes));
    m_answer = answer;

    auto project = makeProject();
    bool result = false;
    if (route == u"preset") {
        result = project->execute(toFile(old, false));
        QCOMPARE(result, answer);
    } else if (route == u"dialog") {
        bool closedOnOk = false;
        whenShown(Options, [&](QWidget* dialog) {
            if (!dialog)
                return;
            dialog->findChild<QRadioButton*>(QStringLiteral("FileRadio"))->setChecked(true);
            dialog->findChild<QLineEdit*>(QStringLiteral("FileEdit"))->setText(old);
            click(dialog, QStringLiteral("OkButton"));
            closedOnOk = !dialog->isVisible();
            if (!closedOnOk)
                click(dialog, QStringLiteral("CancelButton"));
        });
        result = project->execute();
        QCOMPARE(closedOnOk, answer);
        QCOMPARE(result, answer);
    } else {
        bool saved = false;
        whenShown(QStringLiteral("Report Preview"), [&](QWidget* preview) {
            if (!preview)
                return;
            WindowDriver::chooseFile(QStringLiteral("Save the report as PDF"), old,
                                     [&saved](bool chosen) { saved = chosen; });
            click(preview, QStringLiteral("SaveButton"));
            click(preview, QStringLiteral("CloseButton"));
        });
        QVERIFY(project->execute(OutputOptions{}));
        QVERIFY(saved);
    }
    QCOMPARE(m_questions.size(), 1);
    QVERIFY2(m_questions.first().contains(QStringLiteral("already exists")), qPrintable(m_questions.first()));
    QVERIFY2(m_questions.first().contains(QDir::toNativeSeparators(old)), qPrintable(m_questions.first()));
    QVERIFY(m_warnings.isEmpty());
    if (answer)
        QVERIFY(contents(old).startsWith("%PDF-"));
    else
        QCOMPARE(contents(old), oldBytes);
}

// A link of one's own is replaced by the PDF as a file of its own; the file it led to is untouched.
void ReportHostileTest::aLinkIsReplacedNotFollowed() {
    QVERIFY(writeFile(path(QStringLiteral("notes.txt")), NotesBytes));
    const QString link = path(QStringLiteral("day.pdf"));
    QVERIFY(QFile::link(path(QStringLiteral("notes.txt")), link));
    m_answer = true;
    QVERIFY(makeProject()->execute(toFile(link, false)));
    QCOMPARE(m_questions.size(), 1);
    QVERIFY(!QFileInfo(link).isSymLink());
    QVERIFY(contents(link).startsWith("%PDF-"));
    QCOMPARE(contents(path(QStringLiteral("notes.txt"))), NotesBytes);
    // A new file gets the usual permissions, not the private ones of the temporary file it was written as.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat written {};
    QCOMPARE(::stat(QFile::encodeName(link).constData(), &written), 0);
    QCOMPARE(written.st_mode & 0777, 0666 & ~mask);
}

void ReportHostileTest::sourcesThatAreNoOrdinaryFilesFailAtOnce_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");

    QTest::newRow("definition: a FIFO") << "definition"
                                        << "fifo"
                                        << "is a named pipe (FIFO), not an ordinary file";
    QTest::newRow("definition: a link to /proc/kmsg") << "definition"
                                                      << "/proc/kmsg"
                                                      << "is a view of the running system, not an ordinary file";
    QTest::newRow("definition: a link to a device") << "definition"
                                                    << "/dev/zero"
                                                    << "is a device, not an ordinary file";
    QTest::newRow("definition: past 16 MB") << "definition"
                                            << "sparse 16777217"
                                            << "is larger than the 16 MB it may be";
    QTest::newRow("picture: a FIFO") << "picture"
                                     << "fifo"
                                     << "is a named pipe (FIFO), not an ordinary file";
    QTest::newRow("picture: /proc/kmsg") << "picture"
                                         << "/proc/kmsg"
                                         << "is a view of the running system, not an ordinary file";
    QTest::newRow("picture: a device") << "picture"
                                       << "/dev/zero"
                                       << "is a device, not an ordinary file";
    QTest::newRow("picture: a folder") << "picture"
                                       << "folder"
                                       << "is a folder, not an ordinary file";
    QTest::newRow("picture: past 32 MB") << "picture"
                                         << "sparse 33554433"
                                         << "is larger than the 32 MB it may be";
    QTest::newRow("picture: missing") << "picture"
                                      << "missing"
                                      << "does not exist";
}

// A read that could wait for ever is never started: the run fails at once with the file's name.
void ReportHostileTest::sourcesThatAreNoOrdinaryFilesFailAtOnce() {
    QFETCH(QString, which);
    QFETCH(QString, kind);
    QFETCH(QString, message);

    const QString source = path(QStringLiteral("source"));
    if (kind == u"fifo") {
        // No one writes to it: an ordinary blocking open would wait for ever.
        QCOMPARE(::mkfifo(QFile::encodeName(source).constData(), 0600), 0);
    } else if (kind.startsWith(QLatin1Char('/'))) {
        if (!QFileInfo::exists(kind))
            QSKIP(qPrintable(kind + QStringLiteral(" is not there on this machine")));
        QVERIFY(QFile::link(kind, source));
    } else if (kind.startsWith(u"sparse ")) {
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(kind.section(QLatin1Char(' '), 1).toLongLong()));
    } else if (kind == u"folder") {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("source")));
    }

    auto project = makeProject();
    if (which == u"definition") {
        project->setProjectFile(source);
    } else {
        QVERIFY(writeFile(path(QStringLiteral("Sheet.rav")),
                          definition("<image x=\"0\" y=\"0\" width=\"10\" height=\"10\" src=\"source\"/>")));
    }
    try {
        project->execute(toFile(path(QStringLiteral("out.pdf")), true));
        QFAIL("the run went through");
    } catch (const ReportError& error) {
        QVERIFY2(error.text().contains(message), qPrintable(error.text()));
        QVERIFY2(error.text().contains(source), qPrintable(error.text()));
    }
    QVERIFY(!QFile::exists(path(QStringLiteral("out.pdf"))));
}

void ReportHostileTest::picturesKeepToTheirBudget_data() {
    QTest::addColumn<QByteArrayList>("pictures");
    QTest::addColumn<QString>("message");

    QTest::newRow("one picture of 48 million pixels")
        << QByteArrayList{pngHeaderOnly(8000, 6000)}
        << "(\"%1/p0.png\") is 8000 x 6000 pixels, more than the 40 million pixels a report's pictures may have.";
    QTest::newRow("two pictures of 22.5 million pixels each")
        << QByteArrayList{monoPng(5000, 4500), monoPng(4500, 5000)}
        << "(\"%1/p1.png\") is 4500 x 5000 pixels; with the report's other pictures that makes more than the 40 "
           "million pixels";
    QTest::newRow("one picture shown many times counts once")
        << QByteArrayList{monoPng(5000, 6000), monoPng(5000, 6000)} << "";
    QTest::newRow("a PNG cut short") << QByteArrayList{pngHeaderOnly(100, 100)}
                                     << "(\"%1/p0.png\") cannot be decoded (100 x 100 pixels)";
    QTest::newRow("a text") << QByteArrayList{"just some words, no picture"}
                            << "(\"%1/p0.png\") is neither a PNG nor a JPEG picture.";
}

// The size is read from the header: too many pixels are refused before anything is decoded, naming the
// file and its size; a picture that is a PNG but does not decode is not called "neither a PNG nor a JPEG".
void ReportHostileTest::picturesKeepToTheirBudget() {
    QFETCH(QByteArrayList, pictures);
    QFETCH(QString, message);

    QByteArray items;
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        const QString name = QStringLiteral("p%1.png").arg(i);
        QVERIFY(writeFile(path(name), pictures[i]));
        // Equal bytes under two names: the second name is a link to the first, as the same picture.
        if (i > 0 && pictures[i] == pictures[0]) {
            QVERIFY(QFile::remove(path(name)));
            QVERIFY(QFile::link(path(QStringLiteral("p0.png")), path(name)));
        }
        for (int copy = 0; copy < 10; ++copy)
            items += "<image x=\"" + QByteArray::number(copy * 10) + "\" y=\"0\" width=\"10\" height=\"10\" src=\"" +
                     name.toUtf8() + "\"/>";
    }
    QVERIFY(writeFile(path(QStringLiteral("Sheet.rav")), definition(items)));
    auto project = makeProject();
    const QString pdf = path(QStringLiteral("out.pdf"));
    if (message.isEmpty()) {
        QVERIFY(project->execute(toFile(pdf, true)));
        QVERIFY(contents(pdf).startsWith("%PDF-"));
        return;
    }
    try {
        project->execute(toFile(pdf, true));
        QFAIL("the run went through");
    } catch (const ReportError& error) {
        QVERIFY2(error.text().contains(message.arg(m_dir->path())), qPrintable(error.text()));
    }
    QVERIFY(!QFile::exists(pdf));
}

QTEST_MAIN(ReportHostileTest)
#include "ReportHostileTest.moc"
