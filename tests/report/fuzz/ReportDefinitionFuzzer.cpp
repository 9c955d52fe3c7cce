// Feeds arbitrary bytes to the report-definition reader; whatever it accepts is laid out over datasets
// that have every column it asks for. Refusals (ReportError) are the expected answer to most inputs;
// anything else that escapes, a crash, a hang or a sanitizer report is a fault.

#include "report/DefinitionReader.h"
#include "report/MemoryDataset.h"
#include "report/PageSelection.h"
#include "report/ReportError.h"
#include "report/ReportLayouter.h"

#include <QDate>
#include <QHash>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray xml(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    report::ProjectDefinition project;
    try {
        project = report::DefinitionReader::readBytes(xml, QStringLiteral("fuzz.rav"),
                                                      QStringLiteral("/nonexistent-fuzz-folder"));
    } catch (const report::ReportError&) {
        return 0;
    }

    // One dataset per connection, with the columns its fields name and three rows of mixed values.
    QHash<QString, QStringList> columns;
    for (const QString& connection : project.connections)
        columns[connection];
    for (const report::ReportBand& band : project.activeReport().bands)
        for (const report::ReportItem& item : band.items)
            if (item.kind == report::ItemKind::Field && !columns[item.connection].contains(item.column))
                columns[item.connection].append(item.column);
    std::vector<std::unique_ptr<report::MemoryDataset>> datasets;
    report::DataConnections bound;
    for (auto it = columns.cbegin(); it != columns.cend(); ++it) {
        auto dataset = std::make_unique<report::MemoryDataset>(it.value());
        const QVariantList values{QStringLiteral("Ραντεβού"), QDate(2010, 3, 5), QVariant(), 42,
                                  QStringLiteral("2012-02-29")};
        for (int row = 0; row < 3; ++row) {
            QVariantList cells;
            for (qsizetype c = 0; c < it.value().size(); ++c)
                cells.append(values[(row + c) % values.size()]);
            dataset->appendRow(cells);
        }
        bound.insert(it.key(), dataset.get());
        datasets.push_back(std::move(dataset));
    }
    try {
        const report::LaidOutReport out = report::ReportLayouter::layOut(project, bound);
        if (out.pages.isEmpty())
            __builtin_trap(); // a laid-out report always has a page
        report::OutputOptions options;
        options.toPage = 2;
        report::selectPages(static_cast<int>(out.pages.size()), options);
    } catch (const report::ReportError&) {
    }
    return 0;
}
