#pragma once

#include <QWidget>

class QAction;
class QMenu;
class TAlamListView;
class TRadioGroup;

// The main window's page "回访提醒": the reminders the operator may see,
// filtered by a row of choices and coloured by repeat kind, with new,
// modify, delete and refresh in the list's pop-up menu. Reminders made here
// belong to no customer. No right governs these commands.
class TReminderPage : public QWidget
{
    Q_OBJECT
public:
    explicit TReminderPage(QWidget* parent = nullptr);

    // The first fill after login: every reminder, as "全部提醒" lists them.
    void Load();
    // Refills the list under the chosen filter.
    void Fill();
    // The list changes a reminder message makes without a refill.
    void RemoveAlam(const QString& id);
    void MarkSeen(const QString& id);

private:
    QAction* commandItem(const QString& caption, const char* name, void (TReminderPage::*command)());
    void createMenu();

    void rdAlamClick();
    void NAddAlamClick();
    void NModAlamClick();
    void NDelAlamClick();
    void N2Click();

    TAlamListView* lv1;
    TRadioGroup* rdAlam;
    QMenu* NAlam;
};
