// The day window on real data files: what it shows, what reaches the file on post, what is dropped on
// close, the column sizes, and posts that meet another program's changes.
#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "day/DayWindow.h"
#include "day/SlotTextLimit.h"
#include "store/Connection.h"
#include "store/Query.h"
#include "store/engine/ConflictMessage.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"
#include "tests/day/DayTestFile.h"
#include "tests/day/DayWindowClosing.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {

QLineEdit* slotBox(const TForm2& window, int slot) {
    return window.findChild<QLineEdit*>(QStringLiteral("DBEdit%1").arg(slot));
}

QToolButton* postButton(const TForm2& window) {
    return window.findChild<QToolButton*>(QStringLiteral("DBNavigator1Post"));
}

QString column(int slot) {
    return store::slotColumnNames().at(slot - 1);
}

// As a person types: Latin through the key clicks, anything else one character at a time (the key clicks
// cannot carry Greek).
void typeInto(QWidget* box, const QString& text) {
    bool latin = true;
    for (QChar c : text) {
        latin = latin && c.unicode() < 0x80;
    }
    if (latin) {
        QTest::keyClicks(box, text);
        return;
    }
    for (QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void erase(QLineEdit* box) {
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
}

bool isFree(const QVariant& value) {
    return value.isNull() || value.toString().trimmed().isEmpty();
}

} // namespace

class DayWindowFlowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { OrvellaApplication::setUpIdentity(); }

    void init() {
        m_reports.clear();
        ErrorReport::setObserver([this](const QString& text) { m_reports << text; });
        m_file = std::make_unique<DayTestFile>();
        QVERIFY(m_file->isValid());
    }

    void cleanup() {
        ErrorReport::setObserver({});
        m_file.reset();
    }

    void showsTheStoredRecord_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("text");
        QTest::newRow("Greek, first slot") << 1 << QStringLiteral("Παπαδοπούλου Ελένη");
        QTest::newRow("Latin, last of the left") << 14 << QStringLiteral("Dr. Smith, check-up");
        QTest::newRow("mixed, first of the right") << 15 << QStringLiteral("κ. Nikos τηλ. 2101234567");
        QTest::newRow("blanks kept as stored") << 28 << QStringLiteral("  ώρα 21:30  ");
        QTest::newRow("longer than the box")
            << 6 << QStringLiteral("Παπαδοπούλου Ελένη, πρώτη επίσκεψη, φέρνει τις εξετάσεις του Μαΐου, τηλ. 6971234567 ΤΕΛΟΣ");
    }

    // Each box shows the start of its text (a long one is not scrolled to its end), and a text longer than
    // its box is whole in the box's tool tip.

    void showsTheStoredRecord() {
        QFETCH(int, slot);
        QFETCH(QString, text);
        m_file->storeSlots(QStringLiteral("5/3/2010"), {{column(slot), text}});
        TForm2 window;
        m_file->openIn(window, QStringLiteral("5/3/2010"));
        window.show();
        for (int other = 1; other <= 28; ++other) {
            QCOMPARE(slotBox(window, other)->text(), other == slot ? text : QString());
            QVERIFY(!slotBox(window, other)->isReadOnly());
            QCOMPARE(slotBox(window, other)->cursorPosition(), 0);
        }
        const bool longer = slotBox(window, slot)->fontMetrics().horizontalAdvance(text) > slotBox(window, slot)->width();
        QCOMPARE(slotBox(window, slot)->toolTip(), longer ? text : QString());
        QCOMPARE(longer, slot == 6);
        QVERIFY(!postButton(window)->isEnabled());
        QVERIFY(m_reports.isEmpty());
    }

    void typedTextIsPosted_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<bool>("saveKey");
        QTest::newRow("Latin") << 2 << QStringLiteral("John Doe 555-0101") << false << false;
        QTest::newRow("Greek") << 13 << QStringLiteral("Γιώργος Αθανασίου") << false << false;
        QTest::newRow("Greek with Latin") << 27 << QStringLiteral("Μαρία - email maria@example.gr") << false << false;
        QTest::newRow("pasted") << 16 << QStringLiteral("Επικόλληση από αλλού") << true << false;
        QTest::newRow("saved from the keyboard") << 21 << QStringLiteral("Ctrl+S σώζει") << false << true;
    }

    void typedTextIsPosted() {
        QFETCH(int, slot);
        QFETCH(QString, text);
        QFETCH(bool, paste);
        QFETCH(bool, saveKey);
        const QString day = QStringLiteral("15/3/2010");
        TForm2 window;
        m_file->openIn(window, day);
        window.show();
        QLineEdit* box = slotBox(window, slot);
        QVERIFY(!postButton(window)->isEnabled());
        if (paste) {
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        } else {
            typeInto(box, text);
        }
        QCOMPARE(box->text(), text);
        QCOMPARE(window.ADOQuery1().state(), store::Query::State::Edit);
        QVERIFY(postButton(window)->isEnabled());
        // Typed but not posted: the file does not have it yet.
        QVERIFY(m_file->storedSlot(day, column(slot)).isNull());

        if (saveKey) {
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier);
        } else {
            QTest::mouseClick(postButton(window), Qt::LeftButton);
        }
        QVERIFY(m_reports.isEmpty());
        QCOMPARE(m_file->storedSlot(day, column(slot)).toString(), text);
        QCOMPARE(window.ADOQuery1().state(), store::Query::State::Browse);
        QVERIFY(!postButton(window)->isEnabled());
        QCOMPARE(box->text(), text);
        for (int other = 1; other <= 28; ++other) {
            if (other != slot) {
                QVERIFY(m_file->storedSlot(day, column(other)).isNull());
            }
        }
    }

    void typingInsideTheTextKeepsTheCursor() {
        TForm2 window;
        m_file->openIn(window, QStringLiteral("1/4/2010"));
        window.show();
        QLineEdit* box = slotBox(window, 6);
        QTest::keyClicks(box, QStringLiteral("abc"));
        QTest::keyClick(box, Qt::Key_Left);
        typeInto(box, QStringLiteral("Ψ"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, QStringLiteral("X"));
        QCOMPARE(box->text(), QStringLiteral("abXc"));
        QCOMPARE(box->cursorPosition(), 3);
        QCOMPARE(window.ADOQuery1().value(column(6)).toString(), QStringLiteral("abXc"));
        // Saving in the middle of a word leaves the cursor where it was, too.
        QTest::mouseClick(postButton(window), Qt::LeftButton);
        QTest::keyClicks(box, QStringLiteral("Y"));
        QCOMPARE(box->text(), QStringLiteral("abXYc"));
        QCOMPARE(window.ADOQuery1().value(column(6)).toString(), QStringLiteral("abXYc"));
    }

    void unpostedTextOnCloseIsAskedAbout_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("answer");
        const QList<QPair<const char*, QString>> ways = {
            {"exit button", QStringLiteral("exit")}, {"Esc", QStringLiteral("esc")}, {"close box", QStringLiteral("closeEvent")}};
        const QList<QPair<const char*, int>> answers = {
            {"Yes", QMessageBox::Save}, {"No", QMessageBox::Discard}, {"Cancel", QMessageBox::Cancel}};
        for (const auto& [wayName, how] : ways)
            for (const auto& [answerName, answer] : answers)
                QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(wayName), QLatin1String(answerName))))
                    << how << answer;
    }

    // Closing with unsaved edits asks first: Yes saves them all and closes, No drops them and closes, Cancel
    // (or Esc on the question) keeps the window and the text as it was.
    void unpostedTextOnCloseIsAskedAbout() {
        QFETCH(QString, how);
        QFETCH(int, answer);
        const QString day = QStringLiteral("20/3/2010");
        m_file->storeSlots(day, {{column(4), QStringLiteral("Κρατημένο")}});
        TForm2 window;
        m_file->openIn(window, day);
        bool asked = false;
        bool stayed = false;
        QVERIFY(dayclosing::execUntilClosed(window, [&] {
            typeInto(slotBox(window, 3), QStringLiteral("νέο ραντεβού"));
            QTest::keyClick(slotBox(window, 4), Qt::Key_End);
            QTest::keyClicks(slotBox(window, 4), QStringLiteral(" more"));
            dayclosing::answerWhenAsked(&window, QMessageBox::StandardButton(answer), &asked);
            dayclosing::close(window, how, slotBox(window, 3));
            if (answer != QMessageBox::Cancel)
                return;
            // The question is modal: this runs once it has been answered.
            stayed = window.isVisible() && window.ADOQuery1().state() == store::Query::State::Edit &&
                     slotBox(window, 3)->text() == QStringLiteral("νέο ραντεβού");
            bool askedAgain = false;
            dayclosing::answerWhenAsked(&window, QMessageBox::Discard, &askedAgain);
            window.Button29Click();
        }));
        QVERIFY(asked);
        QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join('\n')));
        const bool saved = answer == QMessageBox::Save;
        QCOMPARE(m_file->storedSlot(day, column(3)).toString(), saved ? QStringLiteral("νέο ραντεβού") : QString());
        QCOMPARE(m_file->storedSlot(day, column(4)).toString(),
                 saved ? QStringLiteral("Κρατημένο more") : QStringLiteral("Κρατημένο"));
        QCOMPARE(stayed, answer == QMessageBox::Cancel);
        // The close handler left nothing open.
        QVERIFY(!window.ADOQuery1().isOpen());
        QVERIFY(window.ADOQuery1().statement().isEmpty());
        QVERIFY(!window.ADOConnection1().isOpen());
    }

    // Yes on the question whose save is refused (another program changed that slot) keeps the window open
    // with the user's text; nothing is lost by the answer.
    void aRefusedSaveOnCloseKeepsTheWindow() {
        const QString day = QStringLiteral("21/3/2010");
        TForm2 window;
        m_file->openIn(window, day);
        bool asked = false;
        bool stayed = false;
        QVERIFY(dayclosing::execUntilClosed(window, [&] {
            m_file->storeSlots(day, {{column(3), QStringLiteral("their text")}});
            typeInto(slotBox(window, 3), QStringLiteral("το δικό μου"));
            dayclosing::answerWhenAsked(&window, QMessageBox::Save, &asked);
            window.Button29Click();
            stayed = window.isVisible() && slotBox(window, 3)->text() == QStringLiteral("το δικό μου");
            bool again = false;
            dayclosing::answerWhenAsked(&window, QMessageBox::Discard, &again);
            window.Button29Click();
        }));
        QVERIFY(asked);
        QVERIFY(stayed);
        QCOMPARE(m_reports.size(), 1);
        QCOMPARE(m_file->storedSlot(day, column(3)).toString(), QStringLiteral("their text"));
    }

    void erasingEverySlotFreesThemAll() {
        const QString day = QStringLiteral("31/12/2010");
        QList<QPair<QString, QVariant>> full;
        for (int slot = 1; slot <= 28; ++slot) {
            full << qMakePair(column(slot), QVariant(QStringLiteral("Ραντεβού %1").arg(slot)));
        }
        m_file->storeSlots(day, full);
        {
            TForm2 window;
            m_file->openIn(window, day);
            window.show();
            for (int slot = 1; slot <= 28; ++slot) {
                QCOMPARE(slotBox(window, slot)->text(), QStringLiteral("Ραντεβού %1").arg(slot));
                erase(slotBox(window, slot));
            }
            QTest::mouseClick(postButton(window), Qt::LeftButton);
            QVERIFY(m_reports.isEmpty());
        }
        for (int slot = 1; slot <= 28; ++slot) {
            QVERIFY2(isFree(m_file->storedSlot(day, column(slot))), qPrintable(column(slot)));
        }
        TForm2 again;
        m_file->openIn(again, day);
        for (int slot = 1; slot <= 28; ++slot) {
            QVERIFY(slotBox(again, slot)->text().isEmpty());
        }
    }

    void reopeningShowsWhatWasPosted() {
        const QString day = QStringLiteral("1/1/2011");
        {
            TForm2 window;
            m_file->openIn(window, day);
            typeInto(slotBox(window, 9), QStringLiteral("Ιατρός 12:00"));
            QTest::mouseClick(postButton(window), Qt::LeftButton);
            typeInto(slotBox(window, 10), QStringLiteral("όχι αποθηκευμένο"));
            QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Button29")), Qt::LeftButton);
        }
        TForm2 window;
        m_file->openIn(window, day);
        QCOMPARE(window.findChild<QWidget*>(QStringLiteral("Label83"))->property("text").toString(), day);
        QCOMPARE(slotBox(window, 9)->text(), QStringLiteral("Ιατρός 12:00"));
        QCOMPARE(slotBox(window, 10)->text(), QString());
        QVERIFY(m_reports.isEmpty());
    }

    void aBoxTakesNoMoreThanItsColumnHolds_data() {
        QTest::addColumn<int>("declared");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        const QString full = QString(store::SlotTextSize, QLatin1Char('x'));
        QTest::newRow("the usual table, one too many") << 0 << full + QStringLiteral("y") << full;
        QTest::newRow("VARCHAR(10), Latin") << 10 << QStringLiteral("abcdefghijk") << QStringLiteral("abcdefghij");
        QTest::newRow("VARCHAR(10), Greek") << 10 << QStringLiteral("αβγδεζηθικλ") << QStringLiteral("αβγδεζηθικ");
        QTest::newRow("VARCHAR(10), fits") << 10 << QStringLiteral("Ζωή Nine") << QStringLiteral("Ζωή Nine");
    }

    void aBoxTakesNoMoreThanItsColumnHolds() {
        QFETCH(int, declared);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        if (declared > 0) {
            m_file->narrowFirstSlot(declared);
        }
        const QString day = QStringLiteral("7/3/2008");
        TForm2 window;
        m_file->openIn(window, day);
        QLineEdit* box = slotBox(window, 1);
        const auto limitOf = [](const QLineEdit* edit) {
            const auto* limit = qobject_cast<const SlotTextLimit*>(edit->validator());
            return limit ? limit->limit() : -1;
        };
        QCOMPARE(limitOf(box), declared > 0 ? declared : store::SlotTextSize);
        // The other slots keep the usual size.
        QCOMPARE(limitOf(slotBox(window, 2)), store::SlotTextSize);
        typeInto(box, typed);
        QCOMPARE(box->text(), kept);
        QTest::mouseClick(postButton(window), Qt::LeftButton);
        QVERIFY(m_reports.isEmpty());
        QCOMPARE(m_file->storedSlot(day, column(1)).toString(), kept);
    }

    void aBoxCountsCharactersAsTheStoreDoes_data() {
        QTest::addColumn<int>("declared");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QString>("kept");
        const QString smile = QStringLiteral("\U0001F600");
        const int size = store::SlotTextSize;
        // 255 characters in 258 UTF-16 units, ending in an emoji.
        const QString start = QStringLiteral("Ζωή 😀 ok 𝄞 ");
        const QString mixed = start + QString(size - 1 - start.toUcs4().size(), QLatin1Char('x')) + smile;
        QTest::newRow("255 emoji pasted")
            << 0 << QString() << 0 << smile.repeated(size) << true << smile.repeated(size);
        QTest::newRow("256 emoji pasted")
            << 0 << QString() << 0 << smile.repeated(size + 1) << true << smile.repeated(size);
        QTest::newRow("256 emoji typed") << 0 << QString() << 0 << smile.repeated(size + 1) << false
                                         << smile.repeated(size);
        QTest::newRow("a mixed line of 255 characters") << 0 << QString() << 0 << mixed << true << mixed;
        QTest::newRow("a mixed line, then more")
            << 0 << QString() << 0 << mixed + QStringLiteral("ω😀") << true << mixed;
        QTest::newRow("an emoji into the last place")
            << 0 << QString(size - 1, QLatin1Char('a')) << size - 1 << smile + smile << true
            << QString(size - 1, QLatin1Char('a')) + smile;
        // Two code points that read as one character go in whole or not at all.
        const QString toned = QStringLiteral("\U0001F44D\U0001F3FD");
        QTest::newRow("a toned emoji past the last place goes whole")
            << 0 << QString(size - 1, QLatin1Char('a')) << size - 1 << toned << true << QString(size - 1, QLatin1Char('a'));
        QTest::newRow("a toned emoji into the last two places")
            << 0 << QString(size - 2, QLatin1Char('a')) << size - 2 << toned << true
            << QString(size - 2, QLatin1Char('a')) + toned;
        QTest::newRow("a letter and its accent, typed at the end")
            << 0 << QString(size - 1, QLatin1Char('a')) << size - 1 << QStringLiteral("e\u0301") << false
            << QString(size - 1, QLatin1Char('a'));
        QTest::newRow("pasted in the middle, the rest kept")
            << 10 << QStringLiteral("abcdefghi") << 1 << smile.repeated(3) << true
            << QStringLiteral("a") + smile + QStringLiteral("bcdefghi");
        QTest::newRow("a 1 MB paste") << 0 << QString() << 0 << QString(1 << 20, QChar(0x3c9)) << true
                                      << QString(size, QChar(0x3c9));
    }

    // The box takes as many characters as the store holds, emoji and other characters outside the basic
    // plane included, never cuts one in half, and what is saved is what is shown.
    void aBoxCountsCharactersAsTheStoreDoes() {
        QFETCH(int, declared);
        QFETCH(QString, before);
        QFETCH(int, cursor);
        QFETCH(QString, input);
        QFETCH(bool, paste);
        QFETCH(QString, kept);
        if (declared > 0) {
            m_file->narrowFirstSlot(declared);
        }
        const QString day = QStringLiteral("8/3/2008");
        if (!before.isEmpty()) {
            m_file->storeSlots(day, {{column(1), before}});
        }
        TForm2 window;
        m_file->openIn(window, day);
        window.show();
        QLineEdit* box = slotBox(window, 1);
        box->setFocus();
        box->setCursorPosition(cursor);
        if (paste) {
            QGuiApplication::clipboard()->setText(input);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        } else {
            // One key press per character, a surrogate pair in one event as a keyboard sends it.
            for (const char32_t c : input.toUcs4()) {
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
            }
        }
        QCOMPARE(box->text(), kept);
        QTest::mouseClick(postButton(window), Qt::LeftButton);
        QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join('\n')));
        const QString stored = m_file->storedSlot(day, column(1)).toString();
        QCOMPARE(stored.size(), kept.size());
        QCOMPARE(stored, kept);
        QCOMPARE(box->text(), stored);
    }

    void aPostOverAnotherProgramsChangeIsRefused() {
        const QString day = QStringLiteral("10/5/2012");
        TForm2 window;
        m_file->openIn(window, day);
        window.show();
        // Another program saves the same slot after the window read the record.
        m_file->storeSlots(day, {{column(3), QStringLiteral("their text")}});
        typeInto(slotBox(window, 3), QStringLiteral("το δικό μου"));
        QTest::mouseClick(postButton(window), Qt::LeftButton);

        QCOMPARE(m_reports.size(), 1);
        QVERIFY2(m_reports.first().contains(store::slotCaption(column(3))), qPrintable(m_reports.first()));
        QCOMPARE(m_file->storedSlot(day, column(3)).toString(), QStringLiteral("their text"));
        // Still editing, with the user's text where it was.
        QCOMPARE(window.ADOQuery1().state(), store::Query::State::Edit);
        QVERIFY(postButton(window)->isEnabled());
        QCOMPARE(slotBox(window, 3)->text(), QStringLiteral("το δικό μου"));
        QVERIFY(window.isVisible());
    }

    void aPostOfAnotherSlotKeepsBothChanges() {
        const QString day = QStringLiteral("11/5/2012");
        m_file->storeSlots(day, {{column(20), QStringLiteral("Παλιό")}});
        TForm2 window;
        m_file->openIn(window, day);
        window.show();
        m_file->storeSlots(day, {{column(4), QStringLiteral("theirs")}});
        typeInto(slotBox(window, 5), QStringLiteral("δικό μας"));
        QTest::mouseClick(postButton(window), Qt::LeftButton);

        QVERIFY(m_reports.isEmpty());
        QCOMPARE(m_file->storedSlot(day, column(4)).toString(), QStringLiteral("theirs"));
        QCOMPARE(m_file->storedSlot(day, column(5)).toString(), QStringLiteral("δικό μας"));
        QCOMPARE(m_file->storedSlot(day, column(20)).toString(), QStringLiteral("Παλιό"));
        // The window now shows the record as saved, the other program's slot included.
        QCOMPARE(slotBox(window, 4)->text(), QStringLiteral("theirs"));
        QCOMPARE(slotBox(window, 5)->text(), QStringLiteral("δικό μας"));
        QVERIFY(!postButton(window)->isEnabled());
    }

    void aDayWithoutARecordCannotBeTypedInto() {
        const QString day = QStringLiteral("2/2/2020");
        TForm2 window;
        m_file->openIn(window, day, false);
        window.show();
        QVERIFY(window.ADOQuery1().isEmpty());
        QVERIFY(slotBox(window, 1)->isReadOnly());
        QTest::keyClicks(slotBox(window, 1), QStringLiteral("lost"));
        QCOMPARE(slotBox(window, 1)->text(), QString());
        QVERIFY(!postButton(window)->isEnabled());
        QVERIFY(m_reports.isEmpty());
    }

    void openingFailsWithTheEnginesError_data() {
        QTest::addColumn<QString>("what");
        QTest::newRow("no data file") << QStringLiteral("missing");
        QTest::newRow("wrong password") << QStringLiteral("password");
        QTest::newRow("day key ERROR") << QStringLiteral("key");
    }

    void openingFailsWithTheEnginesError() {
        QFETCH(QString, what);
        QString text = m_file->connectionText();
        QString statement = QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#3/5/2010#");
        if (what == QLatin1String("missing")) {
            text.replace(QStringLiteral("data.mdb"), QStringLiteral("gone.mdb"));
        } else if (what == QLatin1String("password")) {
            text.replace(QStringLiteral("Password=Kw73Tp"), QStringLiteral("Password=wrong"));
        } else {
            statement = QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=ERROR");
        }
        TForm2 window;
        QVERIFY_THROWS_EXCEPTION(store::EngineError,
                                 window.openDay(QStringLiteral("5/3/2010"), text, statement, QString()));
        QVERIFY(!window.ADOQuery1().isOpen());
        for (int slot = 1; slot <= 28; ++slot) {
            QVERIFY(slotBox(window, slot)->isReadOnly());
        }
    }

    // A day with a few slots as the user sees it. Set ORVELLA_DAY_SCREENSHOT to a file name to keep the picture.
    void drawnDay() {
        const QString day = QStringLiteral("5/3/2010");
        m_file->storeSlots(day, {{column(1), QStringLiteral("Παπαδοπούλου Ελένη")},
                                 {column(4), QStringLiteral("Dr. Smith, check-up")},
                                 {column(14), QStringLiteral("Γιώργος - 6971234567")},
                                 {column(15), QStringLiteral("κ. Nikos, οδοντίατρος")},
                                 {column(28), QStringLiteral("Late call / τηλεφώνημα")}});
        TForm2 window;
        m_file->openIn(window, day);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        typeInto(slotBox(window, 20), QStringLiteral("Νέο: Μαρία Κ."));
        const QImage image = window.grab().toImage();
        const QString keep = qEnvironmentVariable("ORVELLA_DAY_SCREENSHOT");
        if (!keep.isEmpty()) {
            QVERIFY(image.save(keep));
        }
        auto redInk = [&](int slot) {
            const QLineEdit* box = slotBox(window, slot);
            const QRect area(box->mapTo(&window, QPoint(0, 0)) * image.devicePixelRatio(),
                             box->size() * image.devicePixelRatio());
            int count = 0;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    count += c.red() > 200 && c.green() < 100 && c.blue() < 100;
                }
            }
            return count;
        };
        for (int slot : {1, 4, 14, 15, 20, 28}) {
            QVERIFY2(redInk(slot) > 20, qPrintable(column(slot)));
        }
        QCOMPARE(redInk(2), 0);
        QCOMPARE(redInk(27), 0);
    }

private:
    std::unique_ptr<DayTestFile> m_file;
    QStringList m_reports;
};

QTEST_MAIN(DayWindowFlowTest)
#include "DayWindowFlowTest.moc"
