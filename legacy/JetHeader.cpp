#include "legacy/JetHeader.h"

#include "platform/Files.h"

#include <array>
#include <cstring>

namespace legacy {

namespace {

constexpr int MaskStart = 0x18;
constexpr int MaskLength = 0x80;
constexpr int VersionOffset = 0x14;
constexpr int PageKeyOffset = 0x3e;
constexpr int PasswordOffset = 0x42;
constexpr int Jet4PasswordLength = 40;
constexpr int Jet3PasswordLength = 20;
constexpr int CreationDateOffset = 0x72;
constexpr char Signature[] = "Standard Jet DB";

// The keystream of the fixed header key, made once.
const std::array<quint8, MaskLength>& maskStream() {
    static const std::array<quint8, MaskLength> stream = [] {
        const std::array<quint8, 4> key{0xc7, 0xda, 0x39, 0x6b};
        std::array<quint8, 256> state{};
        for (int i = 0; i < 256; ++i)
            state[static_cast<std::size_t>(i)] = static_cast<quint8>(i);
        for (int i = 0, j = 0; i < 256; ++i) {
            j = (j + state[static_cast<std::size_t>(i)] + key[static_cast<std::size_t>(i % 4)]) & 0xff;
            std::swap(state[static_cast<std::size_t>(i)], state[static_cast<std::size_t>(j)]);
        }
        std::array<quint8, MaskLength> bytes{};
        for (int n = 0, i = 0, j = 0; n < MaskLength; ++n) {
            i = (i + 1) & 0xff;
            j = (j + state[static_cast<std::size_t>(i)]) & 0xff;
            std::swap(state[static_cast<std::size_t>(i)], state[static_cast<std::size_t>(j)]);
            bytes[static_cast<std::size_t>(n)] = state[static_cast<std::size_t>(
                (state[static_cast<std::size_t>(i)] + state[static_cast<std::size_t>(j)]) & 0xff)];
        }
        return bytes;
    }();
    return stream;
}

quint32 uint32At(const QByteArray& bytes, int offset) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<quint8>(bytes[offset + i]);
    return value;
}

double doubleAt(const QByteArray& bytes, int offset) {
    quint64 raw = 0;
    for (int i = 7; i >= 0; --i)
        raw = (raw << 8) | static_cast<quint8>(bytes[offset + i]);
    double value = 0;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

QString withoutPadding(QString text) {
    const qsizetype end = text.indexOf(QChar(u'\0'));
    return end >= 0 ? text.left(end) : text;
}

// Text in the Windows code page of Western Europe: Latin-1 but for the printable characters at 0x80-0x9f.
QString fromWindows1252(const QByteArray& bytes) {
    static constexpr char16_t High[32] = {
        0x20ac, 0xfffd, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xfffd, 0x017d, 0xfffd, 0xfffd, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
        0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0xfffd, 0x017e, 0x0178,
    };
    QString text;
    for (char byte : bytes) {
        const auto code = static_cast<quint8>(byte);
        text += QChar(code >= 0x80 && code < 0xa0 ? High[code - 0x80] : char16_t(code));
    }
    return text;
}

} // namespace

void JetHeader::applyMask(QByteArray& header) {
    const auto& stream = maskStream();
    const int end = std::min<int>(static_cast<int>(header.size()), MaskStart + MaskLength);
    for (int i = MaskStart; i < end; ++i)
        header[i] = static_cast<char>(static_cast<quint8>(header[i]) ^ stream[static_cast<std::size_t>(i - MaskStart)]);
}

JetHeader JetHeader::parse(const QByteArray& firstBytes) {
    JetHeader header;
    if (firstBytes.size() < Size || firstBytes.mid(4, sizeof Signature - 1) != QByteArray(Signature))
        return header;
    const quint8 version = static_cast<quint8>(firstBytes[VersionOffset]);
    if (version > 1) {
        header.format = Format::Newer;
        return header;
    }
    QByteArray bytes = firstBytes.left(Size);
    applyMask(bytes);
    header.pageKey = uint32At(bytes, PageKeyOffset);
    if (version == 0) {
        header.format = Format::Jet3;
        header.pageSize = 2048;
        // Jet 3 keeps the password in the Windows code page of Western Europe, without the date mask.
        header.password = withoutPadding(fromWindows1252(bytes.mid(PasswordOffset, Jet3PasswordLength)));
        return header;
    }
    header.format = Format::Jet4;
    header.pageSize = 4096;
    // Jet 4 masks the password once more with the whole days of the creation date.
    const double created = doubleAt(bytes, CreationDateOffset);
    const quint32 days =
        (created > -2147483648.0 && created < 2147483648.0) ? static_cast<quint32>(static_cast<qint32>(created)) : 0;
    QByteArray password = bytes.mid(PasswordOffset, Jet4PasswordLength);
    for (int i = 0; i < password.size(); ++i)
        password[i] = static_cast<char>(static_cast<quint8>(password[i]) ^ ((days >> (8 * (i % 4))) & 0xff));
    QString text;
    for (int i = 0; i + 1 < password.size(); i += 2)
        text += QChar(
            static_cast<char16_t>(static_cast<quint8>(password[i]) | (static_cast<quint8>(password[i + 1]) << 8)));
    header.password = withoutPadding(text);
    return header;
}

JetHeader JetHeader::read(const QString& path) {
    const platform::ReadFile head = platform::readOrdinaryFile(path, LargestFile, Size);
    return head.isRead() ? parse(head.bytes) : JetHeader();
}

bool passwordAccepted(const QString& password, const QString& expected) {
    return password.isEmpty() || password == expected;
}

} // namespace legacy
