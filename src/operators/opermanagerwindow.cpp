#include "opermanagerwindow.h"

#include "common/exceptions.h"
#include "common/messages.h"
#include "loginoper.h"
#include "operwindow.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QPushButton* commandButton(const QString& text, const char* name)
{
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(72, 25);
    button->setAutoDefault(false);
    return button;
}

QAction* menuCommand(QMenu* menu, const QString& text, const char* name)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

TFormOper::TFormOper(QWidget* parent)
    : TFormDialog(parent)
{
    setObjectName(QStringLiteral("FormOper"));
    setWindowTitle(QStringLiteral("登录账号管理"));
    setFixedSize(392, 266);

    btnAdd = commandButton(QStringLiteral("新建"), "btnAdd");
    btnMod = commandButton(QStringLiteral("修改"), "btnMod");
    btnDel = commandButton(QStringLiteral("删除"), "btnDel");
    btnClose = commandButton(QStringLiteral("退出"), "btnClose");

    auto* pnl4 = new QFrame;
    pnl4->setObjectName(QStringLiteral("pnl4"));
    pnl4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnl4->setFixedHeight(52);
    auto* buttons = new QHBoxLayout(pnl4);
    buttons->setContentsMargins(6, 0, 8, 0);
    buttons->setSpacing(6);
    buttons->addWidget(btnAdd);
    buttons->addWidget(btnMod);
    buttons->addWidget(btnDel);
    buttons->addStretch(1);
    buttons->addWidget(btnClose);

    lv1 = new QTreeWidget;
    lv1->setObjectName(QStringLiteral("lv1"));
    lv1->setAccessibleName(QStringLiteral("登录账号"));
    lv1->setColumnCount(2);
    lv1->setHeaderLabels({QStringLiteral("账号"), QStringLiteral("备注")});
    lv1->header()->resizeSection(0, 120);
    lv1->header()->resizeSection(1, 240);
    lv1->setRootIsDecorated(false);
    lv1->setItemsExpandable(false);
    lv1->setUniformRowHeights(true);
    lv1->setSelectionMode(QAbstractItemView::SingleSelection);
    lv1->setSelectionBehavior(QAbstractItemView::SelectRows);
    lv1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lv1->setToolTip(QStringLiteral("点右键可以新建、修改和删除登录账号"));
    // Grid lines between the cells of the report.
    lv1->setStyleSheet(QStringLiteral("QTreeWidget#lv1::item { border-right: 1px solid palette(midlight);"
                                      " border-bottom: 1px solid palette(midlight); }"
                                      "QTreeWidget#lv1::item:selected { background: palette(highlight);"
                                      " color: palette(highlighted-text); }"));
    QFont listFont = lv1->font();
    listFont.setPixelSize(13);
    lv1->setFont(listFont);

    pm1 = new QMenu(this);
    pm1->setObjectName(QStringLiteral("pm1"));
    N1 = menuCommand(pm1, QStringLiteral("新建账号"), "N1");
    N2 = menuCommand(pm1, QStringLiteral("修改"), "N2");
    N3 = menuCommand(pm1, QStringLiteral("删除"), "N3");
    pm1->addSeparator();
    N5 = menuCommand(pm1, QStringLiteral("退出"), "N5");
    lv1->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pnl4);
    layout->addWidget(lv1, 1);

    connect(btnAdd, &QPushButton::clicked, this, &TFormOper::btnAddClick);
    connect(N1, &QAction::triggered, this, &TFormOper::btnAddClick);
    connect(btnMod, &QPushButton::clicked, this, &TFormOper::btnModClick);
    connect(N2, &QAction::triggered, this, &TFormOper::btnModClick);
    connect(lv1, &QTreeWidget::itemDoubleClicked, this, &TFormOper::btnModClick);
    connect(btnDel, &QPushButton::clicked, this, &TFormOper::btnDelClick);
    connect(N3, &QAction::triggered, this, &TFormOper::btnDelClick);
    connect(btnClose, &QPushButton::clicked, this, &TFormOper::reject);
    connect(N5, &QAction::triggered, this, &TFormOper::reject);
    connect(lv1, &QTreeWidget::customContextMenuRequested, this, &TFormOper::lv1ContextMenu);
}

void TFormOper::FormShow()
{
    LoginOper->ListOpers(lv1);
}

QTreeWidgetItem* TFormOper::SelectedItem() const
{
    const QList<QTreeWidgetItem*> selected = lv1->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void TFormOper::btnAddClick()
{
    if (ShowAddOper() == TFormBaseDlg::ResultOK)
        LoginOper->ListOpers(lv1);
}

void TFormOper::btnModClick()
{
    const QTreeWidgetItem* item = SelectedItem();
    if (item && ShowModOper(item->text(0)) == TFormBaseDlg::ResultOK)
        LoginOper->ListOpers(lv1);
}

void TFormOper::btnDelClick()
{
    QTreeWidgetItem* item = SelectedItem();
    if (!item)
        return;
    const QString name = item->text(0);
    if (name == AdminName)
        throw Exception(QStringLiteral("不能删除 Admin!"));
    if (!AskYesNo(QStringLiteral("确定要删除 ") + name + QStringLiteral(" 吗？")))
        return;
    LoginOper->DeleteOper(name);
    delete item;
    ShowInfo(QStringLiteral("删除成功！"));
}

void TFormOper::lv1ContextMenu(const QPoint& pos)
{
    pm1->popup(lv1->viewport()->mapToGlobal(pos));
}

void ShowOperManager()
{
    TFormOper form;
    form.exec();
}
