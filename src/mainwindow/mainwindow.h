#pragma once

#include <QMainWindow>

class QLabel;
class QMenu;
class QStatusBar;
class QTabWidget;
class QTimer;
class TCustomerPage;
class TAlamFiring;
class TReminderPage;

// The program's main window: login, the two pages, the status bar with the
// operator, the record count and the clock, the system menu and the timers.
class TFormMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // Runs the login and loads the window before it is first shown; false
    // when the login was cancelled and the program is to end.
    bool FormShow();

    // Ends the program without the exit question.
    void Terminate();

    // Writes the number of customers in the grid into the status bar.
    void ShowCustomerCount();

protected:
    void closeEvent(QCloseEvent* event) override;
    // The reminder pop-ups' choices, posted to this window.
    void customEvent(QEvent* event) override;

private:
    void createStatusBar();
    void createSystemMenu();
    void createTimers();
    // Shows each of the frame's own commands only to an operator holding its right.
    void applyRights();

    void btnSystemClick();
    void NOperClick();
    void NDataClick();
    void NOpenWWW1Click();
    void tmrHintTimer();
    void tmrTimeTimer();
    void TimerDBTimer();
    void tmr1Timer();
    void WMAlamDelete(const QString& id);
    void WMAlamSeen(const QString& id);
    void WMAlamSnooze(const QString& id, int kind);

    QTabWidget* pgcntrl1;
    TCustomerPage* ts1;
    TReminderPage* ts2;
    QStatusBar* stat1;
    QLabel* statPanels[3];
    QMenu* pmSystem;
    QAction* NOper;
    QAction* NData;
    QAction* NOpenWWW1;
    QTimer* tmrHint;
    QTimer* tmrTime;
    QTimer* TimerDB;
    QTimer* tmr1;
    TAlamFiring* m_firing;

    int m_hintBytes = 0;
    bool m_terminating = false;
};

extern TFormMain* FormMain;

// The first `bytes` bytes of text in GBK, showing only complete characters.
QString GbkPrefix(const QString& text, int bytes);
