#include "globals.h"

#include <QDir>

QString AppPath;
QString ConfigPath;
int DbMode = 1;

void SetAppPath(const QString& directory)
{
    AppPath = QDir(directory).absolutePath() + QLatin1Char('/');
    ConfigPath = AppPath + QStringLiteral("Config/");
}
