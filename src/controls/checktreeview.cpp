#include "checktreeview.h"

#include <QImage>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int UncheckedIndex = cbUnchecked + 1;
constexpr int CheckedIndex = cbChecked + 1;
constexpr int GrayedIndex = cbGrayed + 1;

constexpr int EnabledOverlay = -1;
constexpr int DisabledOverlay = -2;

constexpr int StateImageSize = 16;
constexpr int StateImageLeftMargin = 1;
constexpr int StateImageSlotWidth = StateImageSize + 4;
constexpr QRgb DisabledTextColor = 0x808080;

struct Pixel
{
    int x;
    int y;
};

constexpr Pixel CheckMark[] = {
    {10, 4},
    {9, 5}, {10, 5},
    {4, 6}, {8, 6}, {9, 6}, {10, 6},
    {4, 7}, {5, 7}, {7, 7}, {8, 7}, {9, 7},
    {4, 8}, {5, 8}, {6, 8}, {7, 8}, {8, 8},
    {5, 9}, {6, 9}, {7, 9},
    {6, 10},
};

bool IsCheckBoxIndex(int stateIndex)
{
    return stateIndex >= UncheckedIndex && stateIndex <= GrayedIndex;
}

int IntData(const QTreeWidgetItem* node, int role, int absent)
{
    const QVariant value = node->data(0, role);
    return value.isValid() ? value.toInt() : absent;
}

// The node's own mark, whether or not the tree honours it (CanDisableNode).
bool HasDisabledMark(const QTreeWidgetItem* node)
{
    return IntData(node, TKespCheckTreeView::OverlayIndexRole, EnabledOverlay) < EnabledOverlay;
}

// Image 0 is empty; 1 to 3 share the outline, 2 and 3 the check mark, 3 is filled silver.
QImage DrawStateImage(int stateIndex)
{
    QImage image(StateImageSize, StateImageSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    if (stateIndex == 0)
        return image;
    constexpr int first = 1;
    constexpr int last = 13;
    const QRgb black = qRgb(0, 0, 0);
    if (stateIndex == GrayedIndex) {
        for (int y = first + 1; y < last; ++y)
            for (int x = first + 1; x < last; ++x)
                image.setPixel(x, y, qRgb(0xC0, 0xC0, 0xC0));
    }
    for (int i = first; i <= last; ++i) {
        image.setPixel(i, first, black);
        image.setPixel(i, last, black);
        image.setPixel(first, i, black);
        image.setPixel(last, i, black);
    }
    if (stateIndex >= CheckedIndex) {
        for (const Pixel& pixel : CheckMark)
            image.setPixel(pixel.x, pixel.y, black);
    }
    return image;
}

QRect StateImageRectInCell(const QRect& cell)
{
    return QRect(cell.left() + StateImageLeftMargin, cell.top() + (cell.height() - StateImageSize) / 2,
                 StateImageSize, StateImageSize);
}

void AppendDescendants(const QTreeWidgetItem* node, QList<QTreeWidgetItem*>& nodes)
{
    for (int i = 0; i < node->childCount(); ++i) {
        nodes.append(node->child(i));
        AppendDescendants(node->child(i), nodes);
    }
}

QList<QTreeWidgetItem*> Descendants(const QTreeWidgetItem* node)
{
    QList<QTreeWidgetItem*> nodes;
    AppendDescendants(node, nodes);
    return nodes;
}

// How many of a set of nodes count as checked and as unchecked.
struct StateTally
{
    int total = 0;
    int checked = 0;
    int unchecked = 0;

    void add(int stateIndex)
    {
        ++total;
        checked += stateIndex == CheckedIndex;
        unchecked += stateIndex == UncheckedIndex;
    }
    int summary() const
    {
        if (checked == total)
            return CheckedIndex;
        return unchecked == total ? UncheckedIndex : GrayedIndex;
    }
};

// Draws the state image in front of the first column and the grey look of
// disabled nodes; everything else is the standard item drawing.
class StateImageDelegate : public QStyledItemDelegate
{
public:
    explicit StateImageDelegate(TKespCheckTreeView* tree)
        : QStyledItemDelegate(tree)
        , m_tree(tree)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QTreeWidgetItem* node = m_tree->itemFromIndex(index);
        if (index.column() != 0 || !m_tree->HasCheckBox(node)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        painter->drawPixmap(StateImageRectInCell(option.rect), m_tree->StateImage(m_tree->NodeStateIndex(node)));
        QStyleOptionViewItem label(option);
        label.rect.setLeft(option.rect.left() + StateImageSlotWidth);
        QStyledItemDelegate::paint(painter, label, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (index.column() == 0 && m_tree->HasCheckBox(m_tree->itemFromIndex(index)))
            size = QSize(size.width() + StateImageSlotWidth, qMax(size.height(), StateImageSize));
        return size;
    }

    // Clicks and the space key on the state image belong to the tree; Qt's
    // own check box handling would only flip the accessibility mirror.
    bool editorEvent(QEvent*, QAbstractItemModel*, const QStyleOptionViewItem&, const QModelIndex&) override
    {
        return false;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->features &= ~QStyleOptionViewItem::HasCheckIndicator;
        if (!m_tree->IsNodeEnabled(m_tree->itemFromIndex(index))) {
            option->palette.setColor(QPalette::Text, QColor(DisabledTextColor));
            option->backgroundBrush = option->palette.button();
        }
    }

private:
    TKespCheckTreeView* m_tree;
};

// A disabled node can become neither the current node nor part of the selection.
class EnabledNodeSelectionModel : public QItemSelectionModel
{
public:
    explicit EnabledNodeSelectionModel(TKespCheckTreeView* tree)
        : QItemSelectionModel(tree->model(), tree)
        , m_tree(tree)
    {
    }

    void setCurrentIndex(const QModelIndex& index, SelectionFlags command) override
    {
        if (!IsDisabled(index))
            QItemSelectionModel::setCurrentIndex(index, command);
    }

    using QItemSelectionModel::select;
    void select(const QItemSelection& selection, SelectionFlags command) override
    {
        if (command & (Select | Toggle)) {
            const QModelIndexList indexes = selection.indexes();
            if (std::any_of(indexes.begin(), indexes.end(), [this](const QModelIndex& index) { return IsDisabled(index); }))
                return;
        }
        QItemSelectionModel::select(selection, command);
    }

private:
    bool IsDisabled(const QModelIndex& index) const
    {
        return index.isValid() && !m_tree->IsNodeEnabled(m_tree->itemFromIndex(index));
    }

    TKespCheckTreeView* m_tree;
};

} // namespace

TKespCheckTreeView::TKespCheckTreeView(QWidget* parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    for (int i = 0; i < int(m_stateImages.size()); ++i)
        m_stateImages[i] = QPixmap::fromImage(DrawStateImage(i));
    setItemDelegate(new StateImageDelegate(this));
    QItemSelectionModel* inherited = selectionModel();
    setSelectionModel(new EnabledNodeSelectionModel(this));
    delete inherited;
}

int TKespCheckTreeView::NodeStateIndex(const QTreeWidgetItem* node) const
{
    return IntData(node, StateIndexRole, NoCheckBox);
}

void TKespCheckTreeView::SetNodeStateIndex(QTreeWidgetItem* node, int stateIndex)
{
    node->setData(0, StateIndexRole, stateIndex);
    // Screen readers announce Qt's check state; it follows the state index and is never read back.
    static constexpr Qt::CheckState mirrored[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    node->setData(0, Qt::CheckStateRole,
                  IsCheckBoxIndex(stateIndex) ? QVariant(int(mirrored[stateIndex - UncheckedIndex])) : QVariant());
}

bool TKespCheckTreeView::HasCheckBox(const QTreeWidgetItem* node) const
{
    return IsCheckBoxIndex(NodeStateIndex(node));
}

TCheckBoxState TKespCheckTreeView::GetNodeState(const QTreeWidgetItem* node) const
{
    const int stateIndex = NodeStateIndex(node);
    return IsCheckBoxIndex(stateIndex) ? TCheckBoxState(stateIndex - UncheckedIndex) : cbUnchecked;
}

void TKespCheckTreeView::SetNodeState(QTreeWidgetItem* node, TCheckBoxState state)
{
    // The partly checked state only ever follows from the nodes below.
    if (state == cbGrayed || NodeStateIndex(node) == state + UncheckedIndex)
        return;
    const TCheckBoxState oldState = GetNodeState(node);
    SetNodeStateIndex(node, state + UncheckedIndex);
    if (m_updateCount > 0)
        return;
    UpdateChildStates(node);
    UpdateParentStates(node);
    emit OnStateChange(node, oldState, state);
}

bool TKespCheckTreeView::IsNodeChecked(const QTreeWidgetItem* node) const
{
    return GetNodeState(node) == cbChecked;
}

void TKespCheckTreeView::SetNodeChecked(QTreeWidgetItem* node, bool checked)
{
    SetNodeState(node, checked ? cbChecked : cbUnchecked);
}

bool TKespCheckTreeView::ToggleNode(QTreeWidgetItem* node)
{
    if (!node)
        return false;
    SetNodeChecked(node, !IsNodeChecked(node));
    return true;
}

// Every node below that has a check box follows the node; nodes without one
// are passed through to their own children.
void TKespCheckTreeView::UpdateChildStates(QTreeWidgetItem* node)
{
    const int stateIndex = NodeStateIndex(node);
    for (QTreeWidgetItem* below : Descendants(node)) {
        if (HasCheckBox(below))
            SetNodeStateIndex(below, stateIndex);
    }
}

// Each ancestor with a check box summarises its children. A child without a
// check box stands for the boxes below it: checked when all of them are,
// unchecked when all of them are (both when there are none).
void TKespCheckTreeView::UpdateParentStates(QTreeWidgetItem* node)
{
    for (QTreeWidgetItem* parent = node->parent(); parent; parent = parent->parent()) {
        StateTally children;
        for (int i = 0; i < parent->childCount(); ++i) {
            const QTreeWidgetItem* child = parent->child(i);
            if (HasCheckBox(child)) {
                children.add(NodeStateIndex(child));
                continue;
            }
            StateTally below;
            for (const QTreeWidgetItem* descendant : Descendants(child)) {
                if (HasCheckBox(descendant))
                    below.add(NodeStateIndex(descendant));
            }
            ++children.total;
            children.checked += below.checked == below.total;
            children.unchecked += below.unchecked == below.total;
        }
        if (HasCheckBox(parent))
            SetNodeStateIndex(parent, children.summary());
    }
}

void TKespCheckTreeView::UpdateAllStates()
{
    for (int i = 0; i < topLevelItemCount(); ++i)
        ComputeStateFromLeaves(topLevelItem(i));
}

// A leaf keeps its state (no check box becomes unchecked); an inner node
// summarises its children, partly checked children counting as neither.
int TKespCheckTreeView::ComputeStateFromLeaves(QTreeWidgetItem* node)
{
    if (node->childCount() == 0) {
        if (!HasCheckBox(node))
            SetNodeStateIndex(node, UncheckedIndex);
        return NodeStateIndex(node);
    }
    StateTally children;
    for (int i = 0; i < node->childCount(); ++i)
        children.add(ComputeStateFromLeaves(node->child(i)));
    const int stateIndex = children.summary();
    SetNodeStateIndex(node, stateIndex);
    return stateIndex;
}

bool TKespCheckTreeView::IsNodeEnabled(const QTreeWidgetItem* node) const
{
    return !m_canDisableNode || !HasDisabledMark(node);
}

void TKespCheckTreeView::SetNodeEnabled(QTreeWidgetItem* node, bool enabled)
{
    if (!m_canDisableNode || IsNodeEnabled(node) == enabled)
        return;
    node->setData(0, OverlayIndexRole, enabled ? EnabledOverlay : DisabledOverlay);
    if (m_updateCount > 0)
        return;
    if (!enabled && node == SelectedNode())
        selectionModel()->clear();
    DoNodeEnabledChange(node);
}

void TKespCheckTreeView::DoNodeEnabledChange(QTreeWidgetItem* node)
{
    emit OnNodeEnabledChange(node);
}

void TKespCheckTreeView::BeginUpdate()
{
    if (m_updateCount++ == 0)
        setUpdatesEnabled(false);
}

void TKespCheckTreeView::EndUpdate()
{
    if (m_updateCount == 0)
        return;
    if (--m_updateCount > 0)
        return;
    UpdateAllStates();
    setUpdatesEnabled(true);
}

bool TKespCheckTreeView::CanDisableNode() const
{
    return m_canDisableNode;
}

void TKespCheckTreeView::SetCanDisableNode(bool canDisable)
{
    if (m_canDisableNode == canDisable)
        return;
    m_canDisableNode = canDisable;
    if (canDisable)
        return;
    BeginUpdate();
    for (QTreeWidgetItem* node : AllNodes()) {
        if (HasDisabledMark(node))
            node->setData(0, OverlayIndexRole, EnabledOverlay);
    }
    EndUpdate();
}

QList<QTreeWidgetItem*> TKespCheckTreeView::AllNodes() const
{
    return Descendants(invisibleRootItem());
}

QRect TKespCheckTreeView::StateImageRect(const QTreeWidgetItem* node) const
{
    if (!node || !HasCheckBox(node))
        return {};
    const QRect cell = visualRect(indexFromItem(node, 0));
    return cell.isValid() ? StateImageRectInCell(cell) : QRect();
}

const QPixmap& TKespCheckTreeView::StateImage(int stateIndex) const
{
    return m_stateImages[IsCheckBoxIndex(stateIndex) ? stateIndex : 0];
}

QTreeWidgetItem* TKespCheckTreeView::StateImageNodeAt(const QPoint& pos) const
{
    QTreeWidgetItem* node = itemAt(pos);
    const QRect image = StateImageRect(node);
    return image.isValid() && pos.x() >= image.left() && pos.x() <= image.right() ? node : nullptr;
}

QTreeWidgetItem* TKespCheckTreeView::SelectedNode() const
{
    return selectedItems().value(0);
}

// A left press on the state image of an enabled node toggles it and goes no
// further: it neither selects the node nor reaches the default handling.
bool TKespCheckTreeView::HandleStatePress(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    QTreeWidgetItem* node = StateImageNodeAt(event->position().toPoint());
    return node && IsNodeEnabled(node) && ToggleNode(node);
}

void TKespCheckTreeView::mousePressEvent(QMouseEvent* event)
{
    if (!HandleStatePress(event))
        QTreeWidget::mousePressEvent(event);
}

void TKespCheckTreeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!HandleStatePress(event))
        QTreeWidget::mouseDoubleClickEvent(event);
}

void TKespCheckTreeView::mouseReleaseEvent(QMouseEvent* event)
{
    const bool stateButton = event->button() == Qt::LeftButton || event->button() == Qt::RightButton;
    if (stateButton && StateImageNodeAt(event->position().toPoint()))
        return;
    QTreeWidget::mouseReleaseEvent(event);
}

void TKespCheckTreeView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && ToggleNode(SelectedNode()))
        return;
    QTreeWidget::keyPressEvent(event);
}
