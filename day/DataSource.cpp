#include "day/DataSource.h"

#include "base/ErrorReport.h"
#include "store/Query.h"

#include <QLineEdit>

#include <algorithm>

namespace {
// QLineEdit's own default: no limit worth the name.
constexpr int UnlimitedLength = 32767;
} // namespace

DataSource::DataSource(QObject* parent) : QObject(parent) {}

DataSource::~DataSource() = default;

void DataSource::setQuery(store::Query* query) {
    if (m_query == query) {
        return;
    }
    if (m_query) {
        disconnect(m_query, nullptr, this, nullptr);
    }
    m_query = query;
    m_wasOpen = false;
    if (m_query) {
        connect(m_query, &store::Query::stateChanged, this, &DataSource::queryStateChanged);
        connect(m_query, &store::Query::valuesChanged, this, [this] {
            if (!m_writing) {
                showRecord();
            }
        });
    }
    queryStateChanged();
}

void DataSource::bind(QLineEdit* edit, const QString& column) {
    const std::size_t index = m_bindings.size();
    auto* limit = new SlotTextLimit(UnlimitedLength, edit);
    edit->setValidator(limit);
    m_bindings.push_back(Binding{edit, column, limit});
    // textEdited comes from the user only (typing, paste, delete, undo), never from setText, so showing a
    // record never reads back as an edit.
    connect(edit, &QLineEdit::textEdited, this,
            [this, index](const QString& text) { userEdited(m_bindings[index], text); });
    showField(m_bindings.back());
}

bool DataSource::isEditing() const {
    return m_query && m_query->state() == store::Query::State::Edit;
}

void DataSource::post() {
    if (m_query) {
        m_query->post();
    }
}

void DataSource::queryStateChanged() {
    const bool open = m_query && m_query->isOpen();
    if (open && !m_wasOpen) {
        // A freshly opened result may come from another file whose columns are declared narrower.
        for (const Binding& binding : m_bindings) {
            if (binding.edit && m_query->fieldIndex(binding.column) >= 0) {
                const int size = m_query->fieldSize(binding.column);
                const int limit = size > 0 ? size : UnlimitedLength;
                // The store counts characters; the box's own maximum counts UTF-16 units, two for a character
                // outside the basic plane. It only keeps a huge paste from being copied in whole; the limit
                // in characters is the validator's.
                binding.edit->setMaxLength(std::min(2 * limit, UnlimitedLength));
                if (binding.limit) {
                    binding.limit->setLimit(limit);
                }
            }
        }
    }
    m_wasOpen = open;
    // While a box's text is being handed over, the buffer may announce editing before it holds the
    // new text; refreshing then would put the old text back under the user's cursor.
    if (!m_writing) {
        showRecord();
    }
    emit stateChanged();
}

void DataSource::showRecord() {
    for (const Binding& binding : m_bindings) {
        showField(binding);
    }
}

void DataSource::showField(const Binding& binding) {
    QLineEdit* edit = binding.edit;
    if (!edit) {
        return;
    }
    const bool hasRecord =
        m_query && m_query->isOpen() && !m_query->isEmpty() && m_query->fieldIndex(binding.column) >= 0;
    const QString text = hasRecord ? m_query->value(binding.column).toString() : QString();
    edit->setReadOnly(!hasRecord);
    // Leaving an unchanged box alone keeps the cursor and selection of the box the user is typing in.
    if (edit->text() != text) {
        edit->setText(text);
    }
}

void DataSource::userEdited(const Binding& binding, const QString& text) {
    if (!m_query || !m_query->isOpen() || m_query->isEmpty()) {
        return;
    }
    m_writing = true;
    // An emptied box makes the slot free again, without a value, as it was before anything was typed.
    const bool accepted =
        ErrorReport::guard([&] { m_query->setValue(binding.column, text.isEmpty() ? QVariant() : QVariant(text)); });
    m_writing = false;
    if (!accepted) {
        // The buffer refused the text: show what it really holds rather than a text that would not be saved.
        showField(binding);
    }
}
