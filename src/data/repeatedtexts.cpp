#include "repeatedtexts.h"

#include <QHash>

#include <cstring>

namespace {

const int SlotCount = 256;     // a power of two
const int TrialLookups = 512;  // rows after which a column must have repeated itself

} // namespace

TRepeatedTexts::TRepeatedTexts(int columns)
    : m_columns(columns)
{
    for (Column& column : m_columns)
        column.entries.resize(SlotCount);
}

QString TRepeatedTexts::text(int column, const char* utf8, int size)
{
    if (size == 0)
        return QStringLiteral(""); // empty, not NULL
    Column& cache = m_columns[column];
    if (!cache.active)
        return QString::fromUtf8(utf8, size);

    Slot& slot = cache.entries[qHash(QByteArrayView(utf8, size)) & (SlotCount - 1)];
    ++cache.lookups;
    if (slot.utf8.size() == size && std::memcmp(slot.utf8.constData(), utf8, size) == 0) {
        ++cache.hits;
        return slot.text;
    }
    slot.utf8 = QByteArray(utf8, size);
    slot.text = QString::fromUtf8(utf8, size);
    if (cache.lookups == TrialLookups && cache.hits * 2 < cache.lookups) {
        cache.active = false;
        QString text = std::move(slot.text);
        cache.entries = std::vector<Slot>();
        return text;
    }
    return slot.text;
}
