#pragma once

#include "day/SlotTextLimit.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <vector>

class QLineEdit;

namespace store {
class Query;
}

// The link between a query's current record and the edit boxes that show its columns, each box bound
// by column name. The boxes show the record (a field without a value shows as an empty box); what the
// user types goes into the query's record buffer, which puts the record into editing until it is posted.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(QObject* parent = nullptr);
    ~DataSource() override;

    // The query whose record the boxes show; nullptr detaches them. The query must outlive the binding
    // or be detached first.
    void setQuery(store::Query* query);
    store::Query* query() const { return m_query; }

    // Binds a box to the named column of the query. The box takes the column's size as its limit whenever
    // the query opens, counted in characters as the store counts them (see SlotTextLimit), and is read-only
    // while there is no record to show.
    void bind(QLineEdit* edit, const QString& column);

    // True while the record holds edits that are not posted.
    bool isEditing() const;

    // Writes the record's edits to the file. Throws the engine's error when the post is refused; the
    // record then stays in editing and the boxes keep the user's text.
    void post();

signals:
    // The record entered or left editing, or the query was opened or closed.
    void stateChanged();

private:
    struct Binding {
        QPointer<QLineEdit> edit;
        QString column;
        QPointer<SlotTextLimit> limit;
    };

    void queryStateChanged();
    void showRecord();
    void showField(const Binding& binding);
    void userEdited(const Binding& binding, const QString& text);

    store::Query* m_query = nullptr;
    std::vector<Binding> m_bindings;
    // Set while a box's text is being handed to the query, so that the query's change notice does not
    // write the same text back into the box the user is typing in.
    bool m_writing = false;
    bool m_wasOpen = false;
};
