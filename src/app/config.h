#pragma once

// Reads the database mode from Config.ini.
class TConfig
{
public:
    int ReadDbMode() const;
};

extern TConfig* AppConfig;
