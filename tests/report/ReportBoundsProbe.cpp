// Runs one report-definition file through the engine inside limits, for tests that bound time and memory
// from outside: the address space is capped (setrlimit) before Qt starts, so that a run that would take
// more memory fails here instead of slowing the machine down.
//
//   orvella_report_probe read|pdf DEFINITION PDF MEMORY_MB
//
// read: only reads the definition; pdf: runs its active report into the PDF file (no windows but
// "Report Status"). Prints one line "made" (with the number of reports when reading) or "refused: MESSAGE", then
// "peak_kb=K" (the peak resident memory) and "ms=T" (wall time). Exit status 0 for both outcomes, 3 when memory ran
// out.

#include "report/DefinitionReader.h"
#include "report/ReportError.h"
#include "report/ReportProject.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <new>

#include <sys/resource.h>

namespace {

// The peak resident memory of this program alone (getrusage() would also count what the parent process
// held when it started this one).
long peakKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s read|pdf DEFINITION PDF MEMORY_MB\n", argv[0]);
        return 2;
    }
    const rlim_t limit = static_cast<rlim_t>(std::atol(argv[4])) * 1024 * 1024;
    const struct rlimit memory { limit, limit };
    if (setrlimit(RLIMIT_AS, &memory) != 0) {
        std::perror("setrlimit");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString definition = QString::fromLocal8Bit(argv[2]);

    QElapsedTimer clock;
    clock.start();
    int status = 0;
    try {
        if (mode == u"read") {
            const report::ProjectDefinition project = report::DefinitionReader::readFile(definition);
            std::printf("made reports=%lld\n", static_cast<long long>(project.reports.size()));
        } else {
            report::ReportProject project;
            project.setProjectFile(definition);
            report::OutputOptions options;
            options.destination = report::OutputOptions::Destination::File;
            options.filePath = QString::fromLocal8Bit(argv[3]);
            options.replaceExisting = true;
            std::printf(project.execute(options) ? "made\n" : "refused: the run was declined\n");
        }
    } catch (const report::ReportError& error) {
        std::printf("refused: %s\n", error.what());
    } catch (const std::bad_alloc&) {
        std::printf("out of memory\n");
        status = 3;
    }
    std::printf("peak_kb=%ld\nms=%lld\n", peakKilobytes(), static_cast<long long>(clock.elapsed()));
    return status;
}
