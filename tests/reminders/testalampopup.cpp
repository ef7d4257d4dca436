#include "alamtestutils.h"
#include "guitest.h"
#include "testregistry.h"

#include "reminders/alampopup.h"
#include "reminders/chime.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QVBoxLayout>

// The pop-up of a due reminder: what it shows, where, and what its choices post.
class TestAlamPopup : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void looks_data();
    void looks();
    void rollsInAtTheCorner();
    void choices_data();
    void choices();
    void leavesTheFocusWhereItWas();

private:
    TFormShowAlam* show(bool repeating);

    AlamEventLog m_events;
};

namespace {

const QString Title = QStringLiteral("回访王先生");
const QString Content = QStringLiteral("带上合同\n确认交货日期");

} // namespace

TFormShowAlam* TestAlamPopup::show(bool repeating)
{
    return ShowAlamPopup(QStringLiteral("7"), Title, Content, repeating, &m_events);
}

void TestAlamPopup::cleanup()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<TFormShowAlam*>(window))
            window->close();
    }
    FlushDeletes();
    m_events.take();
}

void TestAlamPopup::looks_data()
{
    QTest::addColumn<bool>("repeating");
    QTest::addColumn<QStringList>("buttons");

    QTest::newRow("one-time") << false << QStringList{"再次提醒", "看到了并删除", "看到了并保留"};
    QTest::newRow("repeating") << true << QStringList{"看到了"};
}

void TestAlamPopup::looks()
{
    QFETCH(bool, repeating);
    QFETCH(QStringList, buttons);

    TFormShowAlam* popup = show(repeating);
    QCOMPARE(popup->windowTitle(), QStringLiteral("提醒"));
    QCOMPARE(popup->size(), QSize(292, 198));
    const Qt::WindowFlags flags = popup->windowFlags();
    QVERIFY(flags & Qt::WindowStaysOnTopHint);
    QVERIFY(!(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint | Qt::WindowSystemMenuHint)));
    QCOMPARE(popup->palette().color(QPalette::Window), QColor(240, 240, 240));
    QVERIFY(!popup->parentWidget());

    QCOMPARE(popup->mmoTitle->toPlainText(), Title);
    QCOMPARE(popup->mmo1->toPlainText(), Content);
    for (QTextEdit* text : {popup->mmoTitle, popup->mmo1}) {
        QVERIFY(text->isReadOnly());
        QCOMPARE(text->font().pixelSize(), 17);
        QCOMPARE(text->palette().color(QPalette::Text), QColor(Qt::red));
        QCOMPARE(int(text->document()->lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask),
                 int(Qt::AlignHCenter));
    }
    QCOMPARE(popup->mmoTitle->height(), 24);

    // Left to right along the bottom strip.
    QList<QPushButton*> shown;
    for (QPushButton* button : {popup->btnCon, popup->btnOkDel, popup->btnOkSave}) {
        QCOMPARE(button->size(), QSize(86, 25));
        if (button->isVisible())
            shown.append(button);
    }
    QStringList captions;
    for (int i = 0; i < shown.size(); ++i) {
        captions.append(shown[i]->text());
        QVERIFY(shown[i]->mapTo(popup, QPoint()).y() >= popup->height() - 34);
        if (i > 0)
            QVERIFY(shown[i - 1]->mapTo(popup, QPoint()).x() < shown[i]->mapTo(popup, QPoint()).x());
    }
    QCOMPARE(captions, buttons);
    QVERIFY(popup->btnOkSave->mapTo(popup, QPoint()).x() + 86 > popup->width() - 20);
}

void TestAlamPopup::rollsInAtTheCorner()
{
    const int chimes = TChime::Instance().PlayCount();
    TFormShowAlam* popup = show(false);
    QVERIFY(popup->isVisible());
    QCOMPARE(TChime::Instance().PlayCount(), chimes + 1);

    // The roll shows the bottom edge first.
    const QRect rolling = popup->mask().boundingRect();
    QVERIFY(!rolling.isEmpty());
    QVERIFY(rolling.top() > 0);
    QCOMPARE(rolling.bottom(), popup->height() - 1);
    QTRY_VERIFY(popup->mask().isEmpty());
    QVERIFY(popup->isVisible());

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = popup->frameGeometry();
    QCOMPARE(frame.topLeft(), QPoint(screen.width() - frame.width() - 2, screen.height() - frame.height() - 27));
}

void TestAlamPopup::choices_data()
{
    QTest::addColumn<bool>("repeating");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("posted");

    QTest::newRow("seen") << false << "btnOkSave" << "seen 7";
    QTest::newRow("delete") << false << "btnOkDel" << "delete 7";
    QTest::newRow("3 minutes") << false << "N31" << "snooze 7 0";
    QTest::newRow("5 minutes") << false << "N51" << "snooze 7 1";
    QTest::newRow("10 minutes") << false << "N101" << "snooze 7 2";
    QTest::newRow("30 minutes") << false << "N301" << "snooze 7 3";
    QTest::newRow("1 hour") << false << "N11" << "snooze 7 4";
    QTest::newRow("repeating: acknowledged only") << true << "btnOkSave" << "";
}

void TestAlamPopup::choices()
{
    QFETCH(bool, repeating);
    QFETCH(QString, choice);
    QFETCH(QString, posted);

    QPointer<TFormShowAlam> popup = show(repeating);
    if (auto* button = popup->findChild<QPushButton*>(choice)) {
        QTest::mouseClick(button, Qt::LeftButton);
    } else {
        QTest::mouseClick(popup->btnCon, Qt::LeftButton);
        QTRY_VERIFY(popup->pm1->isVisible());
        auto* item = popup->findChild<QAction*>(choice);
        QVERIFY(item);
        QTest::mouseClick(popup->pm1, Qt::LeftButton, {}, popup->pm1->actionGeometry(item).center());
    }
    QCOMPARE(m_events.take().join(QLatin1Char(',')), posted);
    FlushDeletes();
    QVERIFY(!popup);
}

void TestAlamPopup::leavesTheFocusWhereItWas()
{
    QWidget window;
    auto* edit = new QLineEdit(&window);
    (new QVBoxLayout(&window))->addWidget(edit);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("abc"));

    TFormShowAlam* popup = show(false);
    QTRY_VERIFY(popup->mask().isEmpty());
    QCOMPARE(QApplication::activeWindow(), &window);
    QCOMPARE(QApplication::focusWidget(), edit);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("d"));
    QCOMPARE(edit->text(), QStringLiteral("abcd"));

    // One click on the inactive pop-up does it.
    QTest::mouseClick(popup->btnOkSave, Qt::LeftButton);
    QCOMPARE(m_events.take(), QStringList{"seen 7"});
    QCOMPARE(QApplication::focusWidget(), edit);
}

KESP_TEST(TestAlamPopup)
#include "testalampopup.moc"
