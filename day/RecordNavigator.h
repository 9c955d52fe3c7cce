#pragma once

#include <QPointer>
#include <QWidget>

class DataSource;
class QToolButton;

// The record navigator of a data source, showing only its post button: a check mark that writes the
// record's edits to the file and is enabled only while the record is in editing.
class RecordNavigator : public QWidget {
    Q_OBJECT
public:
    explicit RecordNavigator(QWidget* parent = nullptr);

    void setDataSource(DataSource* dataSource);

    QToolButton* postButton() const { return m_post; }

    // Posts the record; a refused post is shown through the error report and leaves the record in editing.
    void post();

signals:
    // A post wrote the record to the file.
    void posted();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateButtons();

    QPointer<DataSource> m_dataSource;
    QToolButton* m_post;
};
