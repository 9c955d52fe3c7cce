#include "report/ReportLayouter.h"

#include "report/ReportError.h"
#include "report/ValueFormat.h"

#include <QCoreApplication>
#include <QHash>

namespace report {

namespace {

constexpr double Slack = 1e-6;

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The datasets of the connections the active report uses, with their column names read once.
class BoundData {
public:
    BoundData(const ProjectDefinition& project, const DataConnections& data) : m_project(project) {
        const ReportDefinition& definition = project.activeReport();
        for (const ReportBand& band : definition.bands) {
            if (band.kind == BandKind::Detail)
                bind(band.connection, band.sourceLine, band.sourceColumn, data);
            for (const ReportItem& item : band.items)
                if (item.kind == ItemKind::Field) {
                    bind(item.connection, item.sourceLine, item.sourceColumn, data);
                    m_columns.insert(&item, columnIndex(item));
                }
        }
    }

    const Dataset& dataset(const QString& connection) const { return *m_datasets.value(connection); }

    // The text a field prints for the given row of its connection; nothing when there is no such row.
    QString fieldText(const ReportItem& item, int row) const {
        const Dataset& source = dataset(item.connection);
        if (row < 0 || row >= source.rowCount())
            return {};
        return formatValue(source.value(row, m_columns.value(&item)), item.format);
    }

private:
    [[noreturn]] void fail(int line, int column, const QString& what) const {
        throw ReportError(QCoreApplication::translate("report", "Cannot run the report %1 of %2: line %3, column %4: %5.")
                              .arg(quoted(m_project.activeReport().name), quoted(m_project.filePath))
                              .arg(line)
                              .arg(column)
                              .arg(what));
    }

    void bind(const QString& connection, int line, int column, const DataConnections& data) {
        if (m_datasets.contains(connection))
            return;
        const Dataset* source = data.value(connection, nullptr);
        if (!source)
            fail(line, column, QStringLiteral("no data is bound to the data connection %1").arg(quoted(connection)));
        m_datasets.insert(connection, source);
        m_columnNames.insert(connection, source->columnNames());
    }

    int columnIndex(const ReportItem& item) const {
        const QStringList names = m_columnNames.value(item.connection);
        auto index = names.indexOf(item.column);
        if (index < 0)
            for (qsizetype i = 0; i < names.size() && index < 0; ++i)
                if (names[i].compare(item.column, Qt::CaseInsensitive) == 0)
                    index = i;
        if (index < 0)
            fail(item.sourceLine, item.sourceColumn,
                 QStringLiteral("the data connection %1 has no column %2")
                     .arg(quoted(item.connection), quoted(item.column)));
        return static_cast<int>(index);
    }

    const ProjectDefinition& m_project;
    QHash<QString, const Dataset*> m_datasets;
    QHash<QString, QStringList> m_columnNames;
    QHash<const ReportItem*, int> m_columns;
};

// Places bands on pages, top to bottom.
class PageFlow {
public:
    PageFlow(const ReportDefinition& definition, const BoundData& data, const std::function<void(int)>& onPage)
        : m_definition(definition), m_data(data), m_onPage(onPage) {
        m_header = definition.band(BandKind::PageHeader);
        m_footer = definition.band(BandKind::PageFooter);
        m_bodyBottom =
            definition.page.pageHeight() - definition.page.marginBottom - (m_footer ? m_footer->height : 0.0);
    }

    void run(LaidOutReport& out) {
        startPage(out);
        for (const ReportBand& band : m_definition.bands) {
            if (band.kind == BandKind::Title) {
                place(out, band, -1);
            } else if (band.kind == BandKind::Detail) {
                const int rows = m_data.dataset(band.connection).rowCount();
                for (int row = 0; row < rows; ++row)
                    place(out, band, row);
            }
        }
        finishPages(out);
    }

private:
    void startPage(LaidOutReport& out) {
        out.pages.append(LaidOutPage{});
        m_cursor = m_definition.page.marginTop;
        m_bodyUsed = false;
        if (m_onPage)
            m_onPage(static_cast<int>(out.pages.size()));
        if (m_header) {
            addBand(out.pages.last(), *m_header, m_cursor, -1);
            m_cursor += m_header->height;
        }
    }

    void place(LaidOutReport& out, const ReportBand& band, int row) {
        // A band never splits; the reader made sure each fits on an empty page.
        if (m_bodyUsed && m_cursor + band.height > m_bodyBottom + Slack)
            startPage(out);
        addBand(out.pages.last(), band, m_cursor, row);
        m_cursor += band.height;
        m_bodyUsed = true;
    }

    void addBand(LaidOutPage& page, const ReportBand& band, double top, int row) const {
        const double left = m_definition.page.marginLeft;
        for (const ReportItem& source : band.items) {
            PlacedItem placed{source, {}};
            ReportItem& item = placed.item;
            item.x += left;
            item.x2 += left;
            item.y += top;
            item.y2 += top;
            if (item.kind == ItemKind::Text)
                placed.text = item.text;
            else if (item.kind == ItemKind::Field)
                // Inside a detail band its own connection follows the row; any other reads its first row.
                placed.text = m_data.fieldText(
                    source, band.kind == BandKind::Detail && source.connection == band.connection ? row : 0);
            page.items.append(std::move(placed));
        }
    }

    void finishPages(LaidOutReport& out) const {
        const QString total = QString::number(out.pages.size());
        for (qsizetype i = 0; i < out.pages.size(); ++i) {
            LaidOutPage& page = out.pages[i];
            if (m_footer)
                addBand(page, *m_footer, m_bodyBottom, -1);
            for (PlacedItem& placed : page.items)
                if (placed.item.kind == ItemKind::PageNumber) {
                    placed.text = placed.item.text;
                    placed.text.replace(QLatin1String("{page}"), QString::number(i + 1));
                    placed.text.replace(QLatin1String("{pages}"), total);
                }
        }
    }

    const ReportDefinition& m_definition;
    const BoundData& m_data;
    const std::function<void(int)>& m_onPage;
    const ReportBand* m_header = nullptr;
    const ReportBand* m_footer = nullptr;
    double m_bodyBottom = 0.0;
    double m_cursor = 0.0;
    bool m_bodyUsed = false;
};

} // namespace

void ReportLayouter::checkData(const ProjectDefinition& project, const DataConnections& data) {
    BoundData bound(project, data);
}

LaidOutReport ReportLayouter::layOut(const ProjectDefinition& project, const DataConnections& data,
                                     const std::function<void(int)>& onPage) {
    const BoundData bound(project, data);
    LaidOutReport out;
    out.name = project.activeReport().name;
    out.page = project.activeReport().page;
    PageFlow(project.activeReport(), bound, onPage).run(out);
    return out;
}

} // namespace report
