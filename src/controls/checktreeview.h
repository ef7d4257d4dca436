#pragma once

#include <QList>
#include <QPixmap>
#include <QRect>
#include <QTreeWidget>

#include <array>

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A tree whose nodes carry a three-state check box. Checking or unchecking a
// node carries the state down to every node below it and up to every node
// above it, so a group always summarises its children.
//
// A node's state index (StateIndexRole) is the only truth about its check box:
// 1 unchecked, 2 checked, 3 partly checked, anything else (a new node: -1) no
// check box. The control draws the box itself; Qt::CheckStateRole only mirrors
// the state for assistive technology.
class TKespCheckTreeView : public QTreeWidget
{
    Q_OBJECT
    Q_PROPERTY(bool CanDisableNode READ CanDisableNode WRITE SetCanDisableNode)
public:
    // Column 0 data roles, clear of Qt::UserRole which the users of the tree keep for themselves.
    static constexpr int StateIndexRole = Qt::UserRole + 100;
    static constexpr int OverlayIndexRole = Qt::UserRole + 101;
    static constexpr int NoCheckBox = -1;

    explicit TKespCheckTreeView(QWidget* parent = nullptr);

    int NodeStateIndex(const QTreeWidgetItem* node) const;
    // Writes the raw state index: no propagation, no event.
    void SetNodeStateIndex(QTreeWidgetItem* node, int stateIndex);
    bool HasCheckBox(const QTreeWidgetItem* node) const;

    TCheckBoxState GetNodeState(const QTreeWidgetItem* node) const;
    void SetNodeState(QTreeWidgetItem* node, TCheckBoxState state);
    bool IsNodeChecked(const QTreeWidgetItem* node) const;
    void SetNodeChecked(QTreeWidgetItem* node, bool checked);
    bool ToggleNode(QTreeWidgetItem* node);

    bool IsNodeEnabled(const QTreeWidgetItem* node) const;
    void SetNodeEnabled(QTreeWidgetItem* node, bool enabled);

    // Nestable; while open, SetNodeState changes only the node itself. Closing
    // the outermost one recomputes every state with UpdateAllStates.
    void BeginUpdate();
    void EndUpdate();
    void UpdateAllStates();

    bool CanDisableNode() const;
    void SetCanDisableNode(bool canDisable);

    // Every node, expanded or not, in display order (parents before their children).
    QList<QTreeWidgetItem*> AllNodes() const;
    // Where the node's state image is drawn, in viewport coordinates; empty without a check box.
    QRect StateImageRect(const QTreeWidgetItem* node) const;
    // Image for a state index (0 is fully transparent).
    const QPixmap& StateImage(int stateIndex) const;

signals:
    void OnStateChange(QTreeWidgetItem* node, TCheckBoxState oldState, TCheckBoxState newState);
    void OnNodeEnabledChange(QTreeWidgetItem* node);

protected:
    virtual void DoNodeEnabledChange(QTreeWidgetItem* node);

    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void UpdateChildStates(QTreeWidgetItem* node);
    void UpdateParentStates(QTreeWidgetItem* node);
    int ComputeStateFromLeaves(QTreeWidgetItem* node);
    QTreeWidgetItem* StateImageNodeAt(const QPoint& pos) const;
    QTreeWidgetItem* SelectedNode() const;
    bool HandleStatePress(QMouseEvent* event);

    std::array<QPixmap, 4> m_stateImages;
    int m_updateCount = 0;
    bool m_canDisableNode = false;
};
