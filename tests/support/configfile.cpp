#include "configfile.h"

#include "app/globals.h"
#include "common/gbk.h"

#include <QFile>

void WriteConfigIni(const QString& text)
{
    QFile file(AppPath + QStringLiteral("Config.ini"));
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(file.fileName()));
    file.write(ToGbk(text));
}

QByteArray ReadConfigIni()
{
    QFile file(AppPath + QStringLiteral("Config.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
