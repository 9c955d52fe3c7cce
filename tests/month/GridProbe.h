#pragma once

// Finding the month window's controls by their names, the way a user sees them: what a day cell shows.
#include "month/MonthWindow.h"

#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "base/SharedState.h"
#include "store/cipher/DatabaseFile.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

template <typename T> T* control(const TForm1& window, const QString& name) {
    T* found = window.findChild<T*>(name);
    if (found == nullptr) {
        qFatal("no control %s", qPrintable(name));
    }
    return found;
}

inline QLabel* dayLabel(const TForm1& window, int cell) {
    return control<QLabel>(window, QStringLiteral("LabelD%1").arg(cell));
}

inline QLabel* countLabel(const TForm1& window, int cell) {
    return control<QLabel>(window, QStringLiteral("LabelR%1").arg(cell));
}

inline QComboBox* monthChooser(const TForm1& window) {
    return control<QComboBox>(window, QStringLiteral("ComboBox1"));
}

inline QComboBox* yearChooser(const TForm1& window) {
    return control<QComboBox>(window, QStringLiteral("ComboBox2"));
}

inline QColor textColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

// An empty data folder made the program's way, made the current directory for as long as it lives, so that
// the month window's scan finds a data file.
class EmptyDataFolder {
public:
    EmptyDataFolder() : m_saved(QDir::currentPath()) {
        store::createDatabaseFile(m_dir.filePath(QStringLiteral("data.mdb")), QStringLiteral("Kw73Tp"));
        QDir::setCurrent(m_dir.path());
    }
    ~EmptyDataFolder() { QDir::setCurrent(m_saved); }
    EmptyDataFolder(const EmptyDataFolder&) = delete;
    EmptyDataFolder& operator=(const EmptyDataFolder&) = delete;

private:
    QTemporaryDir m_dir;
    QString m_saved;
};

// What every month-window test case sets up alike: the program's identity, an empty data folder as the current
// directory for the whole case, fresh shared state and a record of the error reports for each test. Where
// reportsAreFaults, a test that left a report fails.
class MonthWindowTestCase : public QObject {
    Q_OBJECT
protected:
    explicit MonthWindowTestCase(bool reportsAreFaults) : m_reportsAreFaults(reportsAreFaults) {}

    QStringList m_reports;

private slots:
    void initTestCase() {
        OrvellaApplication::setUpIdentity();
        m_data = std::make_unique<EmptyDataFolder>();
    }
    void cleanupTestCase() { m_data.reset(); }
    void init() {
        sharedState() = SharedState{};
        m_reports.clear();
        ErrorReport::setObserver([this](const QString& text) { m_reports << text; });
    }
    void cleanup() {
        ErrorReport::setObserver({});
        if (m_reportsAreFaults)
            QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(QLatin1Char('\n'))));
    }

private:
    std::unique_ptr<EmptyDataFolder> m_data;
    bool m_reportsAreFaults;
};
