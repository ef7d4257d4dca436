#pragma once

#include <QString>
#include <QStringList>

// An INI profile file as the program reads and writes Config.ini: section and
// key names without regard to case, values trimmed after the first "=", GBK
// text, values replaced in place with every other line kept, and the whole
// file rewritten atomically so a crash never leaves half a file.
class TIniFile
{
public:
    explicit TIniFile(const QString& fileName);

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;

    // Writes change the lines in memory; UpdateFile stores them.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

    // Raises Exception with the platform's message when the file cannot be written.
    void UpdateFile() const;

    QString fileName() const { return m_fileName; }

private:
    // Index of the section's header line, or -1.
    int findSection(const QString& section) const;
    // Index of the key's line within the section starting at sectionLine, or -1.
    int findKey(int sectionLine, const QString& key) const;
    bool readRaw(const QString& section, const QString& key, QString* value) const;

    QString m_fileName;
    QStringList m_lines;
};

// Config.ini in the application directory; an existing file of that name in
// another letter case (config.ini) is the same file.
QString ConfigFileName();
