#include "gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

// Opening a converter is far dearer than converting a short text, and sorting
// converts every cell of a column: keep one per thread. GB18030 keeps no state
// between texts.
QByteArray ToGbk(const QString& text)
{
    thread_local QStringEncoder encoder("GB18030", QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

QString FromGbk(const QByteArray& bytes)
{
    thread_local QStringDecoder decoder("GB18030", QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}
