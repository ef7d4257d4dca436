#include "stringgrid.h"

#include "common/gbk.h"
#include "data/dbaccess.h"
#include "data/textrow.h"

#include <QAbstractTableModel>
#include <QHeaderView>

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

// Measuring a few screens of rows is enough to size the columns and keeps
// filling a long list fast.
const int MeasuredRows = 31;
const int CellPadding = 24;

QStringList blankRow(int columns)
{
    QStringList row;
    row.resize(columns);
    return row;
}

} // namespace

// The texts of the grid, one compact row each, header first. View rows are
// grid rows shifted by one, because the header row is shown as the view's header.
class TKespStringGridModel : public QAbstractTableModel
{
public:
    explicit TKespStringGridModel(QObject* parent)
        : QAbstractTableModel(parent)
        , m_rows(2, TTextRow(blankRow(1)))
    {
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_rows.size() - 1;
    }

    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_columnCount;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || role != Qt::DisplayRole)
            return QVariant();
        return m_rows.at(index.row() + 1).text(index.column());
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_columnCount)
            return m_rows.first().text(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
    }

    int gridRows() const { return m_rows.size(); }
    int gridColumns() const { return m_columnCount; }
    bool contains(int col, int row) const { return row >= 0 && row < gridRows() && col >= 0 && col < m_columnCount; }
    QStringList rowTexts(int row) const { return m_rows.at(row).texts(); }
    QString cell(int col, int row) const { return m_rows.at(row).text(col); }

    void setCell(int col, int row, const QString& text)
    {
        m_rows[row].setText(col, text);
        notifyCells(row, col, col);
    }

    void setGridRows(int count)
    {
        count = qMax(1, count);
        const int current = gridRows();
        if (count > current) {
            beginInsertRows(QModelIndex(), current - 1, count - 2);
            m_rows.reserve(count);
            const TTextRow blank(blankRow(m_columnCount));
            while (m_rows.size() < count)
                m_rows.append(blank);
            endInsertRows();
        } else if (count < current) {
            beginRemoveRows(QModelIndex(), count - 1, current - 2);
            m_rows.resize(count);
            endRemoveRows();
        }
    }

    void setGridColumns(int count)
    {
        count = qMax(1, count);
        if (count == m_columnCount)
            return;
        const bool inserting = count > m_columnCount;
        if (inserting)
            beginInsertColumns(QModelIndex(), m_columnCount, count - 1);
        else
            beginRemoveColumns(QModelIndex(), count, m_columnCount - 1);
        for (TTextRow& row : m_rows)
            row.resize(count);
        m_columnCount = count;
        if (inserting)
            endInsertColumns();
        else
            endRemoveColumns();
    }

    void replaceAll(QVector<TTextRow> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        if (m_rows.isEmpty())
            m_rows.append(TTextRow());
        m_columnCount = qMax(1, m_rows.first().size());
        for (TTextRow& row : m_rows) {
            if (row.size() != m_columnCount)
                row.resize(m_columnCount);
        }
        endResetModel();
    }

    // The rows below move up; when only the header would be left, one empty data row stays.
    void deleteDataRow(int row)
    {
        if (gridRows() == 2) {
            m_rows[1] = TTextRow(blankRow(m_columnCount));
            notifyCells(1, 0, m_columnCount - 1);
        } else {
            beginRemoveRows(QModelIndex(), row - 1, row - 1);
            m_rows.removeAt(row);
            endRemoveRows();
        }
    }

    void exchangeRows(int a, int b)
    {
        m_rows.swapItemsAt(a, b);
        notifyCells(a, 0, m_columnCount - 1);
        notifyCells(b, 0, m_columnCount - 1);
    }

    // A stable sort on precomputed byte keys: equal texts keep their order, and
    // the selection follows its row to the new place.
    void sortDataRows(int col, bool descending)
    {
        const int count = gridRows() - 1;
        if (count < 2)
            return;
        QVector<QByteArray> keys;
        keys.reserve(count);
        for (int row = 1; row <= count; ++row)
            keys.append(ToGbk(m_rows.at(row).text(col)));
        std::vector<int> order(count);
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&keys, descending](int a, int b) {
            return descending ? keys.at(b) < keys.at(a) : keys.at(a) < keys.at(b);
        });

        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        QVector<TTextRow> sorted;
        sorted.reserve(gridRows());
        sorted.append(std::move(m_rows.first()));
        std::vector<int> newPlace(count);
        for (int place = 0; place < count; ++place) {
            sorted.append(std::move(m_rows[order[place] + 1]));
            newPlace[order[place]] = place;
        }
        m_rows = std::move(sorted);
        const QModelIndexList from = persistentIndexList();
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& old : from)
            to.append(index(newPlace[old.row()], old.column()));
        changePersistentIndexList(from, to);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

private:
    void notifyCells(int row, int firstCol, int lastCol)
    {
        if (row == 0)
            emit headerDataChanged(Qt::Horizontal, firstCol, lastCol);
        else
            emit dataChanged(index(row - 1, firstCol), index(row - 1, lastCol), {Qt::DisplayRole});
    }

    QVector<TTextRow> m_rows;
    int m_columnCount = 1;
};

const QChar TKespStringGrid::AscendingMark(0x25B2);
const QChar TKespStringGrid::DescendingMark(0x25BC);

TKespStringGrid::TKespStringGrid(QWidget* parent)
    : QTableView(parent)
    , m_model(new TKespStringGridModel(this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    // Every row has the same height, which keeps a view of many rows fast.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* header = horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    // The style's minimum would widen narrow columns beyond what AutoSizeColumns sets.
    header->setMinimumSectionSize(CellPadding);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Only a left press on a heading reports here; a press on a column border resizes instead.
    connect(header, &QHeaderView::sectionPressed, this, &TKespStringGrid::headerPressed);
}

QString TKespStringGrid::Cells(int col, int row) const
{
    return m_model->contains(col, row) ? m_model->cell(col, row) : QString();
}

void TKespStringGrid::SetCell(int col, int row, const QString& text)
{
    if (m_model->contains(col, row))
        m_model->setCell(col, row, text);
}

QStringList TKespStringGrid::RowTexts(int row) const
{
    return row >= 0 && row < RowCount() ? m_model->rowTexts(row) : QStringList();
}

int TKespStringGrid::RowCount() const
{
    return m_model->gridRows();
}

void TKespStringGrid::SetRowCount(int count)
{
    m_model->setGridRows(count);
}

int TKespStringGrid::ColCount() const
{
    return m_model->gridColumns();
}

void TKespStringGrid::SetColCount(int count)
{
    m_model->setGridColumns(count);
}

int TKespStringGrid::ColWidths(int col) const
{
    return isColumnHidden(col) ? 0 : columnWidth(col);
}

void TKespStringGrid::SetColWidth(int col, int width)
{
    setColumnHidden(col, width <= 0);
    if (width > 0)
        setColumnWidth(col, width);
}

int TKespStringGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

void TKespStringGrid::SetRow(int row)
{
    if (row < 1 || row >= RowCount())
        return;
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    selectionModel()->setCurrentIndex(m_model->index(row - 1, column),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TKespStringGrid::restoreRow(int row)
{
    if (RowCount() > 1)
        SetRow(qBound(1, row, RowCount() - 1));
}

void TKespStringGrid::SetAllRows(const QVector<QStringList>& rows)
{
    QVector<TTextRow> textRows;
    textRows.reserve(rows.size());
    for (const QStringList& texts : rows)
        textRows.append(TTextRow(texts));
    SetAllRows(std::move(textRows));
}

void TKespStringGrid::SetAllRows(QVector<TTextRow> rows)
{
    const int row = Row();
    m_model->replaceAll(std::move(rows));
    restoreRow(row);
}

void TKespStringGrid::ClearRows()
{
    SetAllRows(QVector<QStringList>(2, blankRow(ColCount())));
}

void TKespStringGrid::DeleteRow(int row)
{
    if (row < 1 || row >= RowCount())
        return;
    const int current = Row();
    m_model->deleteDataRow(row);
    restoreRow(current > row ? current - 1 : current);
}

void TKespStringGrid::ExchangeRows(int a, int b)
{
    if (a != b && a >= 0 && b >= 0 && a < RowCount() && b < RowCount())
        m_model->exchangeRows(a, b);
}

void TKespStringGrid::SortByColumn(int col, bool descending)
{
    if (col >= 0 && col < ColCount())
        m_model->sortDataRows(col, descending);
}

void TKespStringGrid::ClearSortMarks(int col)
{
    for (int other = 0; other < ColCount(); ++other) {
        const QString header = Cells(other, 0);
        if (other != col && (header.startsWith(AscendingMark) || header.startsWith(DescendingMark)))
            SetCell(other, 0, header.mid(1));
    }
}

void TKespStringGrid::AutoSizeColumns()
{
    const int rows = qMin(RowCount(), MeasuredRows);
    const QFontMetrics metrics(font());
    for (int col = 0; col < ColCount(); ++col) {
        int widest = 0;
        for (int row = 0; row < rows; ++row)
            widest = qMax(widest, metrics.horizontalAdvance(Cells(col, row)) + CellPadding);
        SetColWidth(col, widest > 0 ? widest : horizontalHeader()->defaultSectionSize());
    }
}

// Repeated presses on one heading alternate ascending and descending; a press
// on another heading moves the mark there and starts ascending.
void TKespStringGrid::headerPressed(int col)
{
    if (col < 0 || col >= ColCount())
        return;
    ClearSortMarks(col);
    const QString header = Cells(col, 0);
    if (header.startsWith(AscendingMark)) {
        SetCell(col, 0, DescendingMark + header.mid(1));
        SortByColumn(col, true);
    } else {
        const QString text = header.startsWith(DescendingMark) ? header.mid(1) : header;
        SetCell(col, 0, AscendingMark + text);
        SortByColumn(col, false);
    }
}

void FillGrid(const QString& statement, TKespStringGrid* grid)
{
    DbAccess->OpenQuery(statement);
    TResultSet& data = DbAccess->QueryData;
    const int records = data.RecordCount();
    const int columns = data.FieldCount();
    // The grid keeps every text: take the rows over rather than copy a long list.
    QVector<TTextRow> rows = data.TakeRows();
    for (TTextRow& row : rows)
        row.trimTexts();
    rows.prepend(TTextRow(data.FieldNames()));
    if (records == 0)
        rows.append(TTextRow(blankRow(columns)));
    grid->SetAllRows(std::move(rows));
    if (records > 0)
        grid->AutoSizeColumns();
}
