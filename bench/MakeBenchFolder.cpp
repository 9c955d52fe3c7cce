// orvella_bench_datafolder <folder> <records>: makes a data folder for measuring the real program, with
// data.mdb holding that many day records spread over 2008 to 2035 and the default RANTEBOU.rav. The folder
// must exist and hold neither file.

#include "bench/BenchDataFolder.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    bool isNumber = false;
    const int records = arguments.size() == 3 ? arguments[2].toInt(&isNumber) : 0;
    if (!isNumber || records < 0) {
        std::fprintf(stderr, "usage: orvella_bench_datafolder <folder> <records>\n");
        return 2;
    }
    try {
        const BenchDataFolder folder(arguments[1], records);
        std::printf("%s: %d day records, %lld filled slots\n", qPrintable(folder.path()), folder.dayRecords(),
                    folder.filledSlots());
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "orvella_bench_datafolder: %s\n", failure.what());
        return 1;
    }
    return 0;
}
