#pragma once

#include "store/engine/EngineSession.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

namespace store {

class Connection;

// A query over one connection: a statement added line by line, opened into a static snapshot held in
// memory (the record buffer). The current row can be edited; edits stay in the buffer until post()
// writes the changed fields, and close() or cancel() drops them.
class Query : public QObject {
    Q_OBJECT
public:
    enum class State { Closed, Browse, Edit };

    explicit Query(Connection& connection, QObject* parent = nullptr);
    ~Query() override;

    // Drops edits not posted.
    void close();

    void clearStatement();
    void addStatement(const QString& line);
    QString statement() const;

    // Seconds to wait for a locked file; 0 means the bounded default wait.
    void setCommandTimeout(int seconds);

    // Runs the statement on the open connection; throws EngineError.
    void open();

    // Runs the statement on the open connection as open() would, but keeps no result: tells how many of the first
    // `positions` values of its first row hold something (store::holdsText, which value() followed by
    // occupancy's look at each would tell too), or none when it has no row. The query is closed first and stays
    // closed. Throws EngineError as open() does.
    std::optional<int> countHeld(int positions);

    State state() const { return m_state; }
    bool isOpen() const { return m_state != State::Closed; }
    // True when there is no current row (for example a day without a record).
    bool isEmpty() const;

    int fieldCount() const;
    QString fieldName(int position) const;
    // The position of the named field, or -1.
    int fieldIndex(const QString& name) const;

    // The current row's value: a null QVariant for a field without a value or when there is no current
    // row; a date column reads as a QDate. Throws for a position or name the result does not have.
    QVariant value(int position) const;
    QVariant value(const QString& name) const;

    // The rows of the result, for reading a whole table through one query: how many there are (0 when
    // closed) and the value of any of them as read from the file, presented as value() presents it
    // (edits not posted are not seen here). Row 0 is the current row. Throws for a row or position the
    // result does not have.
    int recordCount() const;
    QVariant valueAt(int row, int position) const;

    // The declared size of a text field (VARCHAR(n) gives n); 0 for a field without a declared size.
    int fieldSize(const QString& name) const;

    // Puts the record into Edit and keeps the value in the record buffer. Throws when there is no current
    // row, the field does not exist or the text is longer than the field's size.
    void setValue(const QString& name, const QVariant& value);

    // Writes the changed fields of the current row; on failure throws and stays in Edit with the
    // user's values. Fails without writing when another program changed one of those fields since the
    // record was read. What is typed while the write waits for a server (the windows run meanwhile) is
    // left out of the post: those fields stay in Edit, with the user's text, once it is done.
    void post();

    // Drops edits and returns to Browse.
    void cancel();

    // Reads the record again and shows what is stored now in every field the user has not changed; changed
    // fields keep the user's text and the value they were read with, so that the post still refuses to
    // overwrite what another program saved in them meanwhile. Nothing when the query is closed. Throws
    // EngineError when the record cannot be read, leaving the buffer as it was.
    void refresh();

signals:
    void stateChanged();
    void valuesChanged();

private:
    using Field = FieldDescription;

    int checkedPosition(int position) const;
    int checkedPosition(const QString& name) const;
    bool hasRow() const { return !m_rows.empty(); }
    QVariant presented(int position, const QVariant& stored) const;
    QVariant storedForm(int position, const QVariant& value) const;
    // Writes the fields changed (positions) with the values posted, and takes the row as now stored.
    void writeChanges(const std::vector<int>& changed, const std::vector<QVariant>& values);
    void setState(State state);
    void dropEdits();

    Connection& m_connection;
    QStringList m_lines;
    int m_commandTimeout = 0;
    State m_state = State::Closed;
    FieldList m_fields;
    std::vector<std::vector<QVariant>> m_rows; // values as stored; the first row is the current one
    std::vector<QVariant> m_edited;            // the record buffer's edits, in stored form
    std::vector<bool> m_changed;
};

} // namespace store
