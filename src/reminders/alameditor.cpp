#include "alameditor.h"

#include "alam.h"
#include "common/clock.h"
#include "common/exceptionhandler.h"
#include "common/exceptions.h"
#include "common/namedcontrols.h"
#include "controls/radiogroup.h"
#include "customers/fieldtitles.h"
#include "customers/valuelistbox.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>

namespace {

const int InputHeight = 21;
const int NumberWidth = 28;
const QString ValueListKey = QStringLiteral("Alam");
const QString ClockFormat = QStringLiteral("yyyy年M月d日 HH:mm:ss");
const QString DayFormat = QStringLiteral("yyyy-MM-dd");

// A caption in the window's left column, wide enough for four characters.
QLabel* rowLabel(const QString& text, QWidget* buddy, const char* name)
{
    QLabel* caption = buddyLabel(text, buddy, name);
    caption->setMinimumWidth(caption->fontMetrics().horizontalAdvance(QStringLiteral("提醒时间")) + 4);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return caption;
}

// A panel keeps its place when hidden, so the rows below it do not move
// when the repeat kind changes.
QWidget* panel(const char* name)
{
    auto* widget = named(new QWidget, name);
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
    return widget;
}

QHBoxLayout* rowLayout(QWidget* panel = nullptr)
{
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    return row;
}

// A two-character number field whose number is kept at or below highest
// on every change (a text that is no number is left alone) and which gets
// blankValue back when it is left empty or blank.
QLineEdit* numberField(const char* name, const QString& text, int highest, const QString& blankValue)
{
    auto* edit = named(new QLineEdit(text), name);
    edit->setMaxLength(2);
    edit->setFixedSize(NumberWidth, InputHeight);
    edit->setAlignment(Qt::AlignRight);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, highest](const QString& typed) {
        bool isNumber = false;
        if (typed.toInt(&isNumber) > highest && isNumber)
            edit->setText(QString::number(highest));
    });
    QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit, blankValue] {
        if (edit->text().trimmed().isEmpty())
            edit->setText(blankValue);
    });
    return edit;
}

int numberOf(const QLineEdit* edit, int fallback)
{
    bool isNumber = false;
    const int number = edit->text().toInt(&isNumber);
    return isNumber ? number : fallback;
}

} // namespace

QString WeekdayName(const QDate& date)
{
    static const QString names[] = {QStringLiteral("星期日"), QStringLiteral("星期一"), QStringLiteral("星期二"),
                                    QStringLiteral("星期三"), QStringLiteral("星期四"), QStringLiteral("星期五"),
                                    QStringLiteral("星期六")};
    return names[date.dayOfWeek() % 7];
}

TFormBaseAlam::TFormBaseAlam(QWidget* parent)
    : TFormBaseDlg(parent)
{
    setFixedSize(420, 360);

    createClockLine();
    rd1 = named(new TRadioGroup, "rd1");
    rd1->setAccessibleName(QStringLiteral("重复频率"));
    LabRe = rowLabel(QStringLiteral("重复频率"), rd1, "LabRe");
    connect(rd1, &TRadioGroup::Clicked, this, &TFormBaseAlam::rd1Click);

    cbbTitle = named(new TValueListBox(ValueListKey), "cbbTitle");
    cbbTitle->setFixedHeight(InputHeight);
    cbbTitle->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    Label5 = rowLabel(QStringLiteral("提醒标题"), cbbTitle, "Label5");
    btn200004 = named(new QPushButton(QStringLiteral("+")), "btn200004");
    btn200004->setFixedSize(InputHeight, InputHeight);
    btn200004->setAutoDefault(false);
    btn200004->setToolTip(QStringLiteral("选择信息列表"));
    connect(btn200004, &QPushButton::clicked, this, [] { EditValueList(ValueListKey); });

    mmoNote = named(new QPlainTextEdit, "mmoNote");
    mmoNote->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmoNote->setTabChangesFocus(true);
    Label4 = rowLabel(QStringLiteral("提醒内容"), mmoNote, "Label4");
    Label4->setAlignment(Qt::AlignRight | Qt::AlignTop);

    auto* grid = new QGridLayout(contentArea());
    grid->setContentsMargins(10, 8, 12, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    grid->addWidget(Label2, 0, 0);
    auto* clock = rowLayout();
    clock->setSpacing(12);
    clock->addWidget(LabNow);
    clock->addWidget(LabLabWeeks);
    clock->addStretch(1);
    grid->addLayout(clock, 0, 1);
    grid->addWidget(LabRe, 1, 0);
    grid->addWidget(rd1, 1, 1);
    grid->addWidget(createTimePanel(), 2, 0, 1, 2);
    // The weekdays and the day of the month share one place; at most one shows.
    grid->addWidget(createWeekdayPanel(), 3, 1);
    grid->addWidget(createMonthDayPanel(), 3, 1);
    grid->addWidget(Label5, 4, 0);
    auto* title = rowLayout();
    title->setSpacing(0);
    title->addWidget(cbbTitle);
    title->addWidget(btn200004);
    grid->addLayout(title, 4, 1);
    grid->addWidget(Label4, 5, 0);
    grid->addWidget(mmoNote, 5, 1);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(1, 1);

    tmr1 = named(new QTimer(this), "tmr1");
    tmr1->setInterval(1000);
    connect(tmr1, &QTimer::timeout, this, &TFormBaseAlam::tmr1Timer);
    tmr1->start();
    // The clock line shows at once, not a second after opening.
    tmr1Timer();
}

void TFormBaseAlam::createClockLine()
{
    LabNow = named(new QLabel, "LabNow");
    LabLabWeeks = named(new QLabel, "LabLabWeeks");
    Label2 = rowLabel(QStringLiteral("现在时间"), nullptr, "Label2");
    QPalette red = palette();
    red.setColor(QPalette::WindowText, Qt::red);
    for (QLabel* line : {Label2, LabNow, LabLabWeeks})
        line->setPalette(red);
}

QWidget* TFormBaseAlam::createTimePanel()
{
    pnlAlamTime = panel("pnlAlamTime");
    const QString zero = QStringLiteral("0");
    edtHour = numberField("edtHour", QStringLiteral("9"), 23, zero);
    edtMinute = numberField("edtMinute", zero, 59, zero);
    // Only digits get in, typed or pasted.
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    edtHour->setValidator(digits);
    edtMinute->setValidator(digits);
    Label1 = rowLabel(QStringLiteral("提醒时间"), edtHour, "Label1");
    Label7 = named(new QLabel(QStringLiteral("时")), "Label7");
    Label8 = buddyLabel(QStringLiteral("分"), edtMinute, "Label8");

    DBDay = named(new QDateEdit(Clock::now().date()), "DBDay");
    DBDay->setCalendarPopup(true);
    DBDay->setDisplayFormat(DayFormat);
    DBDay->setFixedHeight(InputHeight);
    LabDay = buddyLabel(QStringLiteral("提醒日期"), DBDay, "LabDay");

    QHBoxLayout* row = rowLayout(pnlAlamTime);
    row->setSpacing(6);
    for (QWidget* control : std::initializer_list<QWidget*>{Label1, edtHour, Label7, edtMinute, Label8})
        row->addWidget(control);
    row->addSpacing(24);
    row->addWidget(LabDay);
    row->addWidget(DBDay);
    row->addStretch(1);
    return pnlAlamTime;
}

QWidget* TFormBaseAlam::createWeekdayPanel()
{
    static const QString captions[] = {QStringLiteral("周一"), QStringLiteral("周二"), QStringLiteral("周三"),
                                       QStringLiteral("周四"), QStringLiteral("周五"), QStringLiteral("周六"),
                                       QStringLiteral("周日")};
    pnlWork = panel("pnlWork");
    QHBoxLayout* row = rowLayout(pnlWork);
    for (int day = 0; day < 7; ++day) {
        auto* box = new QCheckBox(captions[day]);
        box->setObjectName(QStringLiteral("chk%1").arg(day + 1));
        chkWeekdays[day] = box;
        row->addWidget(box);
    }
    row->addStretch(1);
    pnlWork->hide();
    return pnlWork;
}

QWidget* TFormBaseAlam::createMonthDayPanel()
{
    pnlMon = panel("pnlMon");
    edtMonWeek = numberField("edtMonWeek", QStringLiteral("1"), 31, QStringLiteral("1"));
    LabMonWord = buddyLabel(QStringLiteral("每月"), edtMonWeek, "LabMonWord");
    LabModWordAlam = named(new QLabel(QStringLiteral("号提醒")), "LabModWordAlam");
    QHBoxLayout* row = rowLayout(pnlMon);
    row->addWidget(LabMonWord);
    row->addWidget(edtMonWeek);
    row->addWidget(LabModWordAlam);
    row->addStretch(1);
    pnlMon->hide();
    return pnlMon;
}

void TFormBaseAlam::FormShow()
{
    const QStringList captions = RepeatCaptions.mid(RepeatOffset);
    rd1->SetItems(captions, captions.size());
    // The choices were made last; the controls below them follow them in the tab order.
    QWidget* previous = rd1->Button(captions.size() - 1);
    QList<QWidget*> below{edtHour, edtMinute, DBDay};
    below << QList<QWidget*>(std::begin(chkWeekdays), std::end(chkWeekdays));
    below << QList<QWidget*>{edtMonWeek, cbbTitle, btn200004, mmoNote, btnOK, btnCancel};
    for (QWidget* next : below) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    }
    rd1->SetItemIndex(0);
    rd1Click();
    FocusFirstInput();
}

void TFormBaseAlam::FocusFirstInput()
{
    if (pnlAlamTime->isHidden())
        cbbTitle->setFocus();
    else
        edtHour->setFocus();
}

int TFormBaseAlam::repeatCode() const
{
    return rd1->ItemIndex() + RepeatOffset;
}

void TFormBaseAlam::rd1Click()
{
    const int code = repeatCode();
    pnlAlamTime->setVisible(code != RepeatNever);
    if (code != RepeatNever) {
        LabDay->setVisible(code == RepeatOnce);
        DBDay->setVisible(code == RepeatOnce);
    }
    pnlWork->setVisible(code == RepeatWeekly);
    pnlMon->setVisible(code == RepeatMonthly);
}

void TFormBaseAlam::tmr1Timer()
{
    const QDateTime now = Clock::now();
    LabNow->setText(now.toString(ClockFormat));
    LabLabWeeks->setText(WeekdayName(now.date()));
}

QString TFormBaseAlam::weekdayDigits() const
{
    QString digits;
    for (int day = 0; day < 7; ++day) {
        if (chkWeekdays[day]->isChecked())
            digits += QString::number(day + 1);
    }
    return digits;
}

void TFormBaseAlam::CheckInput()
{
    if (cbbTitle->currentText().trimmed().isEmpty())
        throw Exception(QStringLiteral("回访提醒标题不能为空！"));
    const int code = repeatCode();
    // An empty hour or minute counts as 0, as it is stored.
    const QDateTime moment(DBDay->date(), QTime(numberOf(edtHour, 0), numberOf(edtMinute, 0)));
    if (code == RepeatOnce && moment < Clock::now())
        throw Exception(QStringLiteral("设置的提醒时间不能早于现在时间！"));
    if (code == RepeatWeekly && weekdayDigits().isEmpty())
        throw Exception(QStringLiteral("必须选择周几提醒！"));
}

void TFormBaseAlam::WriteAlam()
{
    Alam->ReDay = repeatCode();
    Alam->iHour = numberOf(edtHour, 0);
    Alam->iMinute = numberOf(edtMinute, 0);
    Alam->iMonWeek = Alam->ReDay == RepeatWeekly ? weekdayDigits().toInt() : numberOf(edtMonWeek, 1);
    Alam->AlamDate = DBDay->date().startOfDay();
    Alam->ReTitle = cbbTitle->currentText();
    Alam->ReMark = mmoNote->toPlainText();
}

void TFormBaseAlam::ShowAlam()
{
    edtHour->setText(QString::number(Alam->iHour));
    edtMinute->setText(QString::number(Alam->iMinute));
    rd1->SetItemIndex(Alam->ReDay - RepeatOffset);
    rd1Click();
    const QString monWeek = QString::number(Alam->iMonWeek);
    if (Alam->ReDay == RepeatWeekly) {
        for (int day = 0; day < 7; ++day)
            chkWeekdays[day]->setChecked(monWeek.contains(QString::number(day + 1)));
    } else {
        edtMonWeek->setText(monWeek);
    }
    if (Alam->AlamDate.isValid())
        DBDay->setDate(Alam->AlamDate.date());
    cbbTitle->setEditText(Alam->ReTitle);
    mmoNote->setPlainText(Alam->ReMark);
}

void TFormBaseAlam::btnOKClick()
{
    CheckInput();
    WriteAlam();
    SaveAlam();
    done(ResultOK);
}

TFormAddAlam::TFormAddAlam(QWidget* parent)
    : TFormBaseAlam(parent)
{
    setObjectName(QStringLiteral("FormAddAlam"));
    setWindowTitle(QStringLiteral("新建提醒"));
}

void TFormAddAlam::SaveAlam()
{
    Alam->sGUID = CustomerGUID;
    Alam->Add();
}

TFormModAlam::TFormModAlam(QWidget* parent)
    : TFormBaseAlam(parent)
{
    setObjectName(QStringLiteral("FormModAlam"));
    setWindowTitle(QStringLiteral("修改提醒"));
}

void TFormModAlam::FormShow()
{
    TFormBaseAlam::FormShow();
    ShowAlam();
    FocusFirstInput();
}

void TFormModAlam::SaveAlam()
{
    Alam->Modify(AlamId);
}

int ShowAddAlam(const QString& customerGuid, int offset)
{
    TFormAddAlam form;
    form.RepeatOffset = offset;
    form.CustomerGUID = customerGuid;
    return form.exec();
}

int ShowModAlam(const QString& id, int offset)
{
    TFormModAlam form;
    form.RepeatOffset = offset;
    form.AlamId = id;
    // Read before the window shows: a reminder deleted meanwhile is reported
    // and no empty window opens.
    try {
        Alam->Load(id);
    } catch (const std::exception& failure) {
        ExceptionHandler->ReportException(failure);
        return TFormBaseDlg::ResultCancel;
    }
    return form.exec();
}
