#pragma once

#include <QTreeWidget>
#include <QVector>

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

    // The selected item, or null.
    QTreeWidgetItem* SelectedItem() const;
    // "确实要删除 <schedule text> 的提醒吗？" for an item.
    static QString DeleteQuestion(const QTreeWidgetItem* item);
    // Removes every item showing this reminder, from the last to the first.
    void RemoveAlam(const QString& id);
    // Shows every item of this reminder as seen.
    void MarkSeen(const QString& id);
};
