#include "config.h"

#include "inifile.h"

TConfig* AppConfig = nullptr;

int TConfig::ReadDbMode() const
{
    return TIniFile(ConfigFileName()).ReadInteger(QStringLiteral("Config"), QStringLiteral("DB"), 1);
}
