#include "alamlist.h"

#include "alam.h"
#include "alameditor.h"
#include "common/messages.h"

#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QShortcut>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

const int IdColumn = 0;
const int RepeatColumn = 1;
const int ScheduleColumn = 2;
const int StateColumn = 5;
// Room on either side of a cell's text.
const int ScheduleMargin = 12;

// Draws each row in the colour of its repeat kind, centres the columns that
// ask for it and draws the grid lines of a report list. Done while drawing,
// so a fill of many rows sets nothing per item.
class TAlamListDelegate : public QStyledItemDelegate
{
public:
    TAlamListDelegate(QVector<bool> centred, QObject* parent)
        : QStyledItemDelegate(parent)
        , m_centred(std::move(centred))
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Midlight));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->restore();
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QColor colour = RepeatColour(index.siblingAtColumn(RepeatColumn).data().toString());
        if (colour.isValid())
            option->palette.setColor(QPalette::Text, colour);
        if (m_centred.value(index.column()))
            option->displayAlignment = Qt::AlignCenter;
    }

private:
    const QVector<bool> m_centred;
};

} // namespace

QColor RepeatColour(const QString& caption)
{
    if (caption == RepeatCaptions.at(RepeatOnce))
        return QColor(255, 0, 0);
    if (caption == RepeatCaptions.at(RepeatWeekly))
        return QColor(0, 128, 0);
    if (caption == RepeatCaptions.at(RepeatMonthly))
        return QColor(0, 0, 255);
    return QColor();
}

TAlamListView::TAlamListView(const QVector<TAlamColumn>& columns, int fontPixels, QWidget* parent)
    : QTreeWidget(parent)
{
    setHeaderLabels({QStringLiteral("ID"), QStringLiteral("重复频率"), QStringLiteral("提醒时间"),
                     QStringLiteral("标题"), QStringLiteral("内容"), QStringLiteral("状态")});
    QFont listFont = font();
    listFont.setPixelSize(fontPixels);
    setFont(listFont);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    // Rows of one height let a long list lay itself out without measuring every row.
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAllColumnsShowFocus(true);

    QVector<bool> centred;
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(1);
    for (int column = 0; column < columns.size(); ++column) {
        header()->resizeSection(column, columns.at(column).width);
        centred.append(columns.at(column).centred);
        if (columns.at(column).centred)
            headerItem()->setTextAlignment(column, Qt::AlignCenter);
    }
    setItemDelegate(new TAlamListDelegate(centred, this));

    // In a font wider than the designed one the schedule column grows rather
    // than cut off the time, the part the operator reads it for.
    const int scheduleWidth = std::max(fontMetrics().horizontalAdvance(QStringLiteral("2026-12-31  23时 59分")),
                                       fontMetrics().horizontalAdvance(QStringLiteral("每月 31号  23时 59分")))
        + ScheduleMargin;
    if (header()->sectionSize(ScheduleColumn) < scheduleWidth)
        header()->resizeSection(ScheduleColumn, scheduleWidth);
}

void TAlamListView::SetPopupMenu(QMenu* menu)
{
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, menu,
            [this, menu](const QPoint& pos) { menu->popup(viewport()->mapToGlobal(pos)); });
    // The platform turns the menu key into a context-menu request; Shift+F10
    // opens the menu too, under the current row.
    auto* keyboard = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this, nullptr, nullptr, Qt::WidgetShortcut);
    connect(keyboard, &QShortcut::activated, menu, [this, menu] {
        const QTreeWidgetItem* item = currentItem();
        menu->popup(viewport()->mapToGlobal(item ? visualItemRect(item).bottomLeft() : QPoint()));
    });
    for (QAction* item : menu->actions()) {
        item->setShortcutContext(Qt::WidgetShortcut);
        addAction(item);
    }
}

QTreeWidgetItem* TAlamListView::SelectedItem() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

bool TAlamListView::ModifySelected(int offset)
{
    const QTreeWidgetItem* item = SelectedItem();
    return item && ShowModAlam(item->text(IdColumn), offset) == 1;
}

// A failing delete raises before the item goes, so the list still shows the reminder.
void TAlamListView::DeleteSelected()
{
    QTreeWidgetItem* item = SelectedItem();
    if (!item || !AskYesNo(DeleteQuestion(item)))
        return;
    Alam->Delete(item->text(IdColumn));
    delete item;
}

QString TAlamListView::DeleteQuestion(const QTreeWidgetItem* item)
{
    return QStringLiteral("确实要删除 ") + item->text(ScheduleColumn) + QStringLiteral(" 的提醒吗？");
}

void TAlamListView::RemoveAlam(const QString& id)
{
    for (int row = topLevelItemCount() - 1; row >= 0; --row) {
        if (topLevelItem(row)->text(IdColumn) == id)
            delete takeTopLevelItem(row);
    }
}

void TAlamListView::MarkSeen(const QString& id)
{
    for (int row = topLevelItemCount() - 1; row >= 0; --row) {
        if (topLevelItem(row)->text(IdColumn) == id)
            topLevelItem(row)->setText(StateColumn, StateSeen);
    }
}
