#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>

// One row of texts kept as UTF-8 in a single allocation. A list of 100,000
// customers then costs one allocation per row instead of one per cell, and a
// text becomes a QString only when it is read: the grid reads the rows on
// screen. A cell may be NULL, which reads as a null QString.
class TTextRow
{
public:
    TTextRow() = default;
    explicit TTextRow(const QStringList& texts);

    int size() const;
    QString text(int column) const;
    QStringList texts() const;

    void setText(int column, const QString& text);
    // New cells are NULL.
    void resize(int columns);
    // Removes white space around every text, as QString::trimmed does.
    void trimTexts();

private:
    friend class TTextRowBuilder;
    QByteArrayView bytes(int column) const;
    bool isNull(int column) const;

    // The cell count, the end offset of each cell (the top bit marks NULL),
    // then the texts one after another.
    QByteArray m_data;
};

// Builds rows cell by cell, reusing its buffers from row to row.
class TTextRowBuilder
{
public:
    void append(const char* utf8, qsizetype size);
    void append(const QString& text); // a null QString is NULL
    void appendNull();
    TTextRow take();

private:
    QVarLengthArray<quint32, 32> m_ends;
    QByteArray m_bytes;
};
