// How the search compares texts (the pure functions) and the order and count of what the book's index finds.

#include "month/SearchText.h"
#include "month/AppointmentIndex.h"

#include <QTest>

class SearchTextTest : public QObject {
    Q_OBJECT

private slots:
    void matchesAsAGreekReaderExpects_data();
    void matchesAsAGreekReaderExpects();
    void findsUpcomingFirstThenThePast();
    void countsBeyondTheShownRows();
    void aChangedDayIsAsIfReadWhole_data();
    void aChangedDayIsAsIfReadWhole();
};

void SearchTextTest::matchesAsAGreekReaderExpects_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("search");
    QTest::addColumn<bool>("found");
    const QString name = QStringLiteral("Παπαδόπουλος Γιώργος 6944 123456");
    QTest::newRow("lower case without accents, final sigma typed as sigma") << name << "παπαδοπουλοσ" << true;
    QTest::newRow("capitals") << name << "ΠΑΠΑΔΟΠΟΥΛΟΣ" << true;
    QTest::newRow("as written") << name << "Παπαδόπουλος" << true;
    QTest::newRow("final sigma in the search") << QStringLiteral("Πάσος") << "πασος" << true;
    QTest::newRow("sigma inside a word found by a final one") << QStringLiteral("Κώστας") << "κως" << true;
    QTest::newRow("accent typed where the text has none") << QStringLiteral("ΑΝΤΩΝΙΟΥ") << "Αντωνίου" << true;
    QTest::newRow("blanks at the ends of the search") << name << "   γιωργ  " << true;
    QTest::newRow("tab and no-break space at the ends") << name << QStringLiteral("\tγιώργος\u00a0") << true;
    QTest::newRow("inner blanks count as one") << QStringLiteral("Ελένη  Π.") << "ελενη π" << true;
    QTest::newRow("phone number") << name << "6944 123" << true;
    QTest::newRow("ΐ is ι") << QStringLiteral("ΐ") << "ι" << true;
    QTest::newRow("ϋ is υ") << QStringLiteral("Ευϋπόληπτος") << "ευυποληπτοσ" << true;
    QTest::newRow("ϊ is ι") << QStringLiteral("Αϊβαλιώτης") << "αιβαλιωτης" << true;
    QTest::newRow("Ϋ capital") << QStringLiteral("ΤΑΫΓΕΤΟΣ") << "ταυγετος" << true;
    QTest::newRow("no transliteration: Latin finds no Greek") << name << "papad" << false;
    QTest::newRow("no transliteration: Greek finds no Latin") << QStringLiteral("Papadopoulos") << "παπαδ" << false;
    QTest::newRow("Latin found case-insensitively") << QStringLiteral("Papadopoulos") << "PAPAD" << true;
    QTest::newRow("Latin accents too") << QStringLiteral("Müller, Anna") << "muller" << true;
    QTest::newRow("ligature unfolded") << QStringLiteral("ﬁle") << "file" << true;
    QTest::newRow("one character") << QStringLiteral("Άννα") << "α" << true;
    QTest::newRow("one character, absent") << QStringLiteral("Άννα") << "ω" << false;
    QTest::newRow("empty search finds nothing") << name << "" << false;
    QTest::newRow("blank search finds nothing") << name << "   " << false;
    QTest::newRow("percent is a percent") << QStringLiteral("έκπτωση 10%") << "10%" << true;
    QTest::newRow("percent is no wildcard") << QStringLiteral("100 ευρώ") << "1%0" << false;
    QTest::newRow("underscore is an underscore") << QStringLiteral("a_b") << "_" << true;
    QTest::newRow("underscore is no wildcard") << QStringLiteral("axb") << "a_b" << false;
    QTest::newRow("star is no wildcard") << QStringLiteral("abc") << "a*" << false;
    QTest::newRow("star found") << QStringLiteral("**επείγον**") << "*ε" << true;
    QTest::newRow("quote") << QStringLiteral("O'Brien") << "o'b" << true;
    QTest::newRow("backslash") << QStringLiteral("C:\\dir") << "\\d" << true;
    QTest::newRow("pattern characters") << QStringLiteral("[a-z]+.?(x)") << "[a-z]+.?(" << true;
    QTest::newRow("search longer than the text") << QStringLiteral("αβγ") << QString(255, QChar(0x03B1)) << false;
    QTest::newRow("255 characters, all of the text")
        << QString(255, QChar(0x03AC)) << QString(255, QChar(0x0391)) << true;
    // Invisible format characters (a pasted right-to-left mark, a joiner, a byte-order mark) count for nothing
    // on either side.
    QTest::newRow("search pasted with a right-to-left mark") << name << QStringLiteral("\u200fΓιώργος") << true;
    QTest::newRow("joiner inside the slot's name") << QStringLiteral("Γιώ\u200dργος") << "γιωργος" << true;
    QTest::newRow("marks on both sides") << QStringLiteral("\ufeffMül\u200bler") << QStringLiteral("mu\u2060ller")
                                         << true;
    QTest::newRow("a search of format characters alone finds nothing") << name << QStringLiteral("\u200f\u200d")
                                                                       << false;
    // The picture packs the texts with the 31 most frequent small Greek letters in the place of control characters
    // (and they in theirs): a control character found, a letter not found for one.
    QTest::newRow("a delete character is found") << QStringLiteral("a\u007fb") << QStringLiteral("\u007f") << true;
    QTest::newRow("ό is no delete character") << QStringLiteral("ό") << QStringLiteral("\u007f") << false;
    QTest::newRow("inner control characters kept as written")
        << QStringLiteral("\u0001ά\u007fό\u03cd\u001f ώ\tς") << QStringLiteral("α\u007fου ω σ") << true;
    QTest::newRow("a character beyond the basic plane")
        << QStringLiteral("\U0001F600 Άννα") << QStringLiteral("\U0001F600 α") << true;
    QTest::newRow("another one beyond the basic plane") << QStringLiteral("\U0001F600") << QStringLiteral("\U0001F601")
                                                        << false;
    QTest::newRow("three-byte characters") << QStringLiteral("\u20ac 50 \uffee") << QStringLiteral("\u20ac") << true;
    QTest::newRow("a letter within a three-byte character")
        << QStringLiteral("\u4e00") << QStringLiteral("\u00b8") << false;
}

void SearchTextTest::matchesAsAGreekReaderExpects() {
    QFETCH(QString, text);
    QFETCH(QString, search);
    QFETCH(bool, found);
    QCOMPARE(searchtext::matches(searchtext::normalised(text), searchtext::searchKey(search)), found);
    // The book's picture finds the slot as the texts compare, and gives its text back as it was written.
    AppointmentIndex index;
    index.assign({{QDate(2020, 1, 1), 3, text}}, QDate(2020, 1, 1));
    QCOMPARE(index.find(search, 10).total, found ? 1 : 0);
    QCOMPARE(index.entry(0).text, text);
}

void SearchTextTest::findsUpcomingFirstThenThePast() {
    const QDate today(2010, 3, 10);
    AppointmentIndex index;
    index.assign(
        {
            {QDate(2010, 3, 9), 5, QStringLiteral("Ελένη yesterday late")},
            {QDate(2010, 3, 12), 0, QStringLiteral("ελένη in two days")},
            {QDate(2009, 1, 1), 0, QStringLiteral("ΕΛΕΝΗ long ago")},
            {QDate(2010, 3, 10), 20, QStringLiteral("Ελένη today evening")},
            {QDate(2010, 3, 9), 1, QStringLiteral("Ελένη yesterday early")},
            {QDate(2010, 3, 10), 2, QStringLiteral("Ελένη today morning")},
            {QDate(2010, 3, 11), 3, QStringLiteral("Νίκος tomorrow")},
        },
        today);
    const AppointmentIndex::Found found = index.find(QStringLiteral("ελενη"), 100);
    QStringList texts;
    for (const int position : found.shown) {
        texts << index.entry(static_cast<std::size_t>(position)).text;
    }
    // Today counts as upcoming; a past day's slots stay in time order.
    QCOMPARE(texts, (QStringList{"Ελένη today morning", "Ελένη today evening", "ελένη in two days",
                                 "Ελένη yesterday early", "Ελένη yesterday late", "ΕΛΕΝΗ long ago"}));
    QCOMPARE(found.total, 6);
}

void SearchTextTest::countsBeyondTheShownRows() {
    std::vector<store::FilledSlot> filled;
    for (int day = 1; day <= 20; ++day) {
        for (int slot = 0; slot < 28; ++slot) {
            filled.push_back(
                {QDate(2020, 1, day), slot, slot % 2 == 0 ? QStringLiteral("ζυγό") : QStringLiteral("μονό")});
        }
    }
    AppointmentIndex index;
    index.assign(std::move(filled), QDate(2020, 1, 1));
    const AppointmentIndex::Found found = index.find(QStringLiteral("ΖΥΓΟ"), 100);
    QCOMPARE(found.total, 280);
    QCOMPARE(static_cast<int>(found.shown.size()), 100);
    QCOMPARE(index.entry(static_cast<std::size_t>(found.shown.back())).date, QDate(2020, 1, 8));
    QCOMPARE(index.find(QStringLiteral("ό"), 1000).total, 560);
    QCOMPARE(index.find(QStringLiteral("χ"), 1000).total, 0);
}

using Slots = std::vector<store::FilledSlot>;
Q_DECLARE_METATYPE(Slots)

void SearchTextTest::aChangedDayIsAsIfReadWhole_data() {
    QTest::addColumn<QDate>("day");
    QTest::addColumn<Slots>("now");
    // The book before: two past days, today, two upcoming days.
    QTest::newRow("an upcoming day gains a slot")
        << QDate(2010, 3, 12)
        << Slots{{QDate(2010, 3, 12), 0, QStringLiteral("ελένη in two days")},
                 {QDate(2010, 3, 12), 9, QStringLiteral("Ελένη, νέο")}};
    QTest::newRow("a past day loses its slots") << QDate(2010, 3, 9) << Slots{};
    QTest::newRow("a past day not in the book gains one")
        << QDate(2009, 6, 1) << Slots{{QDate(2009, 6, 1), 4, QStringLiteral("ΕΛΕΝΗ, ανάμεσα")}};
    QTest::newRow("an upcoming day not in the book, the last")
        << QDate(2030, 1, 1) << Slots{{QDate(2030, 1, 1), 27, QStringLiteral("Ελένη στο τέλος")}};
    QTest::newRow("today's text changes, given out of order")
        << QDate(2010, 3, 10)
        << Slots{{QDate(2010, 3, 10), 20, QStringLiteral("Νίκος απόψε")},
                 {QDate(2010, 3, 10), 2, QStringLiteral("ελενη πρωί")}};
    QTest::newRow("a day before everything") << QDate(2001, 1, 1) << Slots{{QDate(2001, 1, 1), 0, QStringLiteral("ε")}};
}

// A picture changed a day at a time finds what a picture read whole finds, in the same order.
void SearchTextTest::aChangedDayIsAsIfReadWhole() {
    QFETCH(QDate, day);
    QFETCH(Slots, now);
    const QDate today(2010, 3, 10);
    const Slots before{
        {QDate(2010, 3, 9), 5, QStringLiteral("Ελένη yesterday late")},
        {QDate(2010, 3, 9), 1, QStringLiteral("Ελένη yesterday early")},
        {QDate(2009, 1, 1), 0, QStringLiteral("ΕΛΕΝΗ long ago")},
        {QDate(2010, 3, 10), 20, QStringLiteral("Ελένη today evening")},
        {QDate(2010, 3, 10), 2, QStringLiteral("Ελένη today morning")},
        {QDate(2010, 3, 12), 0, QStringLiteral("ελένη in two days")},
        {QDate(2010, 3, 11), 3, QStringLiteral("Νίκος tomorrow")},
    };
    Slots after;
    for (const store::FilledSlot& slot : before)
        if (slot.date != day)
            after.push_back(slot);
    after.insert(after.end(), now.begin(), now.end());

    AppointmentIndex changed;
    changed.assign(before, today);
    changed.replaceDay(day, now);
    AppointmentIndex whole;
    whole.assign(after, today);

    const auto shown = [](const AppointmentIndex& index, const QString& search) {
        QStringList rows;
        const AppointmentIndex::Found found = index.find(search, 100);
        for (const int position : found.shown) {
            const store::FilledSlot slot = index.entry(static_cast<std::size_t>(position));
            rows << QStringLiteral("%1 %2 %3").arg(slot.date.toString(Qt::ISODate)).arg(slot.slot).arg(slot.text);
        }
        return rows;
    };
    QCOMPARE(changed.size(), whole.size());
    for (const QString& search : {QStringLiteral("ελενη"), QStringLiteral("ε"), QStringLiteral("νικος"),
                                  QStringLiteral("y"), QStringLiteral("\n")})
        QCOMPARE(shown(changed, search), shown(whole, search));
    // Changed again, back to what it was: the first picture again.
    Slots old;
    for (const store::FilledSlot& slot : before)
        if (slot.date == day)
            old.push_back(slot);
    changed.replaceDay(day, old);
    AppointmentIndex first;
    first.assign(before, today);
    QCOMPARE(shown(changed, QStringLiteral("ε")), shown(first, QStringLiteral("ε")));
}

QTEST_GUILESS_MAIN(SearchTextTest)
#include "SearchTextTest.moc"
