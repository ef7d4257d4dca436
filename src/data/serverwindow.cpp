#include "serverwindow.h"

#include "common/messages.h"
#include "common/namedcontrols.h"
#include "common/scramble.h"
#include "dbaccess.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

const QString LabelDomain = QStringLiteral("域  名：");
const QString LabelServer = QStringLiteral("服务器：");

} // namespace

TFormServer::TFormServer(QWidget* parent)
    : TFormDialog(parent)
{
    setObjectName(QStringLiteral("FormServer"));
    setWindowTitle(QStringLiteral("服务器信息配置"));
    setFixedSize(327, 271);

    auto* group = named(new QGroupBox(QStringLiteral("身份验证方式")), "GroupBox1");
    group->setFixedHeight(123);
    RadioButton1 = named(new QRadioButton(QStringLiteral("使用 Windows 身份验证")), "RadioButton1");
    RadioButton2 = named(new QRadioButton(QStringLiteral("使用SQLServer身份验证")), "RadioButton2");
    // The two buttons are switched by their click handlers, not as one exclusive group.
    RadioButton1->setAutoExclusive(false);
    RadioButton2->setAutoExclusive(false);
    RadioButton1->setChecked(true);
    EditUser = named(new QLineEdit(QStringLiteral("sa")), "EditUser");
    EditUser->setEnabled(false);
    EditPwd = named(new QLineEdit, "EditPwd");
    EditPwd->setEchoMode(QLineEdit::Password);
    EditPwd->setEnabled(false);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(RadioButton1);
    groupLayout->addWidget(RadioButton2);
    auto* credentials = new QFormLayout;
    credentials->addRow(buddyLabel(QStringLiteral("用户名:"), EditUser, "Label3"), EditUser);
    credentials->addRow(buddyLabel(QStringLiteral("密  码:"), EditPwd, "Label4"), EditPwd);
    groupLayout->addLayout(credentials);

    CWWW = named(new QCheckBox(QStringLiteral("使用域名解析")), "CWWW");
    EditServer = named(new QLineEdit(QStringLiteral("(Local)")), "EditServer");
    EditDB = named(new QLineEdit(QStringLiteral("Dravlok")), "EditDB");
    LabWWW = buddyLabel(QStringLiteral("服务器:"), EditServer, "LabWWW");
    auto* place = new QFormLayout;
    place->addRow(LabWWW, EditServer);
    place->addRow(buddyLabel(QStringLiteral("数据库:"), EditDB, "Label2"), EditDB);

    auto* bevel = named(new QFrame, "Bevel1");
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);

    BitBtnOK = named(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("确定")), "BitBtnOK");
    BitBtnCancel = named(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("取消")),
                         "BitBtnCancel");
    for (QPushButton* button : {BitBtnOK, BitBtnCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtnOK);
    buttons->addWidget(BitBtnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(CWWW);
    layout->addLayout(place);
    layout->addStretch(1);
    layout->addWidget(bevel);
    layout->addLayout(buttons);

    setTabOrder(EditServer, EditDB);
    setTabOrder(EditDB, BitBtnCancel);
    setTabOrder(BitBtnCancel, BitBtnOK);
    setTabOrder(BitBtnOK, RadioButton1);
    setTabOrder(RadioButton1, RadioButton2);
    setTabOrder(RadioButton2, EditUser);
    setTabOrder(EditUser, EditPwd);
    setTabOrder(EditPwd, CWWW);

    connect(RadioButton1, &QRadioButton::clicked, this, &TFormServer::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &TFormServer::RadioButton2Click);
    connect(CWWW, &QCheckBox::clicked, this, &TFormServer::CWWWClick);
    connect(BitBtnOK, &QPushButton::clicked, this, &TFormServer::BitBtnOKClick);
    connect(BitBtnCancel, &QPushButton::clicked, this, &TFormServer::reject);
}

void TFormServer::keyPressEvent(QKeyEvent* event)
{
    // Neither button reacts to Enter or Escape.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFormServer::reject()
{
    done(2);
}

void TFormServer::FormShow()
{
    const TServerSettings settings = ReadServerSettings();
    if (settings.ConnectModel != 0) {
        if (settings.ConnectWWW)
            LabWWW->setText(LabelDomain);
        CWWW->setChecked(settings.ConnectWWW);
        RadioButton2Click();
        EditUser->setText(settings.UserID);
        EditPwd->setText(settings.Password);
    } else {
        RadioButton1Click();
    }
    EditServer->setText(settings.DataSource);
    EditDB->setText(settings.Database);
}

void TFormServer::RadioButton1Click()
{
    RadioButton1->setChecked(true);
    EditUser->setEnabled(false);
    EditPwd->setEnabled(false);
    RadioButton2->setChecked(false);
}

void TFormServer::RadioButton2Click()
{
    RadioButton2->setChecked(true);
    EditUser->setEnabled(true);
    EditPwd->setEnabled(true);
    RadioButton1->setChecked(false);
}

void TFormServer::CWWWClick()
{
    LabWWW->setText(CWWW->isChecked() ? LabelDomain : LabelServer);
}

void TFormServer::BitBtnOKClick()
{
    const QString server = EditServer->text().trimmed();
    const QString database = EditDB->text().trimmed();
    if (RadioButton1->isChecked())
        DbAccess->SaveServerSettings(0, CWWW->isChecked(), QString(), QString(), server, database);
    else
        DbAccess->SaveServerSettings(1, CWWW->isChecked(), EditUser->text().trimmed(),
                                     EncryptText(EditPwd->text().trimmed(), ServerPasswordKey), server, database);
    ShowInfo(QStringLiteral("数据库连接参数配置成功,请重新运行系统!"));
    done(1);
}

int ShowServerSettings()
{
    TFormServer form;
    return form.exec();
}
