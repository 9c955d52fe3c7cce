// The real launch: a stand-in xdg-open first on PATH records its arguments, one line each, so the test sees
// exactly what the desktop shell would have been handed, and that no shell ever read the address.
#include "base/AddressOpener.h"
#include "base/AboutWindow.h"
#include "base/ErrorReport.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

class AddressOpenerTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_bin;
    std::unique_ptr<QTemporaryDir> m_log;
    QByteArray m_originalPath;

    // Each launch leaves one file "launch-<pid>" holding its arguments, one per line.
    QStringList launches() const {
        return QDir(m_log->path()).entryList({QStringLiteral("launch-*")}, QDir::Files, QDir::Name);
    }

    QString launchArguments(const QString& launch) const {
        QFile file(QDir(m_log->path()).filePath(launch));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // Anything in the log folder besides the launch records: what a shell running the address would leave.
    QStringList strayFiles() const {
        QStringList all = QDir(m_log->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        all.removeIf([](const QString& name) { return name.startsWith(QLatin1String("launch-")); });
        return all;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_bin.isValid());
        QFile script(m_bin.filePath(QStringLiteral("xdg-open")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n"
                     "record=\"$ORVELLA_LAUNCH_LOG/.record.$$\"\n"
                     ": > \"$record\"\n"
                     "for argument in \"$@\"; do printf '%s\\n' \"$argument\" >> \"$record\"; done\n"
                     "mv \"$record\" \"$ORVELLA_LAUNCH_LOG/launch-$$\"\n");
        script.close();
        QVERIFY(script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        m_originalPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_bin.path()) + ':' + m_originalPath);
        ErrorReport::setObserver([](const QString& text) { QFAIL(qPrintable("unexpected report: " + text)); });
    }

    void init() {
        m_log = std::make_unique<QTemporaryDir>();
        QVERIFY(m_log->isValid());
        qputenv("ORVELLA_LAUNCH_LOG", QFile::encodeName(m_log->path()));
        AddressOpener::setObserver({});
    }

    void cleanup() { qputenv("PATH", QFile::encodeName(m_bin.path()) + ':' + m_originalPath); }

    void addressIsOneArgument_data() {
        QTest::addColumn<QString>("address");
        QTest::newRow("web") << QStringLiteral("https://www.quenmark.example/");
        QTest::newRow("mail") << QStringLiteral("mailto:info@quenmark.example");
        // If a shell read these, it would split them and run the commands inside, leaving files behind.
        QTest::newRow("spaces and a command") << QStringLiteral("a b;touch x$(id -u)");
        QTest::newRow("command into /tmp") << QStringLiteral("a b;touch /tmp/x$(id)");
        QTest::newRow("quotes, pipe, backticks")
            << QStringLiteral("https://x.example/?q=\"1\"&r='2' | tee piped `touch ticked` > redirected");
        QTest::newRow("Greek") << QStringLiteral("https://www.quenmark.example/Ραντεβού σήμερα");
        QTest::newRow("leading blanks") << QStringLiteral("  two blanks first");
    }

    void addressIsOneArgument() {
        QFETCH(QString, address);
        const QStringList tmpBefore = QDir(QStringLiteral("/tmp")).entryList({QStringLiteral("xuid=*")});
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_log->path())); // where a shell's relative "touch" would land
        OpenAddress(address);
        QDir::setCurrent(previous);
        QTRY_COMPARE(launches().size(), 1);
        QCOMPARE(launchArguments(launches().first()), address + QLatin1Char('\n'));
        QTest::qWait(200);
        QCOMPARE(launches().size(), 1);
        QCOMPARE(strayFiles(), QStringList());
        QCOMPARE(QDir(QStringLiteral("/tmp")).entryList({QStringLiteral("xuid=*")}), tmpBefore);
    }

    // A click on the web address in the About window starts exactly one launch.
    void aboutWindowClickLaunchesOnce() {
        TForm62 window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* label3 = window.findChild<QLabel*>(QStringLiteral("Label3"));
        QVERIFY(label3);
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, label3->mapTo(&window, label3->rect().center()));
        QTRY_COMPARE(launches().size(), 1);
        QCOMPARE(launchArguments(launches().first()), QStringLiteral("https://www.quenmark.example/\n"));
        QTest::qWait(200);
        QCOMPARE(launches().size(), 1);
    }

    // No xdg-open at all: nothing is reported, nothing throws, the window stays as it was.
    void missingLauncherShowsNothing() {
        QTemporaryDir empty;
        qputenv("PATH", QFile::encodeName(empty.path()));
        TForm62 window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int windowsBefore = int(QApplication::topLevelWidgets().size());
        auto* label4 = window.findChild<QLabel*>(QStringLiteral("Label4"));
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, label4->mapTo(&window, label4->rect().center()));
        OpenAddress(QStringLiteral("https://www.quenmark.example/"));
        QTest::qWait(100);
        QCOMPARE(int(QApplication::topLevelWidgets().size()), windowsBefore);
        QVERIFY(window.isVisible());
        QCOMPARE(launches(), QStringList());
    }

    // With an observer installed the address goes to it and nothing is launched.
    void observerReplacesLaunch() {
        QStringList seen;
        AddressOpener::setObserver([&seen](const QString& address) { seen.append(address); });
        OpenAddress(QStringLiteral("mailto:info@quenmark.example"));
        AddressOpener::setObserver({});
        QCOMPARE(seen, QStringList{QStringLiteral("mailto:info@quenmark.example")});
        QTest::qWait(200);
        QCOMPARE(launches(), QStringList());
    }
};

QTEST_MAIN(AddressOpenerTest)
#include "AddressOpenerTest.moc"
