#include "mainwindow.h"

#include "customerpage.h"
#include "reminderpage.h"

#include "app/globals.h"
#include "common/clock.h"
#include "common/exceptionhandler.h"
#include "common/gbk.h"
#include "common/messages.h"
#include "common/scramble.h"
#include "common/waitingpanel.h"
#include "customers/fieldtitles.h"
#include "data/datamaintenancewindow.h"
#include "data/dbaccess.h"
#include "operators/loginoper.h"
#include "operators/loginwindow.h"
#include "operators/opermanagerwindow.h"
#include "reminders/alam.h"
#include "reminders/alamevents.h"
#include "reminders/alamfiring.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

TFormMain* FormMain = nullptr;

namespace {

// The caption and the home page address are kept scrambled in the program.
const QString TextKey = QStringLiteral("kesp");
const QString ScrambledCaption = QStringLiteral("4AE937D54DD720F77B889462EDC0B61AAE0D8A2FCAECA600823FCCF2C9");
const QString ScrambledHomePage = QStringLiteral("6E88DF20E432F8FB11B75FBB5BFE5BB857C848D377EE14011AE13B92B357BD4E08");

const QString PanelOperator = QStringLiteral("登录账号：");
const QString PanelCount = QStringLiteral("当前客户记录数:");
const QString PanelTime = QStringLiteral("当前时间：");

} // namespace

QString GbkPrefix(const QString& text, int bytes)
{
    QString prefix;
    int used = 0;
    for (int i = 0; i < text.size(); ++i) {
        // A surrogate pair is one character.
        const int length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        used += ToGbk(character).size();
        if (used > bytes)
            break;
        prefix += character;
        i += length - 1;
    }
    return prefix;
}

TFormMain::TFormMain(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FormMain"));
    resize(800, 520);

    pgcntrl1 = new QTabWidget(this);
    pgcntrl1->setObjectName(QStringLiteral("pgcntrl1"));
    ts1 = new TCustomerPage;
    ts1->setObjectName(QStringLiteral("ts1"));
    connect(ts1, &TCustomerPage::systemMenuRequested, this, &TFormMain::btnSystemClick);
    connect(ts1, &TCustomerPage::customerListChanged, this, &TFormMain::ShowCustomerCount);
    ts2 = new TReminderPage;
    ts2->setObjectName(QStringLiteral("ts2"));
    pgcntrl1->addTab(ts1, QStringLiteral("客户信息"));
    pgcntrl1->addTab(ts2, QStringLiteral("回访提醒"));
    setCentralWidget(pgcntrl1);

    createStatusBar();
    createSystemMenu();
    createTimers();

    FormWaiting = new TFormWaiting;
}

TFormMain::~TFormMain()
{
    delete FormWaiting;
    FormWaiting = nullptr;
}

void TFormMain::createStatusBar()
{
    stat1 = new QStatusBar(this);
    stat1->setObjectName(QStringLiteral("stat1"));
    const QString texts[3] = {PanelOperator, PanelCount, PanelTime};
    const int widths[3] = {120, 180, 150};
    for (int i = 0; i < 3; ++i) {
        statPanels[i] = new QLabel(texts[i]);
        statPanels[i]->setObjectName(QStringLiteral("statPanel%1").arg(i));
        statPanels[i]->setMinimumWidth(widths[i]);
        stat1->addWidget(statPanels[i]);
    }
    setStatusBar(stat1);
}

void TFormMain::createSystemMenu()
{
    pmSystem = new QMenu(this);
    pmSystem->setObjectName(QStringLiteral("pmSystem"));
    NOper = pmSystem->addAction(QStringLiteral("登录账号管理"));
    NOper->setObjectName(QStringLiteral("NOper"));
    pmSystem->addSeparator();
    NData = pmSystem->addAction(QStringLiteral("数据维护"));
    NData->setObjectName(QStringLiteral("NData"));
    pmSystem->addSeparator();
    NOpenWWW1 = pmSystem->addAction(QStringLiteral("软件主页"));
    NOpenWWW1->setObjectName(QStringLiteral("NOpenWWW1"));
    connect(NOper, &QAction::triggered, this, &TFormMain::NOperClick);
    connect(NData, &QAction::triggered, this, &TFormMain::NDataClick);
    connect(NOpenWWW1, &QAction::triggered, this, &TFormMain::NOpenWWW1Click);
}

void TFormMain::createTimers()
{
    const auto timer = [this](const char* name, int interval, void (TFormMain::*handler)()) {
        auto* t = new QTimer(this);
        t->setObjectName(QLatin1String(name));
        t->setInterval(interval);
        connect(t, &QTimer::timeout, this, handler);
        t->start();
        return t;
    };
    tmrHint = timer("tmrHint", 200, &TFormMain::tmrHintTimer);
    tmrTime = timer("tmrTime", 1000, &TFormMain::tmrTimeTimer);
    TimerDB = timer("TimerDB", 1000, &TFormMain::TimerDBTimer);
    // The reminder check runs from the window's creation on, during the login too.
    m_firing = new TAlamFiring(this, this);
    tmr1 = timer("tmr1", 1000, &TFormMain::tmr1Timer);
}

bool TFormMain::FormShow()
{
    if (ShowLogin() != 1)
        return false;
    // A failing load step stops the loading; the window still opens with what
    // was loaded before the failure.
    try {
        statPanels[0]->setText(PanelOperator + LoginOper->OperName);
        setWindowTitle(DecryptText(ScrambledCaption, TextKey));
        LoadFieldTitles();
        // The page's fill reports the count.
        ts1->Load();
        ts1->ApplyRights();
        applyRights();
        ts2->Load();
    } catch (const std::exception& failure) {
        ExceptionHandler->ReportException(failure);
    }
    return true;
}

// Rights are applied once, after login: a change in account management shows at the next start.
void TFormMain::applyRights()
{
    NOper->setVisible(LoginOper->HasRight(QStringLiteral("登录账号管理")));
    NData->setVisible(LoginOper->HasRight(QStringLiteral("数据维护")));
}

void TFormMain::ShowCustomerCount()
{
    statPanels[1]->setText(PanelCount + QString::number(ts1->CustomerCount()));
}

void TFormMain::Terminate()
{
    m_terminating = true;
    QCoreApplication::exit(0);
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    if (!m_terminating && !AskYesNo(QStringLiteral("确认退出程序吗?"))) {
        event->ignore();
        return;
    }
    delete FormWaiting;
    FormWaiting = nullptr;
    event->accept();
}

void TFormMain::btnSystemClick()
{
    pmSystem->popup(QCursor::pos());
}

void TFormMain::NOperClick()
{
    ShowOperManager();
}

void TFormMain::NDataClick()
{
    ShowDataMaintenance();
}

void TFormMain::NOpenWWW1Click()
{
    OpenDocument(this, DecryptText(ScrambledHomePage, TextKey));
}

void TFormMain::tmrHintTimer()
{
    static const int hintBytes = ToGbk(CategoryTreeHint).size();
    m_hintBytes = m_hintBytes == hintBytes ? 0 : m_hintBytes + 1;
    ts1->ShowHint(GbkPrefix(CategoryTreeHint, m_hintBytes));
}

void TFormMain::tmrTimeTimer()
{
    statPanels[2]->setText(PanelTime + Clock::now().toString(QStringLiteral("yyyy-MM-dd日 hh:mm:ss")));
}

void TFormMain::TimerDBTimer()
{
    TimerDB->stop();
    if (DbMode != 2)
        return;
    struct Restart
    {
        QTimer* timer;
        ~Restart() { timer->start(); }
    } restart{TimerDB};
    DbAccess->KeepAlive();
}

void TFormMain::tmr1Timer()
{
    m_firing->Tick();
}

void TFormMain::customEvent(QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != WM_ALAMDELETE && type != WM_ALAMSEEN && type != WM_ALAMSNOOZE)
        return QMainWindow::customEvent(event);
    const auto* choice = static_cast<const TAlamEvent*>(event);
    const QString id = QString::number(choice->Id);
    if (type == WM_ALAMDELETE)
        WMAlamDelete(id);
    else if (type == WM_ALAMSEEN)
        WMAlamSeen(id);
    else
        WMAlamSnooze(id, choice->SnoozeKind);
}

// A failing statement raises before the list is touched, so the list stays as it was.
void TFormMain::WMAlamDelete(const QString& id)
{
    Alam->Delete(id);
    ts2->RemoveAlam(id);
}

void TFormMain::WMAlamSeen(const QString& id)
{
    Alam->MarkSeen(id);
    ts2->MarkSeen(id);
}

void TFormMain::WMAlamSnooze(const QString& id, int kind)
{
    Alam->Snooze(id, kind);
    ts2->Fill();
}
