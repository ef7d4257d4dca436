#include "customerpage.h"

#include "common/messages.h"
#include "common/namedcontrols.h"
#include "common/waitingpanel.h"
#include "controls/excelexport.h"
#include "controls/stringgrid.h"
#include "customers/customer.h"
#include "customers/customereditor.h"
#include "customers/fieldtitles.h"
#include "customers/usertype.h"
#include "operators/loginoper.h"

#include <QComboBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <optional>

const QString CategoryTreeHint = QStringLiteral("点右键新建、修改和删除类别");

namespace {

const QString ModifyCustomerRight = QStringLiteral("修改客户");
const int CategoryColumnWidth = 180;
const int ButtonBarHeight = 52;
const int GridRowHeight = 17;

// A 16 by 16 image drawn in code, so the program ships no image files.
QPixmap drawnImage(const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}

QPixmap folderImage(bool open)
{
    return drawnImage([open](QPainter& painter) {
        painter.setPen(QPen(QColor(150, 110, 20), 1));
        painter.setBrush(QColor(235, 190, 80));
        painter.drawRoundedRect(QRectF(1.5, 3.5, 6, 3), 1, 1);
        painter.drawRect(QRectF(1.5, 4.5, 13, 9));
        if (open) {
            painter.setBrush(QColor(250, 220, 120));
            painter.drawPolygon(
                QPolygonF{QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5), QPointF(1.5, 13.5)});
        }
    });
}

QPixmap customersImage()
{
    return drawnImage([](QPainter& painter) {
        painter.setPen(QPen(QColor(30, 70, 140), 1));
        const auto person = [&painter](qreal x, const QColor& colour) {
            painter.setBrush(colour);
            painter.drawEllipse(QRectF(x + 2, 1.5, 5, 5));
            painter.drawRoundedRect(QRectF(x, 7.5, 9, 7), 3, 3);
        };
        person(6, QColor(120, 170, 240));
        person(1, QColor(70, 130, 220));
    });
}

// Selected nodes show their image as drawn, not tinted with the highlight.
QIcon untinted(const QPixmap& pixmap)
{
    QIcon icon;
    icon.addPixmap(pixmap, QIcon::Normal);
    icon.addPixmap(pixmap, QIcon::Selected);
    return icon;
}

// Draws each node with its image from il1, chosen by the image indexes the
// category operations give it, and keeps the text an in-place edit confirms
// instead of writing it into the tree: the rename command decides whether
// the node takes it.
class TCategoryTreeDelegate : public QStyledItemDelegate
{
public:
    explicit TCategoryTreeDelegate(QObject* parent)
        : QStyledItemDelegate(parent)
        // The tree's image list: the root, a category, a selected category.
        , il1{untinted(customersImage()), untinted(folderImage(false)), untinted(folderImage(true))}
    {
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const override
    {
        if (const auto* edit = qobject_cast<QLineEdit*>(editor))
            m_confirmed = edit->text();
    }

    std::optional<QString> takeConfirmed()
    {
        std::optional<QString> confirmed;
        confirmed.swap(m_confirmed);
        return confirmed;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const bool selected = option->state & QStyle::State_Selected;
        const QVariant image = index.data(selected ? TUserType::SelectedIndexRole : TUserType::ImageIndexRole);
        if (image.isValid() && image.toInt() >= 0 && image.toInt() < il1.size()) {
            option->icon = il1.at(image.toInt());
            option->features |= QStyleOptionViewItem::HasDecoration;
        }
    }

private:
    const QList<QIcon> il1;
    mutable std::optional<QString> m_confirmed;
};

// A menu whose commands are all hidden by right does not open at all.
void popUp(QMenu* menu, const QWidget* viewport, const QPoint& pos)
{
    const QList<QAction*> items = menu->actions();
    if (std::any_of(items.cbegin(), items.cend(), [](const QAction* item) {
            return item->isVisible() && !item->isSeparator();
        }))
        menu->popup(viewport->mapToGlobal(pos));
}

} // namespace

TCustomerPage::TCustomerPage(QWidget* parent)
    : QWidget(parent)
{
    auto* splitter = named(new QSplitter(Qt::Horizontal), "splCustomer");
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(createCategoryColumn());
    splitter->addWidget(createCustomerColumn());
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({CategoryColumnWidth, 1000});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(splitter);

    createMenus();

    // btnSystem is the page's cancel button: Escape on the customer page clicks it.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, btnSystem, &QPushButton::click);
}

QWidget* TCustomerPage::createCategoryColumn()
{
    tv1 = named(new QTreeWidget, "tv1");
    tv1->setHeaderHidden(true);
    tv1->setColumnCount(1);
    tv1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tv1->setSelectionBehavior(QAbstractItemView::SelectRows);
    tv1->setAllColumnsShowFocus(true);
    tv1->setItemDelegate(new TCategoryTreeDelegate(tv1));
    tv1->setToolTip(CategoryTreeHint);
    tv1->setAccessibleName(QStringLiteral("客户类别"));
    tv1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tv1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { popUp(pmCustomerType, tv1->viewport(), pos); });
    tv1->viewport()->installEventFilter(this);

    auto* statHint = named(new QStatusBar, "statHint");
    statHint->setSizeGripEnabled(false);
    statHintPanel = named(new QLabel, "statHintPanel");
    statHintPanel->setMinimumWidth(50);
    statHint->addWidget(statHintPanel, 1);

    auto* column = new QWidget;
    column->setMinimumWidth(60);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tv1, 1);
    layout->addWidget(statHint);
    return column;
}

QWidget* TCustomerPage::createCustomerColumn()
{
    btnAdd = commandButton(QStringLiteral("新建"), "btnAdd", &TCustomerPage::btnAddClick);
    btnMod = commandButton(QStringLiteral("修改"), "btnMod", &TCustomerPage::btnModClick);
    btnDel = commandButton(QStringLiteral("删除"), "btnDel", &TCustomerPage::btnDelClick);
    btnDIY = commandButton(QStringLiteral("自定义客户信息"), "btnDIY", &TCustomerPage::btnDIYClick);
    btnExcel = commandButton(QStringLiteral("导出Excel"), "btnExcel", &TCustomerPage::btnExcelClick);
    btnSystem = named(new QPushButton(QStringLiteral("软件设置")), "btnSystem");
    btnSystem->setFixedSize(75, 25);
    connect(btnSystem, &QPushButton::clicked, this, &TCustomerPage::systemMenuRequested);

    auto* buttonBar = named(new QWidget, "pnlButtons");
    buttonBar->setFixedHeight(ButtonBarHeight);
    auto* buttons = new QHBoxLayout(buttonBar);
    buttons->setContentsMargins(4, 0, 4, 0);
    for (QPushButton* button : {btnAdd, btnMod, btnDel, btnDIY, btnExcel})
        buttons->addWidget(button);
    buttons->addStretch(1);
    buttons->addWidget(btnSystem);

    StringGrid1 = named(new TKespStringGrid, "StringGrid1");
    StringGrid1->verticalHeader()->setMinimumSectionSize(GridRowHeight);
    StringGrid1->verticalHeader()->setDefaultSectionSize(GridRowHeight);
    StringGrid1->setAccessibleName(QStringLiteral("客户信息"));
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(StringGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { popUp(pmCustomer, StringGrid1->viewport(), pos); });
    connect(StringGrid1, &QAbstractItemView::doubleClicked, this, &TCustomerPage::btnModClick);

    cbbQuery = named(new QComboBox, "cbbQuery");
    cbbQuery->setMinimumWidth(121);
    edtQuery = named(new QLineEdit, "edtQuery");
    edtQuery->setMinimumWidth(160);
    btnQuery = commandButton(QStringLiteral("查询"), "btnQuery", &TCustomerPage::btnQueryClick);
    connect(edtQuery, &QLineEdit::returnPressed, this, &TCustomerPage::btnQueryClick);
    auto* fieldLabel = named(new QLabel(QStringLiteral("查询项目")), "LabQueryField");
    fieldLabel->setBuddy(cbbQuery);
    auto* textLabel = named(new QLabel(QStringLiteral("查找内容")), "LabQueryText");
    textLabel->setBuddy(edtQuery);

    auto* search = named(new QGroupBox(QStringLiteral("快速查找")), "grpQuery");
    auto* searchLayout = new QHBoxLayout(search);
    searchLayout->addWidget(fieldLabel);
    searchLayout->addWidget(cbbQuery);
    searchLayout->addSpacing(12);
    searchLayout->addWidget(textLabel);
    searchLayout->addWidget(edtQuery);
    searchLayout->addWidget(btnQuery);
    searchLayout->addStretch(1);

    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(buttonBar);
    layout->addWidget(StringGrid1, 1);
    layout->addWidget(search);
    return column;
}

QPushButton* TCustomerPage::commandButton(const QString& caption, const char* name, Command command)
{
    auto* button = named(new QPushButton(caption), name);
    button->setMinimumWidth(75);
    button->setFixedHeight(25);
    connect(button, &QPushButton::clicked, this, command);
    return button;
}

QAction* TCustomerPage::commandItem(QMenu* menu, const QString& caption, const char* name, Command command)
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    connect(item, &QAction::triggered, this, command);
    return item;
}

void TCustomerPage::createMenus()
{
    pmCustomerType = named(new QMenu(this), "pmCustomerType");
    NAddType = commandItem(pmCustomerType, QStringLiteral("新建类别"), "NAddType", &TCustomerPage::NAddTypeClick);
    NModType = commandItem(pmCustomerType, QStringLiteral("修改类别"), "NModType", &TCustomerPage::NModTypeClick);
    NDelType = commandItem(pmCustomerType, QStringLiteral("删除类别"), "NDelType", &TCustomerPage::NDelTypeClick);
    pmCustomerType->addSeparator();
    NAddCustomer2 = commandItem(pmCustomerType, QStringLiteral("新建客户"), "NAddCustomer2", &TCustomerPage::btnAddClick);

    pmCustomer = named(new QMenu(this), "pmCustomer");
    NAddCustomer = commandItem(pmCustomer, QStringLiteral("新建客户"), "NAddCustomer", &TCustomerPage::btnAddClick);
    NModCustomer = commandItem(pmCustomer, QStringLiteral("修改"), "NModCustomer", &TCustomerPage::btnModClick);
    NDelCustomer = commandItem(pmCustomer, QStringLiteral("删除"), "NDelCustomer", &TCustomerPage::btnDelClick);
    pmCustomer->addSeparator();
    NExcel = commandItem(pmCustomer, QStringLiteral("导出Excel"), "NExcel", &TCustomerPage::btnExcelClick);
}

void TCustomerPage::Load()
{
    FillQueryFields();
    UserType->FillTypeTree(tv1);
    Customer->FillCustomerList(StringGrid1, QString(), QString(), -1);
    emit customerListChanged();
}

// Rights are applied once, after login: a change in account management shows at the next start.
void TCustomerPage::ApplyRights()
{
    const auto showByRight = [](auto* command, const QString& right) {
        command->setVisible(LoginOper->HasRight(right));
    };
    showByRight(NAddType, QStringLiteral("新建类别"));
    showByRight(NModType, QStringLiteral("修改类别"));
    showByRight(NDelType, QStringLiteral("删除类别"));
    showByRight(btnAdd, QStringLiteral("新建客户"));
    NAddCustomer->setVisible(!btnAdd->isHidden());
    NAddCustomer2->setVisible(!btnAdd->isHidden());
    showByRight(btnMod, ModifyCustomerRight);
    NModCustomer->setVisible(!btnMod->isHidden());
    showByRight(btnDel, QStringLiteral("删除客户"));
    NDelCustomer->setVisible(!btnDel->isHidden());
    showByRight(btnDIY, QStringLiteral("自定义客户信息"));
    showByRight(btnExcel, QStringLiteral("导出Excel"));
    NExcel->setVisible(!btnExcel->isHidden());
}

// An empty grid keeps one blank row under its titles.
int TCustomerPage::CustomerCount() const
{
    return StringGrid1->Cells(0, 1).isEmpty() ? 0 : StringGrid1->RowCount() - 1;
}

void TCustomerPage::ShowHint(const QString& text)
{
    statHintPanel->setText(text);
}

void TCustomerPage::FillQueryFields()
{
    QStringList titles;
    Customer->GetQueryFields(titles);
    cbbQuery->clear();
    cbbQuery->addItems(titles);
    cbbQuery->setCurrentIndex(titles.isEmpty() ? -1 : 0);
}

// A click anywhere in the tree, on a node or not, runs the query.
bool TCustomerPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tv1->viewport() && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        tv1Click();
    return QWidget::eventFilter(watched, event);
}

QTreeWidgetItem* TCustomerPage::selectedCategory() const
{
    const QList<QTreeWidgetItem*> selected = tv1->selectedItems();
    QTreeWidgetItem* node = selected.isEmpty() ? nullptr : selected.first();
    return node && node->parent() ? node : nullptr;
}

void TCustomerPage::NAddTypeClick()
{
    QString name;
    if (ShowInputBox(QStringLiteral("新建客户类别"), QStringLiteral("类别名称"), QString(), &name) != 1)
        return;
    UserType->TypeName = name;
    UserType->AddType();
    UserType->FillTypeTree(tv1);
}

// Renames in place: the tree is editable only while this command waits for
// the edit to end.
void TCustomerPage::NModTypeClick()
{
    QTreeWidgetItem* node = selectedCategory();
    if (!node)
        return;
    auto* delegate = static_cast<TCategoryTreeDelegate*>(tv1->itemDelegate());
    delegate->takeConfirmed();
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    tv1->editItem(node);
    if (QWidget* editor = tv1->itemWidget(node, 0)) {
        QEventLoop editing;
        connect(delegate, &QAbstractItemDelegate::closeEditor, &editing, &QEventLoop::quit);
        connect(editor, &QObject::destroyed, &editing, &QEventLoop::quit);
        editing.exec();
    }
    node->setFlags(node->flags() & ~Qt::ItemIsEditable);
    if (const std::optional<QString> text = delegate->takeConfirmed())
        tv1Edited(node, *text);
}

void TCustomerPage::tv1Edited(QTreeWidgetItem* node, const QString& text)
{
    if (text == node->text(0))
        return;
    const int id = UserType->GetTypeID(node->text(0));
    UserType->TypeName = text;
    UserType->RenameType(QString::number(id));
    node->setText(0, text);
    btnQueryClick();
}

void TCustomerPage::NDelTypeClick()
{
    QTreeWidgetItem* node = selectedCategory();
    if (!node || !AskYesNo(QStringLiteral("确定要删除: %1 吗？").arg(node->text(0))))
        return;
    UserType->DeleteType(QString::number(UserType->GetTypeID(node->text(0))));
    UserType->FillTypeTree(tv1);
}

void TCustomerPage::tv1Click()
{
    btnQueryClick();
}

void TCustomerPage::btnQueryClick()
{
    const QTreeWidgetItem* node = selectedCategory();
    const QString typeName = node ? node->text(0) : QString();
    WaitingScope waiting(QStringLiteral("正在查询数据,请稍候..."));
    Customer->FillCustomerList(StringGrid1, typeName, edtQuery->text(), cbbQuery->currentIndex());
    emit customerListChanged();
}

void TCustomerPage::btnDIYClick()
{
    if (EditFieldTitles() != 1)
        return;
    btnQueryClick();
    FillQueryFields();
}

// The new customer goes to the end of the list, whatever its filter and order,
// and stays there until the next query.
void TCustomerPage::btnAddClick()
{
    QString guid;
    if (ShowAddCustomer(&guid) == 1) {
        int row = 1;
        if (!StringGrid1->Cells(0, 1).isEmpty()) {
            row = StringGrid1->RowCount();
            StringGrid1->SetRowCount(row + 1);
        }
        putCustomerRow(row, guid);
    }
    emit customerListChanged();
}

// Also run by a double-click, which works when btnMod is hidden: hence the
// right is asked here too.
void TCustomerPage::btnModClick()
{
    if (!LoginOper->HasRight(ModifyCustomerRight))
        return;
    const int row = StringGrid1->Row();
    const QString key = StringGrid1->Cells(0, row);
    if (StringGrid1->RowCount() > 1 && !key.isEmpty() && ShowModCustomer(key) == 1)
        putCustomerRow(row, key);
}

void TCustomerPage::btnDelClick()
{
    const int row = StringGrid1->Row();
    const QString key = StringGrid1->Cells(0, row);
    if (StringGrid1->RowCount() <= 1 || key.isEmpty() || !AskYesNo(QStringLiteral("确实要删除所选记录吗?")))
        return;
    Customer->DeleteCustomer(key);
    StringGrid1->DeleteRow(row);
    emit customerListChanged();
    ShowInfo(QStringLiteral("删除成功！"));
}

void TCustomerPage::btnExcelClick()
{
    ExportToExcel(StringGrid1);
}

// The list row as the database gives it, untrimmed.
void TCustomerPage::putCustomerRow(int row, const QString& guid)
{
    const QStringList texts = Customer->GetCustomerRow(guid);
    for (int col = 0; col < texts.size(); ++col)
        StringGrid1->SetCell(col, row, texts.at(col));
}
