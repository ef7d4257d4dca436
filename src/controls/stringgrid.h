#pragma once

#include <QStringList>
#include <QTableView>
#include <QVector>

class TKespStringGridModel;
class TTextRow;

// A grid of text cells, addressed as (column, row) like a string grid: row 0 is
// the header row, shown as the view's column headings; column 0 is an ordinary
// column. Cells are read-only for the operator and the whole row is selected.
//
// A left press on a heading sorts the data rows by that column: the heading
// then begins with "▲" (ascending) or "▼" (descending), and only one heading
// carries a mark. The mark is part of the header text.
class TKespStringGrid : public QTableView
{
    Q_OBJECT
public:
    static const QChar AscendingMark;
    static const QChar DescendingMark;

    explicit TKespStringGrid(QWidget* parent = nullptr);

    // Cells outside the grid read as empty text; writes to them are ignored.
    QString Cells(int col, int row) const;
    void SetCell(int col, int row, const QString& text);
    QStringList RowTexts(int row) const;

    // The header row always stays, so the row count is at least 1.
    int RowCount() const;
    void SetRowCount(int count);
    int ColCount() const;
    void SetColCount(int count);

    // A width of 0 hides the column (the customer list hides its key this way).
    int ColWidths(int col) const;
    void SetColWidth(int col, int width);

    // The selected data row in grid coordinates; 1 when nothing is selected.
    int Row() const;
    void SetRow(int row);

    // Replaces every cell at once, header included: rows[0] is the header and
    // gives the column count. Column widths stay as they were.
    void SetAllRows(const QVector<QStringList>& rows);
    void SetAllRows(QVector<TTextRow> rows);

    void ClearRows();
    // Removes a data row; the header row stays.
    void DeleteRow(int row);
    void ExchangeRows(int a, int b);
    void SortByColumn(int col, bool descending);
    void ClearSortMarks(int col);
    void AutoSizeColumns();

private:
    void headerPressed(int col);
    // Whole-model changes lose the view's current row; this puts it back, clamped.
    void restoreRow(int row);

    TKespStringGridModel* m_model;
};

// Fills the grid with the result of a select: the column names as the header,
// one row per record with its texts trimmed. A failed query leaves the grid as it was.
void FillGrid(const QString& statement, TKespStringGrid* grid);
