#pragma once

#include <QAbstractTableModel>
#include <QDate>
#include <QString>

#include <vector>

// The rows the search window shows: one found slot per row, in three columns — the date as the day window
// heads it (5/3/2010), the slot's half hour ("10:00 - 10:30") and the slot's text. Days before today are
// drawn in grey, so that the upcoming appointments stand out.
class SearchResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Row {
        QDate date;
        int slot = 0;
        QString text;
        bool past = false;
    };

    enum Column { DateColumn, TimeColumn, TextColumn, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    // Replaces every row at once: one reset, however many rows change.
    void setRows(std::vector<Row> rows);
    const Row& row(int number) const { return m_rows.at(static_cast<std::size_t>(number)); }
    // The number of the row for the slot of that day, or -1.
    int rowOf(QDate date, int slot) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<Row> m_rows;
};
