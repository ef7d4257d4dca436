#include "operwindow.h"

#include "common/exceptions.h"
#include "controls/checktreeview.h"
#include "data/dbaccess.h"
#include "loginoper.h"
#include "oper.h"

#include <QFrame>
#include <QGridLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* namedEdit(const char* name, QLineEdit::EchoMode echoMode = QLineEdit::Normal)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    edit->setEchoMode(echoMode);
    return edit;
}

QLabel* buddyLabel(const QString& text, QWidget* buddy, const char* name)
{
    auto* label = new QLabel(text);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFixedWidth(72);
    label->setBuddy(buddy);
    return label;
}

QTreeWidgetItem* lastNodeInDisplayOrder(const QTreeWidget* tree)
{
    QTreeWidgetItem* node = tree->topLevelItem(tree->topLevelItemCount() - 1);
    while (node && node->childCount() > 0)
        node = node->child(node->childCount() - 1);
    return node;
}

} // namespace

TFormBaseOper::TFormBaseOper(QWidget* parent)
    : TFormBaseDlg(parent)
{
    resize(430, 460);

    edtName = namedEdit("edtName");
    edtName->setMaxLength(40);
    edtNewPass = namedEdit("edtNewPass", QLineEdit::Password);
    edtPass = namedEdit("edtPass", QLineEdit::Password);
    edtRemark = namedEdit("edtRemark");
    for (QLineEdit* edit : {edtName, edtNewPass, edtPass})
        edit->setFixedWidth(121);

    QLabel* label1 = buddyLabel(QStringLiteral("账号"), edtName, "Label1");
    label1->setStyleSheet(QStringLiteral("color: red"));

    auto* fields = new QGridLayout;
    fields->setContentsMargins(2, 14, 20, 10);
    fields->setHorizontalSpacing(4);
    fields->setVerticalSpacing(14);
    fields->addWidget(label1, 0, 0);
    fields->addWidget(edtName, 0, 1);
    fields->addWidget(buddyLabel(QStringLiteral("密码"), edtNewPass, "Label3"), 1, 0);
    fields->addWidget(edtNewPass, 1, 1);
    fields->addWidget(buddyLabel(QStringLiteral("再输入次"), edtPass, "Label4"), 1, 2);
    fields->addWidget(edtPass, 1, 3);
    fields->addWidget(buddyLabel(QStringLiteral("备注"), edtRemark, "Label2"), 2, 0);
    fields->addWidget(edtRemark, 2, 1, 1, 3);
    fields->setColumnStretch(4, 1);

    tv1 = new TKespCheckTreeView;
    tv1->setObjectName(QStringLiteral("tv1"));
    tv1->setAccessibleName(QStringLiteral("权限"));
    tv1->setIndentation(19);
    tv1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tv1->SetCanDisableNode(false);

    auto* panel2 = new QFrame;
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel2->setMinimumHeight(257);
    auto* panelLayout = new QVBoxLayout(panel2);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    panelLayout->addWidget(tv1);

    auto* layout = new QVBoxLayout(contentArea());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(fields);
    layout->addWidget(panel2, 1);

    setTabOrder(edtName, edtNewPass);
    setTabOrder(edtNewPass, edtPass);
    setTabOrder(edtPass, edtRemark);
    setTabOrder(edtRemark, btnOK);
    setTabOrder(btnOK, btnCancel);
    setTabOrder(btnCancel, tv1);

    EditOper = std::make_unique<TOper>(tv1);
}

TFormBaseOper::~TFormBaseOper() = default;

void TFormBaseOper::FillRightsTree()
{
    DbAccess->OpenQuery(QStringLiteral("select SelfIndex,ParentIndex,TypeName from Rules order by SelfIndex asc"));
    // SelfIndex is the table's key, so the first node with an index is the only one.
    QHash<int, QTreeWidgetItem*> nodes;
    for (TResultSet& rules = DbAccess->QueryData; !rules.Eof(); rules.Next()) {
        TNodeData data;
        data.SelfIndex = rules.Fields(0).AsInteger();
        data.ParentIndex = rules.Fields(1).AsInteger();
        data.TypeName = rules.Fields(2).AsString();

        auto* node = new QTreeWidgetItem(QStringList(data.TypeName));
        node->setData(0, Qt::UserRole, QVariant::fromValue(data));
        // A row whose parent is not (yet) in the tree goes under the last node
        // in display order, or to the top of an empty tree.
        QTreeWidgetItem* parentNode = nullptr;
        if (data.ParentIndex != 0) {
            parentNode = nodes.value(data.ParentIndex);
            if (!parentNode)
                parentNode = lastNodeInDisplayOrder(tv1);
        }
        if (parentNode)
            parentNode->addChild(node);
        else
            tv1->addTopLevelItem(node);
        nodes.insert(data.SelfIndex, node);
    }
    for (QTreeWidgetItem* node : tv1->AllNodes())
        tv1->SetNodeChecked(node, false);
}

void TFormBaseOper::CheckOperInput() const
{
    if (edtName->text().trimmed().isEmpty())
        throw Exception(QStringLiteral("登录账号不能为空!"));
    if (edtPass->text() != edtNewPass->text())
        throw Exception(QStringLiteral("两次输入密码不同!"));
}

void TFormBaseOper::btnOKClick()
{
    CheckOperInput();
    EditOper->OperName = edtName->text();
    EditOper->OperPass = edtPass->text();
    EditOper->Remark = edtRemark->text();
    SaveOper();
    done(ResultOK);
}

TFormAddOper::TFormAddOper(QWidget* parent)
    : TFormBaseOper(parent)
{
    setObjectName(QStringLiteral("FormAddOper"));
    setWindowTitle(QStringLiteral("新建登录账号"));
}

void TFormAddOper::FormShow()
{
    FillRightsTree();
    edtName->setFocus();
}

void TFormAddOper::SaveOper()
{
    EditOper->Insert();
}

TFormModOper::TFormModOper(const QString& name, QWidget* parent)
    : TFormBaseOper(parent)
{
    setObjectName(QStringLiteral("FormModOper"));
    setWindowTitle(QStringLiteral("修改登录账号"));
    edtName->setEnabled(false);
    EditOper->Load(name);
}

void TFormModOper::FormShow()
{
    FillRightsTree();
    edtName->setText(EditOper->OperName);
    edtPass->setText(EditOper->OperPass.trimmed());
    edtNewPass->setText(EditOper->OperPass.trimmed());
    edtRemark->setText(EditOper->Remark);

    // Admin holds every right: the whole tree shows checked and cannot be changed.
    const bool admin = EditOper->OperName == AdminName;
    for (QTreeWidgetItem* node : tv1->AllNodes()) {
        if (admin || EditOper->Rights.contains(node->text(0), Qt::CaseInsensitive))
            tv1->SetNodeChecked(node, true);
    }
    tv1->setEnabled(!admin);
    edtNewPass->setFocus();
}

void TFormModOper::SaveOper()
{
    EditOper->Update();
}

int ShowAddOper()
{
    TFormAddOper form;
    return form.exec();
}

int ShowModOper(const QString& name)
{
    TFormModOper form(name);
    return form.exec();
}
