#include "mainwindowtest.h"

#include "guitest.h"

#include "data/dbaccess.h"
#include "mainwindow/mainwindow.h"

#include <QComboBox>
#include <QTest>

void AddOperator(const QString& name, const QStringList& rights)
{
    const QString escapedName = SqlEscape(name);
    QStringList batch{
        QStringLiteral("insert into Oper(OperName,OperPass,Remark) values ('%1','','')").arg(escapedName)};
    for (const QString& right : rights)
        batch.append(QStringLiteral("insert into authority(OperName,Rules) values ('%1','%2')")
                         .arg(escapedName, SqlEscape(right)));
    DbExecute(batch.join(QStringLiteral("@#@")));
}

void OpenMainWindow(std::unique_ptr<TFormMain>& window, const QString& oper)
{
    window = std::make_unique<TFormMain>();
    OnNextModal([oper](QWidget* login) {
        Child<QComboBox>(login, "cbbUserID")->setCurrentText(oper);
        QTest::keyClick(login, Qt::Key_Return);
    });
    QVERIFY(window->FormShow());
    QCOMPARE(LoginOper->OperName, oper);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}
