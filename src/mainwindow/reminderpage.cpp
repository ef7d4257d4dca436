#include "reminderpage.h"

#include "controls/radiogroup.h"
#include "reminders/alam.h"
#include "reminders/alameditor.h"
#include "reminders/alamlist.h"

#include <QMenu>
#include <QVBoxLayout>

namespace {

// From the reminder page the editor offers no "不提醒".
const int PageRepeatOffset = 1;
const int FilterStripHeight = 41;
const int FilterColumns = 8;
const int ListFontPixels = 16;

} // namespace

TReminderPage::TReminderPage(QWidget* parent)
    : QWidget(parent)
{
    lv1 = new TAlamListView({{1, false}, {80, false}, {180, true}, {150, true}, {280, true}, {72, true}},
                            ListFontPixels);
    lv1->setObjectName(QStringLiteral("lv1"));
    lv1->setToolTip(QStringLiteral("点右键新建、修改和删除提醒"));
    lv1->setAccessibleName(QStringLiteral("回访提醒"));
    connect(lv1, &QAbstractItemView::doubleClicked, this, &TReminderPage::NModAlamClick);

    rdAlam = new TRadioGroup;
    rdAlam->setObjectName(QStringLiteral("rdAlam"));
    rdAlam->SetItems({QStringLiteral("全部提醒"), QStringLiteral("今天"), QStringLiteral("明天"), QStringLiteral("错过"),
                      QStringLiteral("每天"), QStringLiteral("每周"), QStringLiteral("每月")},
                     FilterColumns);
    rdAlam->setAccessibleName(QStringLiteral("提醒范围"));
    rdAlam->SetItemIndex(FilterAll);
    connect(rdAlam, &TRadioGroup::Clicked, this, &TReminderPage::rdAlamClick);

    auto* pnl7 = new QWidget;
    pnl7->setObjectName(QStringLiteral("pnl7"));
    pnl7->setFixedHeight(FilterStripHeight);
    auto* strip = new QVBoxLayout(pnl7);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->addWidget(rdAlam);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(lv1, 1);
    layout->addWidget(pnl7);

    createMenu();
}

QAction* TReminderPage::commandItem(const QString& caption, const char* name, void (TReminderPage::*command)())
{
    QAction* item = NAlam->addAction(caption);
    item->setObjectName(QLatin1String(name));
    connect(item, &QAction::triggered, this, command);
    return item;
}

void TReminderPage::createMenu()
{
    NAlam = new QMenu(this);
    NAlam->setObjectName(QStringLiteral("NAlam"));
    commandItem(QStringLiteral("新建提醒"), "NAddAlam", &TReminderPage::NAddAlamClick);
    commandItem(QStringLiteral("修改"), "NModAlam", &TReminderPage::NModAlamClick);
    commandItem(QStringLiteral("删除"), "NDelAlam", &TReminderPage::NDelAlamClick)->setShortcut(QKeySequence::Delete);
    NAlam->addSeparator();
    commandItem(QStringLiteral("刷新"), "N2", &TReminderPage::N2Click)->setShortcut(QKeySequence::Refresh);
    lv1->SetPopupMenu(NAlam);
}

void TReminderPage::Load()
{
    Alam->FillList(lv1, FilterAll, QString());
}

// A reminder just added or changed shows only when it matches the filter.
void TReminderPage::Fill()
{
    Alam->FillList(lv1, rdAlam->ItemIndex(), QString());
}

void TReminderPage::RemoveAlam(const QString& id)
{
    lv1->RemoveAlam(id);
}

void TReminderPage::MarkSeen(const QString& id)
{
    lv1->MarkSeen(id);
}

void TReminderPage::rdAlamClick()
{
    Fill();
}

void TReminderPage::N2Click()
{
    Fill();
}

void TReminderPage::NAddAlamClick()
{
    if (ShowAddAlam(QString(), PageRepeatOffset) == 1)
        Fill();
}

void TReminderPage::NModAlamClick()
{
    if (lv1->ModifySelected(PageRepeatOffset))
        Fill();
}

// The list is not refilled: the other rows stay as the last fill found them.
void TReminderPage::NDelAlamClick()
{
    lv1->DeleteSelected();
}
