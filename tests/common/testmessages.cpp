#include "testregistry.h"

#include "common/exceptionhandler.h"
#include "common/exceptions.h"
#include "common/messages.h"
#include "common/waitingpanel.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestMessages : public QObject
{
    Q_OBJECT
private slots:
    void realBoxesHaveTheirCaptionsAndDefaults_data();
    void realBoxesHaveTheirCaptionsAndDefaults();
    void queuedAnswers();
    void handlerShowsWhatAnEventHandlerThrows_data();
    void handlerShowsWhatAnEventHandlerThrows();
    void waitingPanelKeepsItsCaption();
};

void TestMessages::realBoxesHaveTheirCaptionsAndDefaults_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("icon");
    QTest::newRow("info") << "info" << "提示" << int(QMessageBox::Information);
    QTest::newRow("question") << "ask" << "确认" << int(QMessageBox::Question);
    QTest::newRow("error") << "error" << "错误" << int(QMessageBox::Critical);
}

// A real box, answered by pressing Enter: a question answers No by default.
void TestMessages::realBoxesHaveTheirCaptionsAndDefaults()
{
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(int, icon);
    MessageTesting::end();
    QString seenCaption;
    int seenIcon = -1;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        seenCaption = box->windowTitle();
        seenIcon = box->icon();
        QTest::keyClick(box, Qt::Key_Return);
    });
    bool answer = true;
    if (kind == QLatin1String("info"))
        ShowInfo(QStringLiteral("x"));
    else if (kind == QLatin1String("ask"))
        answer = AskYesNo(QStringLiteral("确认退出程序吗?"));
    else
        ShowError(QStringLiteral("x"));
    MessageTesting::begin();
    QCOMPARE(seenCaption, caption);
    QCOMPARE(seenIcon, icon);
    if (kind == QLatin1String("ask"))
        QVERIFY(!answer);
}

void TestMessages::queuedAnswers()
{
    MessageTesting::setNextAnswer(true);
    QVERIFY(AskYesNo(QStringLiteral("a")));
    QVERIFY(!AskYesNo(QStringLiteral("b"))); // nothing queued: No
    MessageTesting::setNextFileName(QStringLiteral("/tmp/x.dat"));
    QCOMPARE(SelectSaveFile(nullptr, QString()), QStringLiteral("/tmp/x.dat"));
    QCOMPARE(SelectOpenFile(nullptr, QString()), QString());
    QCOMPARE(MessageTesting::takeShown().size(), 2);
}

void TestMessages::handlerShowsWhatAnEventHandlerThrows_data()
{
    QTest::addColumn<bool>("database");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << false << "该客户类别已经存在!";
    QTest::newRow("database") << true << "数据库操作失败！\r\n详细信息：disk full";
}

// What a click handler throws reaches the operator as a box; the program carries on.
void TestMessages::handlerShowsWhatAnEventHandlerThrows()
{
    QFETCH(bool, database);
    QFETCH(QString, shown);
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        if (database)
            throw EDBException(QStringLiteral("disk full"), QStringLiteral("数据库操作失败！"), QString());
        throw Exception(QStringLiteral("该客户类别已经存在!"));
    });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    const auto messages = MessageTesting::takeShown();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].caption, QStringLiteral("错误"));
    QCOMPARE(messages[0].text, shown);
    QCOMPARE(ExceptionHandler->LastSummary.isEmpty(), !database);
}

void TestMessages::waitingPanelKeepsItsCaption()
{
    FormWaiting = new TFormWaiting;
    ShowWaiting(QStringLiteral("正在查询数据,请稍候..."));
    QVERIFY(FormWaiting->isVisible());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    HideWaiting();
    ShowWaiting(QString());
    QCOMPARE(FormWaiting->caption(), QStringLiteral("正在查询数据,请稍候..."));
    HideWaiting();
    QVERIFY(!FormWaiting->isVisible());
    QVERIFY(!QApplication::overrideCursor());
    delete FormWaiting;
    FormWaiting = nullptr;
}

KESP_TEST(TestMessages)
#include "testmessages.moc"
