#pragma once

#include <QDate>
#include <QDialog>

#include <memory>
#include <optional>
#include <vector>

class DataSource;
class QLabel;
class QLineEdit;
class QPushButton;
class RecordNavigator;

namespace store {
class Connection;
class Query;
} // namespace store

// The day window: the 28 half-hour slots of one day record, each in an edit box bound to its column,
// with the post button that saves them, the print button and the exit button.
//
// The month window creates one for each opening of a day, heads it with the date text, opens its
// connection and its query on the day record and runs it modally. Every way of closing it (exit button,
// Esc, the title bar's close box) first asks what to do with edits not posted (save, drop, or stay), then
// closes the query and the connection.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    // The window's own connection and the query on it that holds the day record.
    store::Connection& ADOConnection1() const { return *m_connection; }
    store::Query& ADOQuery1() const { return *m_query; }

    // Shows the date text in the heading, which takes the width of its text.
    void setHeading(const QString& text);

    // The one way a day is opened, by the month window and by every test and benchmark: the heading, then
    // the connection (close, connection text, both timeouts 0, open), then the query (close, clear, command
    // timeout 0, dayQuery as its one line, open). Throws the engine's error when the file or the record
    // cannot be opened. The connection text and dayQuery are kept for printing; reportFile is the day
    // sheet's definition that printing runs.
    //
    // recordNotMade is why the day's record could not be made just before (store::ensureDayRecord's answer):
    // when the query then finds no record, the slots show read-only and the user is told why, once.
    void openDay(const QString& heading, const QString& connectionText, const QString& dayQuery,
                 const QString& reportFile, const std::optional<QString>& recordNotMade = std::nullopt);

    // Print button: prints the shown day.
    void Button1Click();
    // A slot's context menu "Repeat…" (and Ctrl+R in a slot): the slot's appointment on other days at the same
    // half hour (RepeatDialog). Edits not posted are saved first, so that what repeats is what the day holds;
    // a refused save has shown its reason and nothing repeats.
    void repeatSlot(int slot);
    // Exit button (and Esc): closes the window.
    void Button29Click();
    // Runs on every close: closes the query, clears its statement, closes the connection.
    void FormClose();

    // Every close of the dialog, whatever started it, ends here; with edits not posted it asks first and
    // stays open when the user chooses to stay or the save is refused.
    void done(int result) override;

    // The question asked before the window closes or prints with edits not posted: Save (the default),
    // Don't save and Cancel (also Esc), in the program's words. The caller runs it.
    enum class Unsaved { Save, Drop, Stay };
    static Unsaved askAboutUnsaved(QWidget* parent, bool beforePrinting);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildHeading();
    void buildSlots();
    void buildButtons();
    void offerRepeat(QLineEdit* box, const QPoint& where);
    void watchBook();
    void startBackupIfDue();
    void reportFinishedBackup();
    // Settles edits not posted before the window closes or prints. True when the caller may go on: nothing
    // was being edited, the edits were saved, or (Drop) the user chose to leave them.
    bool settleUnsaved(bool beforePrinting);
    // Each box shows the start of its text and the whole text as its tool tip.
    void showStartsOfTexts(bool keepTheUsers = false);

    // Declared in this order so that the binding goes first, then the query, then the connection it runs on.
    std::unique_ptr<store::Connection> m_connection;
    std::unique_ptr<store::Query> m_query;
    std::unique_ptr<DataSource> m_dataSource;

    // What openDay was given, handed on to the report host at each print.
    QString m_connectionText;
    QString m_dayQuery;
    QString m_reportFile;
    // The day shown, for telling which of the book's change notices concern it.
    QDate m_day;

    QLabel* m_heading = nullptr;
    RecordNavigator* m_navigator = nullptr;
    QPushButton* m_printButton = nullptr;
    QPushButton* m_exitButton = nullptr;
    std::vector<QLineEdit*> m_slotBoxes;
};
