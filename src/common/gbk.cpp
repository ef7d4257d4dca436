#include "gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

QByteArray ToGbk(const QString& text)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

QString FromGbk(const QByteArray& bytes)
{
    QStringDecoder decoder("GB18030");
    return decoder.decode(bytes);
}
