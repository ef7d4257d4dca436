#include "customerfixture.h"

#include "guitest.h"

#include "controls/stringgrid.h"
#include "customers/customer.h"
#include "customers/fieldtitles.h"
#include "customers/usertype.h"
#include "data/dbaccess.h"
#include "common/clock.h"
#include "common/messages.h"
#include "operators/loginoper.h"
#include "reminders/alam.h"

#include <QCoreApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

CustomerFixture::CustomerFixture()
{
    UserType = new TUserType;
    Customer = new TCustomer;
    Alam = new TAlam;
    LoginOper = new TLoginOper;
    LoginOper->OperName = AdminName;
    FieldTitles.clear();
    UsedFieldTitles.clear();
}

CustomerFixture::~CustomerFixture()
{
    Clock::useSystemClock();
    delete LoginOper;
    LoginOper = nullptr;
    delete Alam;
    Alam = nullptr;
    delete Customer;
    Customer = nullptr;
    delete UserType;
    UserType = nullptr;
}

void CustomerFixture::setTitles(const QMap<int, QString>& titles)
{
    QStringList batch;
    for (int field = 1; field <= CustomerFieldCount; ++field)
        batch.append(QStringLiteral("update DIY set DIYName='%1' where DIYID='%2'")
                         .arg(SqlEscape(titles.value(field)), FieldNumberText(field)));
    DbExecute(batch.join(QStringLiteral("@#@")));
    LoadFieldTitles();
}

int CustomerFixture::addCategory(const QString& name)
{
    UserType->TypeName = name;
    UserType->AddType();
    return UserType->GetTypeID(name);
}

QString CustomerFixture::addCustomer(int typeID, const QMap<int, QString>& fields)
{
    Customer->sGUID = TCustomer::NewGuidString();
    Customer->TypeID = typeID;
    for (int field = 1; field <= CustomerFieldCount; ++field)
        Customer->Kesp(field) = fields.value(field);
    Customer->InsertCustomer();
    return Customer->sGUID;
}

void CustomerFixture::rejectValue(const QString& table, const QString& column, const QString& value)
{
    const QString literal = QLatin1Char('\'') + SqlEscape(value) + QLatin1Char('\'');
    if (db.engine() == TestEngine::Postgres) {
        DbExecute(QStringLiteral("alter table %1 add constraint reject_%2 check (%2 is distinct from %3)")
                      .arg(table, column, literal));
        return;
    }
    for (const QString& event : {QStringLiteral("insert"), QStringLiteral("update")}) {
        DbExecute(QStringLiteral("create trigger reject_%1_%2 before %1 on %3 when new.%2 = %4 "
                                 "begin select raise(abort, 'rejected'); end")
                      .arg(event, column, table, literal));
    }
}

QList<QStringList> CustomerFixture::rows(const QString& sql)
{
    DbAccess->OpenQuery(sql);
    QList<QStringList> result;
    for (TResultSet& data = DbAccess->QueryData; !data.Eof(); data.Next()) {
        QStringList row;
        for (int column = 0; column < data.FieldCount(); ++column)
            row.append(data.Fields(column).AsString());
        result.append(row);
    }
    return result;
}

void CustomerTestCase::init()
{
    MessageTesting::takeShown();
    fixture = std::make_unique<CustomerFixture>();
    REQUIRE_DATABASE(fixture->db);
}

void CustomerTestCase::cleanup()
{
    fixture.reset();
}

void AddHostileTextRows()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("chinese") << QStringLiteral("张三");
    QTest::newRow("quotes") << QStringLiteral("O'Brien's \"VIP\" ''");
    QTest::newRow("batch separator") << QStringLiteral("甲@#@乙@#@");
    QTest::newRow("pattern and arg markers") << QStringLiteral("100% _ %1 %9");
    QTest::newRow("emoji") << QStringLiteral("😀🎉");
    QTest::newRow("blanks") << QStringLiteral("  前后空格  ");
    QTest::newRow("long") << QString(40000, QChar(0x5BA2));
}

Shown takeShown()
{
    Shown shown;
    for (const MessageTesting::ShownMessage& message : MessageTesting::takeShown())
        shown.append({message.caption, message.text});
    return shown;
}

void DriveNextModal(std::function<void(QDialog*)> drive)
{
    OnNextModal([drive](QWidget* modal) {
        QPointer<QDialog> dialog = qobject_cast<QDialog*>(modal);
        if (!dialog)
            QFAIL("the modal window is no dialog");
        // Focus moves, and with them the checks on leaving a field, need the active window.
        if (!QTest::qWaitForWindowActive(dialog))
            QFAIL("the dialog did not become the active window");
        drive(dialog);
        if (dialog && dialog->isVisible())
            dialog->done(2);
    });
}

void TypeText(QWidget* widget, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(widget, &event);
}

void ReplaceText(QLineEdit* edit, const QString& text)
{
    edit->clear();
    TypeText(edit, text);
}

void ClickOK(QWidget* dialog)
{
    QTest::mouseClick(Child<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
}

QStringList GridColumn(const TKespStringGrid& grid, int col, int firstRow)
{
    QStringList texts;
    for (int row = firstRow; row < grid.RowCount(); ++row)
        texts.append(grid.Cells(col, row));
    return texts;
}
