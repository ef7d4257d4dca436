#include "textrow.h"

#include <cstring>

namespace {

const quint32 NullFlag = 0x80000000u;

quint32 readWord(const char* data)
{
    quint32 word;
    std::memcpy(&word, data, sizeof word);
    return word;
}

// The code point that starts at text[index] (U+FFFD for broken UTF-8).
char32_t codePointAt(QByteArrayView text, qsizetype index)
{
    const auto byte = [&text](qsizetype at) { return char32_t(static_cast<uchar>(text[at])); };
    const char32_t lead = byte(index);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (index + length > text.size())
        return U'\uFFFD';
    switch (length) {
    case 1:
        return lead;
    case 2:
        return (lead & 0x1F) << 6 | (byte(index + 1) & 0x3F);
    case 3:
        return (lead & 0x0F) << 12 | (byte(index + 1) & 0x3F) << 6 | (byte(index + 2) & 0x3F);
    default:
        return (lead & 0x07) << 18 | (byte(index + 1) & 0x3F) << 12 | (byte(index + 2) & 0x3F) << 6
            | (byte(index + 3) & 0x3F);
    }
}

bool hasOuterSpace(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    qsizetype last = text.size() - 1;
    while (last > 0 && (static_cast<uchar>(text[last]) & 0xC0) == 0x80)
        --last;
    return QChar::isSpace(codePointAt(text, 0)) || QChar::isSpace(codePointAt(text, last));
}

} // namespace

TTextRow::TTextRow(const QStringList& texts)
{
    TTextRowBuilder builder;
    for (const QString& text : texts)
        builder.append(text);
    *this = builder.take();
}

int TTextRow::size() const
{
    return m_data.isEmpty() ? 0 : int(readWord(m_data.constData()));
}

QByteArrayView TTextRow::bytes(int column) const
{
    const char* header = m_data.constData() + sizeof(quint32);
    const quint32 begin = column == 0 ? 0 : readWord(header + (column - 1) * sizeof(quint32)) & ~NullFlag;
    const quint32 end = readWord(header + column * sizeof(quint32)) & ~NullFlag;
    const char* texts = header + size() * sizeof(quint32);
    return QByteArrayView(texts + begin, end - begin);
}

bool TTextRow::isNull(int column) const
{
    return readWord(m_data.constData() + (column + 1) * sizeof(quint32)) & NullFlag;
}

QString TTextRow::text(int column) const
{
    if (column < 0 || column >= size() || isNull(column))
        return QString();
    return QString::fromUtf8(bytes(column)); // empty, not null
}

QStringList TTextRow::texts() const
{
    QStringList list;
    list.reserve(size());
    for (int column = 0; column < size(); ++column)
        list.append(text(column));
    return list;
}

void TTextRow::setText(int column, const QString& text)
{
    QStringList list = texts();
    list[column] = text;
    *this = TTextRow(list);
}

void TTextRow::resize(int columns)
{
    QStringList list = texts();
    list.resize(columns);
    *this = TTextRow(list);
}

void TTextRow::trimTexts()
{
    for (int column = 0; column < size(); ++column) {
        if (hasOuterSpace(bytes(column))) {
            QStringList list = texts();
            for (QString& text : list)
                text = std::move(text).trimmed();
            *this = TTextRow(list);
            return;
        }
    }
}

void TTextRowBuilder::append(const char* utf8, qsizetype size)
{
    m_bytes.append(utf8, size);
    m_ends.append(quint32(m_bytes.size()));
}

void TTextRowBuilder::append(const QString& text)
{
    if (text.isNull())
        appendNull();
    else {
        const QByteArray utf8 = text.toUtf8();
        append(utf8.constData(), utf8.size());
    }
}

void TTextRowBuilder::appendNull()
{
    m_ends.append(quint32(m_bytes.size()) | NullFlag);
}

TTextRow TTextRowBuilder::take()
{
    const quint32 count = quint32(m_ends.size());
    TTextRow row;
    row.m_data.resize(qsizetype(sizeof(quint32) * (count + 1)) + m_bytes.size());
    char* data = row.m_data.data();
    std::memcpy(data, &count, sizeof count);
    std::memcpy(data + sizeof count, m_ends.constData(), sizeof(quint32) * count);
    std::memcpy(data + sizeof(quint32) * (count + 1), m_bytes.constData(), m_bytes.size());
    m_ends.clear();
    m_bytes.resize(0); // keeps its capacity for the next row
    return row;
}
