#include "tests/legacy/LegacyTestSupport.h"

#include "legacy/JetHeader.h"
#include "legacy/SlotMerge.h"
#include "store/engine/TableLayout.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <zlib.h>

#include <cstring>
#include <stdexcept>

namespace legacytest {

QString fixture(const QString& name) {
    return QDir(QStringLiteral(ORVELLA_LEGACY_FIXTURES)).filePath(name);
}

namespace {

QByteArray fixtureBytes(const QString& name) {
    const QString path = fixture(name);
    if (name.endsWith(QLatin1String(".gz"))) {
        // zlib in this process rather than the gunzip program, which a Windows test under Wine cannot wait for.
        gzFile packed = gzopen(QFile::encodeName(path).constData(), "rb");
        if (!packed)
            throw std::runtime_error("missing test book " + path.toStdString());
        QByteArray bytes;
        char buffer[1 << 16];
        int got = 0;
        while ((got = gzread(packed, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, got);
        const bool whole = got == 0;
        gzclose(packed);
        if (!whole)
            throw std::runtime_error("could not unpack " + path.toStdString());
        return bytes;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("missing test book " + path.toStdString());
    return file.readAll();
}

} // namespace

QString copyOfFixture(const QTemporaryDir& dir, const QString& name, const QString& as) {
    QString target = as.isEmpty() ? name : as;
    if (as.isEmpty() && target.endsWith(QLatin1String(".gz")))
        target.chop(3);
    const QString path = QDir(dir.path()).filePath(target);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + path.toStdString());
    file.write(fixtureBytes(name));
    return path;
}

QString patchedCopy(const QTemporaryDir& dir, const QString& name, const BytePatches& patches, const QString& as) {
    QByteArray bytes = fixtureBytes(name);
    for (const BytePatch& patch : patches) {
        if (patch.offset < 0 || patch.offset + patch.bytes.size() > bytes.size())
            throw std::runtime_error("a patch beyond the end of " + name.toStdString());
        bytes.replace(patch.offset, patch.bytes.size(), patch.bytes);
    }
    const QString path = QDir(dir.path()).filePath(as.isEmpty() ? name : as);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
    return path;
}

ExpectedBook expectedBook(const QString& fixtureName) {
    QString name = fixtureName;
    const bool packed = name.endsWith(QLatin1String(".gz"));
    if (packed)
        name.chop(3);
    name.replace(QLatin1String(".mdb"), QLatin1String(".expected.json"));
    const QJsonObject root =
        QJsonDocument::fromJson(fixtureBytes(packed ? name + QStringLiteral(".gz") : name)).object();
    ExpectedBook book;
    book.password = root.value(QStringLiteral("password")).toString();
    for (const QJsonValue& value : root.value(QStringLiteral("days")).toArray()) {
        const QJsonObject object = value.toObject();
        store::DayRow day;
        day.date = object.value(QStringLiteral("date")).toString();
        const QJsonObject slotValues = object.value(QStringLiteral("slots")).toObject();
        for (int slot = 0; slot < store::SlotCount; ++slot) {
            const QJsonValue text = slotValues.value(store::slotColumnNames()[slot]);
            if (!text.isNull())
                day.slotTexts[static_cast<std::size_t>(slot)] = text.toString();
            if (!legacy::isFreeSlot(day.slotTexts[static_cast<std::size_t>(slot)]))
                ++book.filledSlots;
        }
        book.days << day;
    }
    return book;
}

void writeJetPassword(const QString& path, const QString& password) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        throw std::runtime_error("cannot open " + path.toStdString());
    QByteArray header = file.read(legacy::JetHeader::Size);
    legacy::JetHeader::applyMask(header);
    double created = 0;
    std::memcpy(&created, header.constData() + 0x72, sizeof created);
    const auto days = static_cast<quint32>(static_cast<qint32>(created));
    QByteArray field(40, '\0');
    for (qsizetype i = 0; i < password.size() && 2 * i + 1 < field.size(); ++i) {
        field[2 * i] = static_cast<char>(password[i].unicode() & 0xff);
        field[2 * i + 1] = static_cast<char>(password[i].unicode() >> 8);
    }
    for (int i = 0; i < field.size(); ++i)
        header[0x42 + i] = static_cast<char>(static_cast<quint8>(field[i]) ^ ((days >> (8 * (i % 4))) & 0xff));
    legacy::JetHeader::applyMask(header);
    file.seek(0);
    file.write(header);
}

bool replaceOnce(const QString& path, const QByteArray& from, const QByteArray& to) {
    QFile file(path);
    if (from.size() != to.size() || !file.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = file.readAll();
    const qsizetype at = bytes.indexOf(from);
    if (at < 0 || bytes.indexOf(from, at + 1) >= 0)
        return false;
    bytes.replace(at, to.size(), to);
    file.seek(0);
    return file.write(bytes) == bytes.size();
}

QByteArray jetDateBytes(double value) {
    QByteArray bytes(sizeof value, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

QByteArray utf16Bytes(const QString& text) {
    QByteArray bytes;
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xff));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

void zeroDataPages(const QString& path) {
    constexpr int PageSize = 4096;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        throw std::runtime_error("cannot open " + path.toStdString());
    QByteArray bytes = file.readAll();
    // A data page starts with 01 01 and names its table's definition page at byte 4; the table with the
    // most data pages is the appointment table, and only its pages are cleared.
    auto ownerOf = [&](qsizetype at) {
        quint32 owner = 0;
        std::memcpy(&owner, bytes.constData() + at + 4, sizeof owner);
        return owner;
    };
    QHash<quint32, int> pagesOf;
    for (qsizetype at = PageSize; at + PageSize <= bytes.size(); at += PageSize) {
        if (bytes[at] == 0x01 && bytes[at + 1] == 0x01)
            ++pagesOf[ownerOf(at)];
    }
    quint32 table = 0;
    for (auto it = pagesOf.cbegin(); it != pagesOf.cend(); ++it) {
        if (it.value() > pagesOf.value(table))
            table = it.key();
    }
    int cleared = 0;
    for (qsizetype at = PageSize; at + PageSize <= bytes.size(); at += PageSize) {
        if (bytes[at] == 0x01 && bytes[at + 1] == 0x01 && ownerOf(at) == table) {
            std::memset(bytes.data() + at, 0, PageSize);
            ++cleared;
        }
    }
    if (cleared == 0)
        throw std::runtime_error("no data page found in " + path.toStdString());
    file.seek(0);
    file.write(bytes);
}

} // namespace legacytest
