#include "testregistry.h"

#include "controls/checktreeview.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace {

// Trees are written as "name:stateIndex" with the children in brackets,
// e.g. "G:1(a:2 X(b:1)) c:3"; a bare name is a new node without a check box.
void Build(TKespCheckTreeView& tree, const QString& text)
{
    static const QRegularExpression token(QStringLiteral("([^\\s():]+)(?::(-?\\d+))?|[()]"));
    QTreeWidgetItem* parent = tree.invisibleRootItem();
    QTreeWidgetItem* last = nullptr;
    for (auto it = token.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.captured() == QLatin1String("(")) {
            parent = last;
        } else if (match.captured() == QLatin1String(")")) {
            last = parent;
            parent = parent->parent() ? parent->parent() : tree.invisibleRootItem();
        } else {
            last = new QTreeWidgetItem(parent, {match.captured(1)});
            if (match.hasCaptured(2))
                tree.SetNodeStateIndex(last, match.captured(2).toInt());
        }
    }
    tree.expandAll();
}

// The same notation back; "!" marks a node whose accessible check state
// disagrees with its state index.
QString Describe(const TKespCheckTreeView& tree, const QTreeWidgetItem* parent)
{
    static const int mirrored[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    QStringList parts;
    for (int i = 0; i < parent->childCount(); ++i) {
        const QTreeWidgetItem* node = parent->child(i);
        const int stateIndex = tree.NodeStateIndex(node);
        QString part = node->text(0);
        if (stateIndex != TKespCheckTreeView::NoCheckBox)
            part += QLatin1Char(':') + QString::number(stateIndex);
        const QVariant accessible = tree.HasCheckBox(node) ? QVariant(mirrored[stateIndex - 1]) : QVariant();
        if (node->data(0, Qt::CheckStateRole) != accessible)
            part += QLatin1Char('!');
        if (node->childCount() > 0)
            part += QLatin1Char('(') + Describe(tree, node) + QLatin1Char(')');
        parts.append(part);
    }
    return parts.join(QLatin1Char(' '));
}

QString Describe(const TKespCheckTreeView& tree)
{
    return Describe(tree, tree.invisibleRootItem());
}

QTreeWidgetItem* Node(const TKespCheckTreeView& tree, const QString& name)
{
    return tree.findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

// "node old>new" for each OnStateChange caught by the spy.
QString StateChanges(const QSignalSpy& spy)
{
    QStringList changes;
    for (const QList<QVariant>& arguments : spy) {
        changes.append(QStringLiteral("%1 %2>%3").arg(arguments.at(0).value<QTreeWidgetItem*>()->text(0),
                                                      QString::number(arguments.at(1).value<TCheckBoxState>()),
                                                      QString::number(arguments.at(2).value<TCheckBoxState>())));
    }
    return changes.join(QLatin1Char(';'));
}

bool ShowTree(TKespCheckTreeView& tree, const QString& text)
{
    Build(tree, text);
    tree.resize(300, 200);
    tree.show();
    return QTest::qWaitForWindowExposed(&tree);
}

QPoint LabelPoint(const TKespCheckTreeView& tree, const QTreeWidgetItem* node)
{
    const QRect image = tree.StateImageRect(node);
    return QPoint(image.right() + 12, image.center().y());
}

} // namespace

class TestCheckTreeView : public QObject
{
    Q_OBJECT

private slots:
    void stateChanges_data();
    void stateChanges();
    void outsideStateIndexReadsUnchecked();
    void nestedUpdates();
    void mouse();
    void spaceKey();
    void disabledNodes();
    void canDisableNodeOff();
    void stateImages();
};

void TestCheckTreeView::stateChanges_data()
{
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("events");

    QTest::newRow("checked leaf makes its ancestors partly checked")
        << "R:1(G:1(a:1 b:1) c:1)" << "check" << "a" << "R:3(G:3(a:2 b:1) c:1)" << "a 0>1";
    QTest::newRow("last leaf completes every group up to the top")
        << "R:3(G:3(a:2 b:1) c:2)" << "check" << "b" << "R:2(G:2(a:2 b:2) c:2)" << "b 0>1";
    QTest::newRow("unchecked leaf makes every checked ancestor partly checked")
        << "R:2(G:2(H:2(a:2 b:2)) c:2)" << "uncheck" << "a" << "R:3(G:3(H:3(a:1 b:2)) c:2)" << "a 1>0";
    QTest::newRow("checked group checks every level below it")
        << "R:1(G:1(H:1(a:1) b:1) c:1)" << "check" << "G" << "R:3(G:2(H:2(a:2) b:2) c:1)" << "G 0>1";
    QTest::newRow("toggling a partly checked group checks it all")
        << "R:3(G:3(a:2 b:1) c:1)" << "toggle" << "G" << "R:3(G:2(a:2 b:2) c:1)" << "G 2>1";
    QTest::newRow("toggling a checked top unchecks it all")
        << "R:2(G:2(a:2) b:2)" << "toggle" << "R" << "R:1(G:1(a:1) b:1)" << "R 1>0";
    QTest::newRow("grayed is never set directly")
        << "G:1(a:1 b:2)" << "grayed" << "G" << "G:1(a:1 b:2)" << "";
    QTest::newRow("same state changes nothing, not even the parent")
        << "G:1(a:2 b:2)" << "check" << "a" << "G:1(a:2 b:2)" << "";
    QTest::newRow("check passes through a node without a box")
        << "G:1(X(a:1 Y(b:1)) c:1)" << "check" << "G" << "G:2(X(a:2 Y(b:2)) c:2)" << "G 0>1";
    QTest::newRow("boxless child with mixed boxes below counts as neither")
        << "G:1(X(Y(a:1) b:2) c:1)" << "check" << "c" << "G:3(X(Y(a:1) b:2) c:2)" << "c 0>1";
    QTest::newRow("boxless child with all boxes below checked counts as checked")
        << "G:1(X(Y(a:2) b:2) c:1)" << "check" << "c" << "G:2(X(Y(a:2) b:2) c:2)" << "c 0>1";
    QTest::newRow("boxless child without boxes below counts as checked")
        << "G:1(X c:1)" << "check" << "c" << "G:2(X c:2)" << "c 0>1";
    QTest::newRow("boxless child without boxes below counts as unchecked too")
        << "G:2(X c:2)" << "uncheck" << "c" << "G:1(X c:1)" << "c 1>0";
    QTest::newRow("boxless parent is passed over on the way up")
        << "R:1(X(a:1))" << "check" << "a" << "R:2(X(a:2))" << "a 0>1";
    QTest::newRow("boxless leaf gets a box when checked")
        << "G:1(a b:2)" << "check" << "a" << "G:2(a:2 b:2)" << "a 0>1";
    QTest::newRow("update all gives every leaf a box and summarises groups")
        << "G(a b:2) c:7 d:0" << "updateAll" << "" << "G:3(a:1 b:2) c:1 d:1" << "";
    QTest::newRow("update all counts partly checked children as neither")
        << "R:1(G(a:3) c:2)" << "updateAll" << "" << "R:3(G:3(a:3) c:2)" << "";
    QTest::newRow("update all corrects a stale group")
        << "G:2(a:1 b:1)" << "updateAll" << "" << "G:1(a:1 b:1)" << "";
}

void TestCheckTreeView::stateChanges()
{
    QFETCH(QString, tree);
    QFETCH(QString, operation);
    QFETCH(QString, node);
    QFETCH(QString, expected);
    QFETCH(QString, events);

    TKespCheckTreeView view;
    Build(view, tree);
    QSignalSpy changes(&view, &TKespCheckTreeView::OnStateChange);
    if (operation == QLatin1String("check"))
        view.SetNodeChecked(Node(view, node), true);
    else if (operation == QLatin1String("uncheck"))
        view.SetNodeChecked(Node(view, node), false);
    else if (operation == QLatin1String("toggle"))
        QVERIFY(view.ToggleNode(Node(view, node)));
    else if (operation == QLatin1String("grayed"))
        view.SetNodeState(Node(view, node), cbGrayed);
    else
        view.UpdateAllStates();

    QCOMPARE(Describe(view), expected);
    QCOMPARE(StateChanges(changes), events);
}

void TestCheckTreeView::outsideStateIndexReadsUnchecked()
{
    TKespCheckTreeView view;
    Build(view, "a b:0 c:4 d:3");
    for (const char* name : {"a", "b", "c"}) {
        QCOMPARE(view.GetNodeState(Node(view, name)), cbUnchecked);
        QVERIFY(view.StateImageRect(Node(view, name)).isNull());
    }
    QCOMPARE(view.GetNodeState(Node(view, "d")), cbGrayed);
    QVERIFY(!view.IsNodeChecked(Node(view, "d")));
    QVERIFY(!view.ToggleNode(nullptr));
}

void TestCheckTreeView::nestedUpdates()
{
    TKespCheckTreeView view;
    Build(view, "G:1(a:1 b:1) X(c:1)");
    QSignalSpy changes(&view, &TKespCheckTreeView::OnStateChange);

    view.BeginUpdate();
    view.BeginUpdate();
    QVERIFY(!view.updatesEnabled());
    view.SetNodeChecked(Node(view, "a"), true);
    view.SetNodeChecked(Node(view, "b"), true);
    QCOMPARE(Describe(view), "G:1(a:2 b:2) X(c:1)");
    view.EndUpdate();
    QCOMPARE(Describe(view), "G:1(a:2 b:2) X(c:1)");
    QVERIFY(!view.updatesEnabled());
    view.EndUpdate();
    QCOMPARE(Describe(view), "G:2(a:2 b:2) X:1(c:1)");
    QVERIFY(view.updatesEnabled());
    QVERIFY(changes.isEmpty());

    // An unmatched EndUpdate must not leave the tree in a permanent update.
    view.EndUpdate();
    view.SetNodeChecked(Node(view, "a"), false);
    QCOMPARE(Describe(view), "G:3(a:1 b:2) X:1(c:1)");
    QCOMPARE(StateChanges(changes), "a 1>0");
}

void TestCheckTreeView::mouse()
{
    TKespCheckTreeView view;
    QVERIFY(ShowTree(view, "G:1(a:1 b:1)"));
    QTreeWidgetItem* group = Node(view, "G");
    QSignalSpy itemClicks(&view, &QTreeWidget::itemClicked);

    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, LabelPoint(view, group));
    QCOMPARE(view.selectedItems(), QList<QTreeWidgetItem*>{group});
    QCOMPARE(itemClicks.count(), 1);
    QCOMPARE(Describe(view), "G:1(a:1 b:1)");

    // A click on the image toggles; it neither selects nor counts as a click on the item.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.StateImageRect(Node(view, "a")).center());
    QCOMPARE(Describe(view), "G:3(a:2 b:1)");

    // A double click arrives as a click and a double-click message: two
    // toggles (partly checked, checked, unchecked); the group stays expanded.
    const QPoint groupImage = view.StateImageRect(group).center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, groupImage);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, groupImage);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, groupImage);
    QCOMPARE(Describe(view), "G:1(a:1 b:1)");
    QVERIFY(group->isExpanded());
    QCOMPARE(itemClicks.count(), 1);
    QCOMPARE(view.selectedItems(), QList<QTreeWidgetItem*>{group});

    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, view.StateImageRect(Node(view, "b")).center());
    QCOMPARE(Describe(view), "G:1(a:1 b:1)");
}

void TestCheckTreeView::spaceKey()
{
    TKespCheckTreeView view;
    QVERIFY(ShowTree(view, "G:1(a:1 b:1)"));
    QTreeWidgetItem* a = Node(view, "a");

    view.setCurrentItem(a, 0, QItemSelectionModel::NoUpdate);
    QTest::keyClick(&view, Qt::Key_Space);
    QCOMPARE(Describe(view), "G:1(a:1 b:1)");

    view.setCurrentItem(a);
    QTest::keyClick(&view, Qt::Key_Space);
    QCOMPARE(Describe(view), "G:3(a:2 b:1)");
    QTest::keyClick(&view, Qt::Key_Space);
    QCOMPARE(Describe(view), "G:1(a:1 b:1)");
}

void TestCheckTreeView::disabledNodes()
{
    TKespCheckTreeView view;
    view.SetCanDisableNode(true);
    QVERIFY(ShowTree(view, "G:2(a:2 b:2) X"));
    QTreeWidgetItem* a = Node(view, "a");
    QTreeWidgetItem* b = Node(view, "b");
    QSignalSpy enabledChanges(&view, &TKespCheckTreeView::OnNodeEnabledChange);

    view.setCurrentItem(a);
    view.SetNodeEnabled(a, false);
    view.SetNodeEnabled(a, false);
    QVERIFY(!view.IsNodeEnabled(a));
    QCOMPARE(enabledChanges.count(), 1);
    QCOMPARE(enabledChanges.at(0).at(0).value<QTreeWidgetItem*>(), a);
    QVERIFY(view.selectedItems().isEmpty());

    // Neither a click on the image or the label, the keyboard nor code reaches it.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.StateImageRect(a).center());
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, LabelPoint(view, a));
    QCOMPARE(Describe(view), "G:2(a:2 b:2) X");
    QVERIFY(view.selectedItems().isEmpty());
    view.setCurrentItem(b);
    QTest::keyClick(&view, Qt::Key_Up);
    QCOMPARE(view.currentItem(), b);
    view.setCurrentItem(a);
    QCOMPARE(view.selectedItems(), QList<QTreeWidgetItem*>{b});

    // Grey text on the button face; an enabled row keeps black text on the base colour.
    const QImage shot = view.viewport()->grab().toImage();
    auto label = [&view](const QTreeWidgetItem* node) {
        const QRect cell = view.visualItemRect(node);
        const QRect image = view.StateImageRect(node);
        return image.isNull() ? cell : cell.adjusted(image.right() + 2 - cell.left(), 0, 0, 0);
    };
    auto darkest = [&shot](const QRect& rect) {
        int gray = 255;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x)
                gray = qMin(gray, qGray(shot.pixel(x, y)));
        }
        return gray;
    };
    QTreeWidgetItem* x = Node(view, "X");
    QCOMPARE(shot.pixelColor(label(a).right() - 2, label(a).center().y()), view.palette().color(QPalette::Button));
    QCOMPARE(shot.pixelColor(label(x).right() - 2, label(x).center().y()), view.palette().color(QPalette::Base));
    QVERIFY2(darkest(label(a)) >= 0x80, qPrintable(QString::number(darkest(label(a)))));
    QVERIFY2(darkest(label(x)) < 0x40, qPrintable(QString::number(darkest(label(x)))));

    view.SetNodeEnabled(a, true);
    QCOMPARE(enabledChanges.count(), 2);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, LabelPoint(view, a));
    QCOMPARE(view.selectedItems(), QList<QTreeWidgetItem*>{a});

    // Inside an update the node is only marked.
    view.BeginUpdate();
    view.SetNodeEnabled(a, false);
    view.EndUpdate();
    QVERIFY(!view.IsNodeEnabled(a));
    QCOMPARE(enabledChanges.count(), 2);
    QCOMPARE(view.selectedItems(), QList<QTreeWidgetItem*>{a});

    // Switching off clears every mark for good and recomputes all states.
    view.SetNodeStateIndex(x, TKespCheckTreeView::NoCheckBox);
    view.SetCanDisableNode(false);
    QVERIFY(view.IsNodeEnabled(a));
    view.SetCanDisableNode(true);
    QVERIFY(view.IsNodeEnabled(a));
    QCOMPARE(enabledChanges.count(), 2);
    QCOMPARE(Describe(view), "G:2(a:2 b:2) X:1");
}

void TestCheckTreeView::canDisableNodeOff()
{
    TKespCheckTreeView view;
    QVERIFY(ShowTree(view, "G:1(a:1 b:1)"));
    QTreeWidgetItem* a = Node(view, "a");
    QSignalSpy enabledChanges(&view, &TKespCheckTreeView::OnNodeEnabledChange);

    QVERIFY(!view.CanDisableNode());
    view.SetNodeEnabled(a, false);
    QVERIFY(view.IsNodeEnabled(a));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.StateImageRect(a).center());
    QCOMPARE(Describe(view), "G:3(a:2 b:1)");
    view.SetCanDisableNode(true);
    QVERIFY(view.IsNodeEnabled(a));
    QCOMPARE(enabledChanges.count(), 0);
}

// Images 1 to 3 side by side as the control draws them: '#' black,
// 's' silver, '.' transparent (the background shows).
void TestCheckTreeView::stateImages()
{
    const QStringList expected = {
        "................................................",
        ".#############...#############...#############..",
        ".#...........#...#...........#...#sssssssssss#..",
        ".#...........#...#...........#...#sssssssssss#..",
        ".#...........#...#........#..#...#ssssssss#ss#..",
        ".#...........#...#.......##..#...#sssssss##ss#..",
        ".#...........#...#..#...###..#...#ss#sss###ss#..",
        ".#...........#...#..##.###...#...#ss##s###sss#..",
        ".#...........#...#..#####....#...#ss#####ssss#..",
        ".#...........#...#...###.....#...#sss###sssss#..",
        ".#...........#...#....#......#...#ssss#ssssss#..",
        ".#...........#...#...........#...#sssssssssss#..",
        ".#...........#...#...........#...#sssssssssss#..",
        ".#############...#############...#############..",
        "................................................",
        "................................................",
    };

    TKespCheckTreeView view;
    QVERIFY(ShowTree(view, "n1:1 n2:2 n3:3"));
    const QImage shot = view.viewport()->grab().toImage();
    const QColor background = view.palette().color(QPalette::Base);
    QStringList drawn(16);
    for (const char* name : {"n1", "n2", "n3"}) {
        const QRect image = view.StateImageRect(Node(view, name));
        QCOMPARE(image.size(), QSize(16, 16));
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor colour = shot.pixelColor(image.topLeft() + QPoint(x, y));
                drawn[y] += colour == Qt::black                 ? '#'
                    : colour == QColor(0xC0, 0xC0, 0xC0) ? 's'
                    : colour == background                      ? '.'
                                                                : '?';
            }
        }
    }
    QCOMPARE(drawn, expected);
}

KESP_TEST(TestCheckTreeView)

#include "testchecktreeview.moc"
