#include "tests/faults/PosterProcess.h"

#include <QElapsedTimer>

PosterProcess::PosterProcess(const QStringList& arguments) {
    m_process.setProgram(QStringLiteral(ORVELLA_FAULT_POSTER));
    m_process.setArguments(arguments);
    m_process.start();
    m_started = m_process.waitForStarted(10000);
}

PosterProcess::~PosterProcess() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
}

void PosterProcess::collect() {
    m_pending += m_process.readAllStandardOutput();
    qsizetype end = 0;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        m_lines << QString::fromUtf8(m_pending.left(end));
        m_pending.remove(0, end + 1);
    }
}

QString PosterProcess::nextLine(int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    collect();
    while (m_lines.isEmpty() && m_process.state() != QProcess::NotRunning && waited.elapsed() < timeoutMs) {
        m_process.waitForReadyRead(static_cast<int>(std::max<qint64>(1, timeoutMs - waited.elapsed())));
        collect();
    }
    return m_lines.isEmpty() ? QString() : m_lines.takeFirst();
}

QStringList PosterProcess::takeLines() {
    collect();
    return std::exchange(m_lines, {});
}

QString PosterProcess::request(const QString& command, int timeoutMs) {
    m_process.write((command + QLatin1Char('\n')).toUtf8());
    m_process.waitForBytesWritten(timeoutMs);
    return nextLine(timeoutMs);
}

void PosterProcess::kill() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
    collect();
}

bool PosterProcess::waitForEnd(int timeoutMs) {
    const bool ended = m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
    collect();
    return ended;
}

QString PosterProcess::errorOutput() {
    return QString::fromUtf8(m_process.readAllStandardError());
}
