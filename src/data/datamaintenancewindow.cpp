#include "datamaintenancewindow.h"

#include "app/globals.h"
#include "common/applog.h"
#include "common/messages.h"
#include "dbaccess.h"
#include "mainwindow/mainwindow.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString DataFileFilter = QStringLiteral("数据文件 (*.dat)");

// A page with its controls centred one above the other.
QWidget* page(const char* name, const QList<QWidget*>& controls)
{
    auto* widget = new QWidget;
    widget->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(widget);
    layout->setSpacing(16);
    layout->addStretch(1);
    for (QWidget* control : controls)
        layout->addWidget(control, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    return widget;
}

QPushButton* pageButton(const QString& text, const char* name)
{
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(75, 25);
    return button;
}

} // namespace

QString SafetyCopyFileName()
{
    return AppPath + QStringLiteral("tmpData.dat");
}

TFormDataMgr::TFormDataMgr(QWidget* parent)
    : TFormDialog(parent)
{
    setObjectName(QStringLiteral("FormDataMgr"));
    setWindowTitle(QStringLiteral("数据维护"));
    setFixedSize(392, 266);

    btnSave = pageButton(QStringLiteral("备份"), "btnSave");
    btnAdd = pageButton(QStringLiteral("恢复"), "btnAdd");
    Button1 = pageButton(QStringLiteral("清除"), "Button1");
    Label1 = new QLabel(QStringLiteral("此操作将清除系统所有数据,慎用!"));
    Label1->setObjectName(QStringLiteral("Label1"));

    ts1 = page("ts1", {btnSave});
    ts2 = page("ts2", {btnAdd});
    ts3 = page("ts3", {Label1, Button1});
    pgc1 = new QTabWidget;
    pgc1->setObjectName(QStringLiteral("pgc1"));
    pgc1->addTab(ts1, QStringLiteral("数据备份"));
    pgc1->addTab(ts2, QStringLiteral("数据恢复"));
    pgc1->addTab(ts3, QStringLiteral("数据清除"));
    // Backup and restore copy the local database file; a server has none.
    const bool localFile = DbMode == 1;
    pgc1->setTabVisible(pgc1->indexOf(ts1), localFile);
    pgc1->setTabVisible(pgc1->indexOf(ts2), localFile);
    if (!localFile)
        pgc1->setCurrentWidget(ts3);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pgc1);

    connect(btnSave, &QPushButton::clicked, this, &TFormDataMgr::btnSaveClick);
    connect(btnAdd, &QPushButton::clicked, this, &TFormDataMgr::btnAddClick);
    connect(Button1, &QPushButton::clicked, this, &TFormDataMgr::Button1Click);
}

void TFormDataMgr::btnSaveClick()
{
    const QString fileName = SelectSaveFile(this, DataFileFilter);
    if (fileName.isEmpty())
        return;
    DbBackup(fileName + QStringLiteral(".dat"));
    ShowInfo(QStringLiteral("备份成功!"));
}

void TFormDataMgr::btnAddClick()
{
    if (!AskYesNo(QStringLiteral("你确定要恢复数据吗？你做的操作可能会覆盖最新的数据！")))
        return;
    const QString fileName = SelectOpenFile(this, DataFileFilter);
    if (fileName.isEmpty())
        return;
    DbBackup(SafetyCopyFileName());
    DbRestore(fileName);
    WriteAppLog(QStringLiteral("数据恢复！"));
    ShowInfo(QStringLiteral("数据恢复成功!"));
    close();
}

void TFormDataMgr::Button1Click()
{
    if (!AskYesNo(QStringLiteral("你确定要清除数据吗？你做的操作将无法还原！")))
        return;
    DbBackup(SafetyCopyFileName());
    // The rights of the removed accounts go too, so a new account of an old
    // name starts with only the rights it is given.
    DbExecute(QStringLiteral("delete from customer"
                             "@#@delete from UserType"
                             "@#@delete from Alam"
                             "@#@delete from DiyRemark"
                             "@#@delete from Oper where OperName<>'Admin' "
                             "@#@delete from authority where OperName<>'Admin' "
                             "@#@update Oper set operPass='' "));
    WriteAppLog(QStringLiteral("系统初始化！"));
    ShowInfo(QStringLiteral("清除成功,请重启软件!"));
    if (FormMain)
        FormMain->Terminate();
}

void ShowDataMaintenance()
{
    TFormDataMgr form;
    form.exec();
}
