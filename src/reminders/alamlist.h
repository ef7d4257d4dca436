#pragma once

#include <QTreeWidget>
#include <QVector>

class QMenu;

// One column of a reminder list: its width in pixels and whether its texts are centred.
struct TAlamColumn
{
    int width;
    bool centred;
};

// The colour a reminder row is drawn in, by its repeat caption: one-time red,
// weekly green, monthly blue; invalid (the list's own colour) for the rest.
QColor RepeatColour(const QString& caption);

// A report-style list of reminders with the six columns TAlam::FillList
// fills: "ID" (practically hidden), "重复频率", "提醒时间", "标题", "内容",
// "状态". Grid lines, read-only, one whole row selected at a time, each row
// drawn in the colour of its repeat kind whatever its state.
class TAlamListView : public QTreeWidget
{
    Q_OBJECT
public:
    TAlamListView(const QVector<TAlamColumn>& columns, int fontPixels, QWidget* parent = nullptr);

    // Pops menu up on a right-click or the context-menu key; the menu's
    // shortcuts work while the list has the focus.
    void SetPopupMenu(QMenu* menu);

    // The selected item, or null.
    QTreeWidgetItem* SelectedItem() const;
    // Opens the reminder editor (offset as ShowModAlam takes it) on the
    // selected reminder; true when it was stored, false without a selection.
    bool ModifySelected(int offset);
    // Asks whether to delete the selected reminder; on yes deletes it and
    // removes its item. Does nothing without a selection.
    void DeleteSelected();
    // "确实要删除 <schedule text> 的提醒吗？" for an item.
    static QString DeleteQuestion(const QTreeWidgetItem* item);
    // Removes every item showing this reminder, from the last to the first.
    void RemoveAlam(const QString& id);
    // Shows every item of this reminder as seen.
    void MarkSeen(const QString& id);
};
