#include "customereditor.h"

#include "common/messages.h"
#include "customer.h"
#include "reminders/alam.h"
#include "reminders/alameditor.h"
#include "reminders/alamlist.h"
#include "usertype.h"
#include "valuelistbox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const int LabelWidth = 72;
const int InputHeight = 21;
const int ShortInputWidth = 121;
const int MiddleInputWidth = 298;
// Fields 3 to 14 take their values from drop-down boxes with a value list.
const int FirstListField = 3;
// Fields 3 to 10 sit two to a row; 11 to 14 have a row of their own.
const int FirstWideField = 11;
// From the customer editor the reminder editor also offers "不提醒".
const int EditorRepeatOffset = 0;
const int AlamBarHeight = 52;
const int AlamFontPixels = 13;

// Field controls keep their place when hidden, so the fields after an unused
// one stay where the operator knows them.
template <typename Widget>
Widget* fieldControl(Widget* widget, const char* prefix, int field)
{
    widget->setObjectName(QLatin1String(prefix) + FieldNumberText(field));
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
    return widget;
}

QLabel* fieldLabel(const QString& caption, int field, QWidget* buddy)
{
    auto* label = fieldControl(new QLabel(caption), "Lab", field);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setBuddy(buddy);
    return label;
}

// A box and its "+" button side by side.
QHBoxLayout* boxWithButton(QWidget* box, QWidget* button)
{
    auto* pair = new QHBoxLayout;
    pair->setSpacing(0);
    pair->addWidget(box);
    pair->addWidget(button);
    return pair;
}

} // namespace

TFormBaseCustomer::TFormBaseCustomer(QWidget* parent)
    : TFormBaseDlg(parent)
{
    setFixedSize(640, 520);

    auto* pgcntrl1 = new QTabWidget(contentArea());
    pgcntrl1->setObjectName(QStringLiteral("pgcntrl1"));
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsBasic"));
    pgcntrl1->addTab(page, QStringLiteral("基本资料"));
    auto* layout = new QVBoxLayout(contentArea());
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(pgcntrl1);

    auto* alamPage = new QWidget;
    alamPage->setObjectName(QStringLiteral("tsAlam"));
    pgcntrl1->addTab(alamPage, QStringLiteral("回访提醒"));

    createBasicPage(page);
    createAlamPage(alamPage);
    ApplyFieldTitles(this, false);
    hideUnusedFields(page);
}

void TFormBaseCustomer::createBasicPage(QWidget* page)
{
    cbbUserType = new QComboBox;
    cbbUserType->setObjectName(QStringLiteral("cbbUserType"));
    cbbUserType->setFixedSize(ShortInputWidth, InputHeight);
    LabGou = new QLabel(QStringLiteral("所属类别"));
    LabGou->setObjectName(QStringLiteral("LabGou"));
    LabGou->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LabGou->setBuddy(cbbUserType);

    edt200001 = fieldControl(new QLineEdit, "edt", 1);
    edt200001->setFixedSize(ShortInputWidth, InputHeight);
    edt200002 = fieldControl(new QLineEdit, "edt", 2);
    edt200002->setFixedSize(ShortInputWidth, InputHeight);
    Lab200001 = fieldLabel(QStringLiteral("会员号码"), 1, edt200001);
    Lab200002 = fieldLabel(QStringLiteral("会员姓名"), 2, edt200002);

    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(2, 18, 6, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(21);
    grid->setColumnMinimumWidth(0, LabelWidth);
    grid->setColumnMinimumWidth(2, LabelWidth);

    auto* names = new QHBoxLayout;
    names->setSpacing(6);
    names->addWidget(edt200001);
    names->addWidget(Lab200002, 1);
    names->addWidget(edt200002);
    grid->addWidget(LabGou, 0, 0);
    grid->addWidget(cbbUserType, 0, 1, Qt::AlignLeft);
    grid->addWidget(Lab200001, 0, 2);
    grid->addLayout(names, 0, 3);

    for (int field = FirstListField; field <= CustomerFieldCount; ++field) {
        auto* box = fieldControl(new TValueListBox(FieldColumnName(field)), "cbb", field);
        box->setFixedHeight(InputHeight);
        m_fieldBoxes[field - FirstListField] = box;
        auto* button = fieldControl(new QPushButton(QStringLiteral("+")), "btn", field);
        button->setFixedSize(InputHeight, InputHeight);
        button->setAutoDefault(false);
        button->setToolTip(QStringLiteral("选择信息列表"));
        connect(button, &QPushButton::clicked, this, [this, field] { btnValueListClick(field); });
        QLabel* label = fieldLabel(QStringLiteral("自定义"), field, box);

        if (field < FirstWideField) {
            // Odd fields on the left, even fields on the right.
            const int row = (field - 1) / 2;
            const bool left = field % 2 == 1;
            box->setFixedWidth(left ? ShortInputWidth : MiddleInputWidth);
            grid->addWidget(label, row, left ? 0 : 2);
            grid->addLayout(boxWithButton(box, button), row, left ? 1 : 3, Qt::AlignLeft);
        } else {
            const int row = field - FirstWideField + 5;
            box->setSizePolicy(QSizePolicy::Expanding, box->sizePolicy().verticalPolicy());
            grid->addWidget(label, row, 0);
            grid->addLayout(boxWithButton(box, button), row, 1, 1, 3);
        }
    }
    grid->setRowStretch(9, 1);
    grid->setColumnStretch(4, 1);
}

void TFormBaseCustomer::createAlamPage(QWidget* page)
{
    auto* bar = new QWidget;
    bar->setObjectName(QStringLiteral("pnlAlamButtons"));
    bar->setFixedHeight(AlamBarHeight);
    auto* buttons = new QHBoxLayout(bar);
    buttons->setContentsMargins(4, 0, 4, 0);
    auto* pmAlam = new QMenu(this);
    pmAlam->setObjectName(QStringLiteral("pmAlam"));
    const auto command = [&](const QString& caption, const char* button, const QString& item, const char* itemName,
                             void (TFormBaseCustomer::*handler)()) {
        auto* pushButton = new QPushButton(caption);
        pushButton->setObjectName(QLatin1String(button));
        pushButton->setMinimumWidth(75);
        buttons->addWidget(pushButton);
        connect(pushButton, &QPushButton::clicked, this, handler);
        QAction* menuItem = pmAlam->addAction(item);
        menuItem->setObjectName(QLatin1String(itemName));
        connect(menuItem, &QAction::triggered, this, handler);
        return menuItem;
    };
    command(QStringLiteral("新建"), "btnAdd", QStringLiteral("新建提醒"), "NAdd", &TFormBaseCustomer::btnAddClick);
    command(QStringLiteral("修改"), "btnMod", QStringLiteral("修改"), "NMod", &TFormBaseCustomer::btnModClick);
    command(QStringLiteral("删除"), "btnDel", QStringLiteral("删除"), "NDel", &TFormBaseCustomer::btnDelClick)
        ->setShortcut(QKeySequence::Delete);
    buttons->addStretch(1);

    lv1 = new TAlamListView({{1, false}, {72, false}, {150, false}, {100, false}, {220, false}, {72, false}},
                            AlamFontPixels);
    lv1->setObjectName(QStringLiteral("lv1"));
    lv1->setToolTip(QStringLiteral("点右键可以新建、修改和删除提醒"));
    lv1->setAccessibleName(QStringLiteral("回访提醒"));
    lv1->SetPopupMenu(pmAlam);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(lv1, 1);
}

// A field without a title loses its label, its input and its "+" button.
void TFormBaseCustomer::hideUnusedFields(QWidget* page)
{
    for (QWidget* control : page->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const bool fieldKind = qobject_cast<QAbstractButton*>(control) || qobject_cast<QLabel*>(control)
            || qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control);
        if (fieldKind && IndexOfFieldNumber(UsedFieldTitles, FieldNumberOf(control)) < 0)
            control->hide();
    }
    LabGou->show();
    cbbUserType->show();
}

void TFormBaseCustomer::FormShow()
{
    QStringList names;
    UserType->GetTypeNames(names);
    cbbUserType->clear();
    cbbUserType->addItems(names);
}

void TFormBaseCustomer::btnOKClick()
{
    SaveCustomer();
}

QString TFormBaseCustomer::FieldText(int field) const
{
    if (field == 1)
        return edt200001->text();
    if (field == 2)
        return edt200002->text();
    return m_fieldBoxes[field - FirstListField]->currentText();
}

void TFormBaseCustomer::SetFieldText(int field, const QString& text)
{
    if (field == 1)
        edt200001->setText(text);
    else if (field == 2)
        edt200002->setText(text);
    else
        m_fieldBoxes[field - FirstListField]->setEditText(text);
}

void TFormBaseCustomer::btnValueListClick(int field)
{
    EditValueList(FieldColumnName(field));
}

void TFormBaseCustomer::FillAlamList()
{
    Alam->FillList(lv1, FilterCustomer, CustomerGuid);
}

void TFormBaseCustomer::btnAddClick()
{
    if (ShowAddAlam(CustomerGuid, EditorRepeatOffset) == 1)
        FillAlamList();
}

void TFormBaseCustomer::btnModClick()
{
    if (lv1->ModifySelected(EditorRepeatOffset))
        FillAlamList();
}

void TFormBaseCustomer::btnDelClick()
{
    lv1->DeleteSelected();
}

bool TFormBaseCustomer::CheckNames()
{
    const QString title1 = Lab200001->text();
    const QString title2 = Lab200002->text();
    if (!edt200001->text().trimmed().isEmpty() || !edt200002->text().trimmed().isEmpty())
        return true;
    if (!title1.isEmpty() && !title2.isEmpty()) {
        ShowInfo(QStringLiteral("客户信息 %1或%2 必须填一个!").arg(title1, title2));
        return false;
    }
    // Only one of the two fields is in use: that one must not be empty, though blanks will do.
    QLineEdit* required = title1.isEmpty() ? edt200002 : edt200001;
    if (!required->text().isEmpty())
        return true;
    ShowInfo(QStringLiteral("%1 不能为空!").arg(title1.isEmpty() ? title2 : title1));
    required->setFocus();
    return false;
}

void TFormBaseCustomer::WriteCustomer()
{
    Customer->TypeID = UserType->GetTypeID(cbbUserType->currentText());
    for (int field = 1; field <= CustomerFieldCount; ++field)
        Customer->Kesp(field) = FieldText(field);
}

TFormAddCustomer::TFormAddCustomer(QWidget* parent)
    : TFormBaseCustomer(parent)
{
    setObjectName(QStringLiteral("FormAddCustomer"));
    setWindowTitle(QStringLiteral("新建客户信息"));
}

void TFormAddCustomer::FormShow()
{
    TFormBaseCustomer::FormShow();
    cbbUserType->setCurrentIndex(cbbUserType->count() > 0 ? 0 : -1);
    CustomerGuid = TCustomer::NewGuidString();
}

void TFormAddCustomer::SaveCustomer()
{
    if (cbbUserType->currentText().isEmpty()) {
        ShowInfo(QStringLiteral("会员类别不能为空!"));
        return;
    }
    if (!CheckNames())
        return;
    Customer->sGUID = CustomerGuid;
    WriteCustomer();
    Customer->InsertCustomer();
    done(ResultOK);
}

TFormModCustomer::TFormModCustomer(QWidget* parent)
    : TFormBaseCustomer(parent)
{
    setObjectName(QStringLiteral("FormModCustomer"));
    setWindowTitle(QStringLiteral("修改客户信息"));
}

void TFormModCustomer::FormShow()
{
    TFormBaseCustomer::FormShow();
    Customer->LoadCustomer(CustomerGuid);
    cbbUserType->setCurrentIndex(cbbUserType->findText(Customer->TypeName, Qt::MatchExactly | Qt::MatchCaseSensitive));
    for (int field = 1; field <= CustomerFieldCount; ++field)
        SetFieldText(field, Customer->Kesp(field));
    FillAlamList();
}

void TFormModCustomer::SaveCustomer()
{
    if (!CheckNames())
        return;
    WriteCustomer();
    Customer->UpdateCustomer(CustomerGuid);
    done(ResultOK);
}

int ShowAddCustomer(QString* guid)
{
    TFormAddCustomer form;
    const int result = form.exec();
    if (result == TFormBaseDlg::ResultOK)
        *guid = form.CustomerGuid;
    return result;
}

int ShowModCustomer(const QString& guid)
{
    TFormModCustomer form;
    form.CustomerGuid = guid;
    return form.exec();
}
