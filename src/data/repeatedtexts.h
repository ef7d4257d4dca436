#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// Turns the UTF-8 texts of a result's cells into QStrings, sharing one QString
// among the equal texts of a column (categories, levels, the operator's name),
// so a long list makes far fewer allocations. A column whose texts seldom
// repeat is no longer looked up after its first rows.
class TRepeatedTexts
{
public:
    explicit TRepeatedTexts(int columns);

    QString text(int column, const char* utf8, int size);

private:
    struct Slot
    {
        QByteArray utf8;
        QString text;
    };
    struct Column
    {
        std::vector<Slot> entries;
        int lookups = 0;
        int hits = 0;
        bool active = true;
    };

    std::vector<Column> m_columns;
};
