#include "inifile.h"

#include "common/exceptions.h"
#include "common/gbk.h"
#include "globals.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

QString sectionName(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']')))
        return trimmed.mid(1, trimmed.size() - 2).trimmed();
    return QString();
}

bool isSectionLine(const QString& line)
{
    const QString trimmed = line.trimmed();
    return trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'));
}

} // namespace

TIniFile::TIniFile(const QString& fileName)
    : m_fileName(fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QString text = FromGbk(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_lines = text.split(QLatin1Char('\n'));
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
}

int TIniFile::findSection(const QString& section) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        if (isSectionLine(m_lines[i]) && sectionName(m_lines[i]).compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int TIniFile::findKey(int sectionLine, const QString& key) const
{
    for (int i = sectionLine + 1; i < m_lines.size() && !isSectionLine(m_lines[i]); ++i) {
        const int equals = m_lines[i].indexOf(QLatin1Char('='));
        if (equals > 0 && m_lines[i].left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool TIniFile::readRaw(const QString& section, const QString& key, QString* value) const
{
    const int sectionLine = findSection(section);
    if (sectionLine < 0)
        return false;
    const int keyLine = findKey(sectionLine, key);
    if (keyLine < 0)
        return false;
    const QString& line = m_lines[keyLine];
    *value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    return true;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    QString value;
    return readRaw(section, key, &value) ? value : defaultValue;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    QString value;
    if (!readRaw(section, key, &value))
        return defaultValue;
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? number : defaultValue;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    const QString line = key + QLatin1Char('=') + value;
    int sectionLine = findSection(section);
    if (sectionLine < 0) {
        m_lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        m_lines.append(line);
        return;
    }
    const int keyLine = findKey(sectionLine, key);
    if (keyLine >= 0) {
        m_lines[keyLine] = m_lines[keyLine].left(m_lines[keyLine].indexOf(QLatin1Char('='))) + QLatin1Char('=') + value;
        return;
    }
    // A new key goes after the section's last non-blank line.
    int insertAt = sectionLine + 1;
    for (int i = sectionLine + 1; i < m_lines.size() && !isSectionLine(m_lines[i]); ++i) {
        if (!m_lines[i].trimmed().isEmpty())
            insertAt = i + 1;
    }
    m_lines.insert(insertAt, line);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::UpdateFile() const
{
    QSaveFile file(m_fileName);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(ToGbk(m_lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
        if (file.commit())
            return;
    }
    throw Exception(file.errorString());
}

QString ConfigFileName()
{
    // Name filters match without regard to case unless told otherwise.
    const QDir directory(AppPath);
    const QStringList matches = directory.entryList({QStringLiteral("Config.ini")}, QDir::Files);
    return directory.filePath(matches.isEmpty() ? QStringLiteral("Config.ini") : matches.first());
}
