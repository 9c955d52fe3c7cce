#include "month/SearchWindow.h"

#include "base/ErrorReport.h"
#include "base/SharedState.h"
#include "base/WindowLook.h"
#include "day/AnswerWaitGate.h"
#include "month/Calendar.h"
#include "month/MonthWindow.h"
#include "month/SearchResultsModel.h"
#include "month/SearchText.h"
#include "store/DayKey.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QFont tahoma(int pixelHeight) {
    return look::tahoma(pixelHeight);
}

QString numberText(int number) {
    // Thousands grouped as a Greek reader writes them: 12.345.
    return QLocale(QLocale::Greek, QLocale::Greece).toString(number);
}

} // namespace

TForm3::TForm3(TForm1& month) : QDialog(&month), m_month(month) {
    m_today = QDate(month.TodayYear, month.TodayMonth, month.TodayDay);
    if (!m_today.isValid()) {
        m_today = QDate::currentDate();
    }
    buildLayout();

    // Zero delay: the search runs when the queue holds no more keystrokes, and each keystroke restarts it.
    m_searchTimer.setSingleShot(true);
    m_searchTimer.setInterval(0);
    connect(&m_searchTimer, &QTimer::timeout, this, [this] { ErrorReport::guard([this] { runSearch(); }); });
    connect(m_searchBox, &QLineEdit::textChanged, this, [this] { m_searchTimer.start(); });

    // The month window's picture of the book, kept for the run: read whole only the first time.
    ErrorReport::guard([this] { m_index = &m_month.searchIndex(); });
    runSearch();
}

TForm3::~TForm3() = default;

void TForm3::buildLayout() {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("Αναζήτηση ραντεβού"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(tahoma(13));
    resize(640, 480);

    auto* caption = new QLabel(QStringLiteral("&Αναζήτηση:"), this);
    caption->setObjectName(QStringLiteral("Label1"));
    caption->setFont(tahoma(16));

    m_searchBox = new QLineEdit(this);
    m_searchBox->setObjectName(QStringLiteral("Edit1"));
    m_searchBox->setFont(tahoma(16));
    m_searchBox->setPlaceholderText(QStringLiteral("μέρος ονόματος, τηλέφωνο ή άλλο κείμενο"));
    // Longer than any slot would be of no use: no slot holds more.
    m_searchBox->setMaxLength(255);
    // Typing only restarts the search's timer, which waits for any server answer being awaited: no key is lost.
    AnswerWaitGate::letTypeInto(m_searchBox);
    m_searchBox->setClearButtonEnabled(true);
    caption->setBuddy(m_searchBox);

    m_model = new SearchResultsModel(this);
    m_results = new QTreeView(this);
    m_results->setObjectName(QStringLiteral("ListView1"));
    m_results->setModel(m_model);
    m_results->setRootIsDecorated(false);
    m_results->setItemsExpandable(false);
    m_results->setUniformRowHeights(true);
    m_results->setAllColumnsShowFocus(true);
    m_results->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_results->setSelectionMode(QAbstractItemView::SingleSelection);
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_results->setTextElideMode(Qt::ElideRight);
    m_results->header()->setStretchLastSection(true);
    m_results->header()->setSectionsMovable(false);
    m_results->setColumnWidth(SearchResultsModel::DateColumn, 95);
    m_results->setColumnWidth(SearchResultsModel::TimeColumn, 115);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("Label2"));
    m_summary->setWordWrap(true);

    m_openButton = new QPushButton(QStringLiteral("Άνοιγμα &ημέρας"), this);
    m_openButton->setObjectName(QStringLiteral("Button1"));
    auto* exitButton = new QPushButton(QStringLiteral("Έ&ξοδος"), this);
    exitButton->setObjectName(QStringLiteral("Button2"));
    // Enter belongs to the results: neither button is a default one that Enter would press instead.
    for (QPushButton* button : {m_openButton, exitButton}) {
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setFocusPolicy(Qt::ClickFocus);
    }

    auto* top = new QHBoxLayout;
    top->addWidget(caption);
    top->addWidget(m_searchBox, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_openButton);
    bottom->addStretch(1);
    bottom->addWidget(exitButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_results, 1);
    layout->addWidget(m_summary);
    layout->addLayout(bottom);

    setTabOrder(m_searchBox, m_results);
    m_searchBox->setFocus();
    m_searchBox->installEventFilter(this);
    m_results->installEventFilter(this);

    connect(m_results, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& clicked) {
        makeCurrent(clicked.row());
        openCurrentResult();
    });
    connect(m_openButton, &QPushButton::clicked, this, &TForm3::openCurrentResult);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm3::runSearch() {
    m_searchTimer.stop();
    showFound(index().find(m_searchBox->text(), ShownLimit));
    makeCurrent(0);
}

void TForm3::showFound(const AppointmentIndex::Found& found) {
    std::vector<SearchResultsModel::Row> rows;
    rows.reserve(found.shown.size());
    for (const int position : found.shown) {
        store::FilledSlot slot = index().entry(static_cast<std::size_t>(position));
        rows.push_back({slot.date, slot.slot, std::move(slot.text), slot.date < m_today});
    }
    m_model->setRows(std::move(rows));
    m_openButton->setEnabled(found.total > 0);

    const int shown = static_cast<int>(found.shown.size());
    if (searchtext::searchKey(m_searchBox->text()).isEmpty()) {
        m_summary->setText(QStringLiteral("Γράψτε μέρος ενός ονόματος, ένα τηλέφωνο ή άλλο κείμενο (%1 ραντεβού "
                                          "στο βιβλίο). Enter ανοίγει την ημέρα, Esc κλείνει.")
                               .arg(numberText(static_cast<int>(index().size()))));
    } else if (found.total == 0) {
        m_summary->setText(QStringLiteral("Κανένα ραντεβού δεν περιέχει «%1».").arg(m_searchBox->text().trimmed()));
    } else if (found.total == shown) {
        m_summary->setText(found.total == 1 ? QStringLiteral("1 ραντεβού.")
                                            : QStringLiteral("%1 ραντεβού.").arg(numberText(found.total)));
    } else {
        m_summary->setText(QStringLiteral("Τα πρώτα %1 από %2 ραντεβού· άλλα %3 δεν εμφανίζονται. Γράψτε "
                                          "περισσότερα για να τα περιορίσετε.")
                               .arg(numberText(shown), numberText(found.total), numberText(found.total - shown)));
    }
}

void TForm3::makeCurrent(int row) {
    if (row < 0 || row >= m_model->rowCount()) {
        m_results->setCurrentIndex({});
        return;
    }
    const QModelIndex index = m_model->index(row, 0);
    m_results->setCurrentIndex(index);
    m_results->scrollTo(index);
}

void TForm3::openCurrentResult() {
    const QModelIndex current = m_results->currentIndex();
    if (!current.isValid()) {
        return;
    }
    const SearchResultsModel::Row found = m_model->row(current.row());
    ErrorReport::guard([this, &found] {
        const int year = found.date.year();
        // The month window's choosers offer these years only; a record outside them cannot be shown there.
        if (year < calendar::FirstYear || year > calendar::LastYear) {
            ErrorReport::show(
                tr("The day %1 lies outside the calendar's years %2 to %3 and cannot be opened.")
                    .arg(store::dateText(static_cast<float>(found.date.day()), static_cast<float>(found.date.month()),
                                         static_cast<float>(year)))
                    .arg(calendar::FirstYear)
                    .arg(calendar::LastYear));
            return;
        }
        m_month.OpenDayOf(found.date);
    });
    reloadBook(found.date, found.slot);
}

void TForm3::reloadBook(QDate keepDate, int keepSlot) {
    // The month window read the closed day into its picture; a book that changed otherwise is read again here.
    ErrorReport::guard([this] { m_index = &m_month.searchIndex(); });
    const int currentRow = m_results->currentIndex().row();
    showFound(index().find(m_searchBox->text(), ShownLimit));
    // The same slot when it still matches, else the row at the same place.
    const int kept = keepDate.isValid() ? m_model->rowOf(keepDate, keepSlot) : -1;
    makeCurrent(kept >= 0 ? kept : std::min(std::max(currentRow, 0), m_model->rowCount() - 1));
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && plain) {
        // A search still waiting for its turn runs first, so Enter opens a row of what is in the box.
        if (m_searchTimer.isActive()) {
            runSearch();
        }
        openCurrentResult();
        return true;
    }
    if (watched == m_searchBox && plain && (key->key() == Qt::Key_Down || key->key() == Qt::Key_PageDown) &&
        m_model->rowCount() > 0) {
        // Down leaves the box for the results; the current row is the first one, or the one left before.
        if (m_searchTimer.isActive()) {
            runSearch();
        }
        m_results->setFocus();
        if (!m_results->currentIndex().isValid()) {
            makeCurrent(0);
        }
        return true;
    }
    if (watched == m_results) {
        if (plain && key->key() == Qt::Key_Up && m_results->currentIndex().row() <= 0) {
            m_searchBox->setFocus();
            return true;
        }
        // Typing in the results goes on in the search box, as if it had never left it.
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            m_searchBox->setFocus();
            m_searchBox->insert(text);
            return true;
        }
        if (key->key() == Qt::Key_Backspace) {
            m_searchBox->setFocus();
            m_searchBox->backspace();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm3::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the screen like every window of the program.
    look::centreOnScreen(this);
}
