#include "loginwindow.h"

#include "app/globals.h"
#include "common/messages.h"
#include "data/serverwindow.h"
#include "loginoper.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

namespace {

// Two overlapping speech bubbles, drawn so the program ships no image files.
QPixmap speechBubbles()
{
    QPixmap pixmap(33, 34);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 80, 160), 1.2));
    const auto bubble = [&painter](const QRectF& body, const QPointF& tip, const QColor& fill) {
        QPainterPath path;
        path.addRoundedRect(body, 5, 5);
        QPainterPath tail;
        tail.moveTo(body.left() + body.width() * 0.3, body.bottom() - 1);
        tail.lineTo(tip);
        tail.lineTo(body.left() + body.width() * 0.55, body.bottom() - 1);
        painter.setBrush(fill);
        painter.drawPath(path.united(tail));
    };
    bubble(QRectF(1, 2, 22, 15), QPointF(5, 23), QColor(120, 170, 240));
    bubble(QRectF(10, 12, 21, 14), QPointF(26, 32), QColor(250, 210, 90));
    return pixmap;
}

QLabel* titleLabel(const QString& text, const char* name)
{
    auto* label = new QLabel(text);
    label->setObjectName(QLatin1String(name));
    QFont font(QStringLiteral("LiSu"));
    font.setPixelSize(20);
    label->setFont(font);
    return label;
}

} // namespace

TFormLogin::TFormLogin(QWidget* parent)
    : TFormBaseDlg(parent)
{
    setObjectName(QStringLiteral("FormLogin"));
    setWindowTitle(QStringLiteral("系统登录"));
    setFixedSize(335, 210);

    auto* img1 = new QLabel;
    img1->setObjectName(QStringLiteral("img1"));
    img1->setPixmap(speechBubbles());
    cbbUserID = new QComboBox;
    cbbUserID->setObjectName(QStringLiteral("cbbUserID"));
    cbbUserID->setFixedWidth(121);
    edtPass = new QLineEdit;
    edtPass->setObjectName(QStringLiteral("edtPass"));
    edtPass->setEchoMode(QLineEdit::Password);
    edtPass->setFixedWidth(121);
    LabLogin = new QLabel(QStringLiteral("Admin默认密码空"));
    LabLogin->setObjectName(QStringLiteral("LabLogin"));
    LabLogin->setAlignment(Qt::AlignCenter);
    LabLogin->setStyleSheet(QStringLiteral("color: red"));
    LabLogin->setFixedWidth(115);
    LabLogin->setVisible(false);

    QLabel* label1 = titleLabel(QStringLiteral("账号："), "Label1");
    label1->setBuddy(cbbUserID);
    QLabel* label2 = titleLabel(QStringLiteral("密码："), "Label2");
    label2->setBuddy(edtPass);

    auto* grid = new QGridLayout(contentArea());
    grid->setContentsMargins(40, 24, 40, 8);
    grid->setHorizontalSpacing(8);
    grid->addWidget(img1, 0, 0, 2, 1, Qt::AlignVCenter);
    grid->setColumnMinimumWidth(0, 52);
    grid->addWidget(label1, 0, 1);
    grid->addWidget(cbbUserID, 0, 2);
    grid->addWidget(label2, 1, 1);
    grid->addWidget(edtPass, 1, 2);
    grid->addWidget(LabLogin, 2, 2);
    grid->setColumnStretch(3, 1);

    btnServer = new QPushButton(QStringLiteral("服务器配置"));
    btnServer->setObjectName(QStringLiteral("btnServer"));
    btnServer->setFixedSize(75, 25);
    btnServer->setAutoDefault(false);
    buttonStrip()->insertWidget(0, btnServer);
    connect(btnServer, &QPushButton::clicked, this, [] { ShowServerSettings(); });

    setTabOrder(cbbUserID, edtPass);
}

void TFormLogin::FormShow()
{
    btnServer->setVisible(DbMode == 2);
    QStringList names;
    LoginOper->ListNames(names);
    cbbUserID->clear();
    cbbUserID->addItems(names);
    cbbUserID->setCurrentIndex(names.isEmpty() ? -1 : 0);
}

void TFormLogin::btnOKClick()
{
    const QString name = cbbUserID->currentText();
    if (LoginOper->Login(name, edtPass->text())) {
        done(ResultOK);
        return;
    }
    LabLogin->setVisible(name == AdminName);
    ShowInfo(QStringLiteral("选择账号或输入密码错误!"));
    edtPass->setFocus();
}

int ShowLogin()
{
    TFormLogin form;
    return form.exec();
}
