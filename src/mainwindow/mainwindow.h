#pragma once

#include <QMainWindow>

class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTimer;

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

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createStatusBar();
    void createCustomerPage();
    void createSystemMenu();
    void createTimers();

    void btnSystemClick();
    void NOperClick();
    void NDataClick();
    void NOpenWWW1Click();
    void tmrHintTimer();
    void tmrTimeTimer();
    void TimerDBTimer();

    QTabWidget* pgcntrl1;
    QWidget* ts1;
    QWidget* ts2;
    QStatusBar* stat1;
    QLabel* statPanels[3];
    QStatusBar* statHint;
    QLabel* statHintPanel;
    QPushButton* btnSystem;
    QMenu* pmSystem;
    QAction* NOper;
    QAction* NData;
    QAction* NOpenWWW1;
    QTimer* tmrHint;
    QTimer* tmrTime;
    QTimer* TimerDB;

    int m_hintBytes = 0;
    bool m_terminating = false;
};

extern TFormMain* FormMain;

// The category tree's hint, which the hint ticker spells out byte by byte.
extern const QString CategoryTreeHint;

// The first `bytes` bytes of text in GBK, showing only complete characters.
QString GbkPrefix(const QString& text, int bytes);
