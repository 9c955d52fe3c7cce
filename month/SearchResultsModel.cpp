#include "month/SearchResultsModel.h"

#include "store/DayKey.h"
#include "store/FilledSlots.h"

#include <QColor>

void SearchResultsModel::setRows(std::vector<Row> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int SearchResultsModel::rowOf(QDate date, int slot) const {
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].date == date && m_rows[i].slot == slot) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int SearchResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int SearchResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SearchResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const Row& shown = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case DateColumn:
            return store::dateText(static_cast<float>(shown.date.day()), static_cast<float>(shown.date.month()),
                                   static_cast<float>(shown.date.year()));
        case TimeColumn:
            return store::slotTimeText(shown.slot);
        case TextColumn:
            return shown.text;
        default:
            return {};
        }
    case Qt::ToolTipRole:
        return index.column() == TextColumn ? QVariant(shown.text) : QVariant();
    case Qt::ForegroundRole:
        return shown.past ? QVariant(QColor(Qt::darkGray)) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == DateColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
        return {};
    }
}

QVariant SearchResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case DateColumn:
        return QStringLiteral("Ημερομηνία");
    case TimeColumn:
        return QStringLiteral("Ώρα");
    case TextColumn:
        return QStringLiteral("Ραντεβού");
    default:
        return {};
    }
}
