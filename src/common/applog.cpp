#include "applog.h"

#include "app/globals.h"
#include "clock.h"
#include "gbk.h"

#include <QDir>
#include <QFile>

QString AppLogFileName(const QDate& day)
{
    return ConfigPath + QStringLiteral("AppErrorLog/Log") + day.toString(QStringLiteral("yyyyMMdd"))
        + QStringLiteral(".log");
}

void WriteAppLog(const QString& text)
{
    const QDateTime now = Clock::now();
    const QString fileName = AppLogFileName(now.date());
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QString entry = now.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) + QStringLiteral("：") + text
        + QStringLiteral("\r\n");
    file.write(ToGbk(entry));
}
