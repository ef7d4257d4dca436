#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class QTreeWidget;
struct TMinuteRange;

// Repeat codes (ReDay) and their captions in lists and in the editor.
enum TRepeatCode { RepeatNever = 0, RepeatOnce = 1, RepeatDaily = 2, RepeatWeekly = 3, RepeatMonthly = 4 };
extern const QStringList RepeatCaptions;

// List filters of TAlam::FillList: the customer editor lists every row, the
// reminder page one of its seven choices.
enum TAlamFilter {
    FilterCustomer = -1,
    FilterAll = 0,
    FilterToday = 1,
    FilterTomorrow = 2,
    FilterMissed = 3,
    FilterDaily = 4,
    FilterWeekly = 5,
    FilterMonthly = 6,
};

// The list's state column.
extern const QString StateSeen;
extern const QString StateMissed;

// Follow-up reminders: rows of Alam. The object holds one reminder's values
// between a window and the statements; the editor writes them before Add or
// Modify, and Load overwrites them.
class TAlam
{
public:
    // Stamps the logged-in operator as the owner.
    void Add();
    // Fills a six-column list (ID, repeat caption, schedule text, title,
    // content, state) with the reminders the operator may see under filter,
    // only those of one customer when customer is not empty. A failing query
    // leaves the list as it was.
    void FillList(QTreeWidget* view, int filter, const QString& customer);
    void Delete(const QString& id);
    // Raises Exception when no reminder has this ID.
    void Load(const QString& id);
    // Clears the seen flag; the owner and the customer stay.
    void Modify(const QString& id);
    void MarkSeen(const QString& id);
    // Moves the reminder to 3, 5, 10, 30 or 60 minutes from now (kind 0 to 4),
    // seconds dropped.
    void Snooze(const QString& id, int kind);

    QDateTime AlamDate;
    QString sGUID;
    QString ReTitle;
    QString ReMark;
    int ReDay = 0;
    int iHour = 0;
    int iMinute = 0;
    int iMonWeek = 0;
    QString SQL;
};

extern TAlam* Alam;

// The firing statement: ID, ReDay, ReTitle, Remark of every reminder due in
// the minutes of range on the database's clock, by due minute, then by ID.
// Neither the owner nor the seen flag limits it.
QString DueAlamStatement(const TMinuteRange& range);
// The database's clock: the program's on the local file, the server's on
// PostgreSQL (read through TimerData).
QDateTime DatabaseNow();

// The minutes a snooze of kind 0 to 4 adds.
int SnoozeMinutes(int kind);
