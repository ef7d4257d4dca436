#include "alampopup.h"

#include "alamevents.h"
#include "chime.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace {

const QSize ClientSize(292, 198);
const QSize ButtonSize(86, 25);
const int TitleHeight = 24;
const int StripHeight = 34;
const int TextPixels = 17;
const int RollMilliseconds = 200;
// Room left below the window for the task bar, and at its right.
const int BottomGap = 27;
const int RightGap = 2;

// A fixed frame whose title bar has no button, above other windows, never
// given the keyboard focus.
constexpr Qt::WindowFlags PopupFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
    | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus | Qt::MSWindowsFixedSizeDialogHint;

QTextEdit* reminderText(const char* name, const QString& accessibleName, const QString& text)
{
    auto* edit = new QTextEdit;
    edit->setObjectName(QLatin1String(name));
    edit->setAccessibleName(accessibleName);
    edit->setReadOnly(true);
    QFont font = edit->font();
    font.setPixelSize(TextPixels);
    edit->setFont(font);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, Qt::red);
    edit->setPalette(palette);
    edit->setPlainText(text);
    QTextCursor all(edit->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    all.mergeBlockFormat(centred);
    return edit;
}

QPushButton* stripButton(const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(ButtonSize);
    return button;
}

} // namespace

TFormShowAlam::TFormShowAlam(const QString& id, const QString& title, const QString& content, bool repeating,
                             QObject* receiver)
    : QWidget(nullptr, PopupFlags)
    , AlamId(id)
    , Repeating(repeating)
    , m_receiver(receiver)
    , m_roll(new QVariantAnimation(this))
{
    setObjectName(QStringLiteral("FormShowAlam"));
    setWindowTitle(QStringLiteral("提醒"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(ClientSize);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(240, 240, 240));
    setPalette(background);
    setAutoFillBackground(true);

    mmoTitle = reminderText("mmoTitle", QStringLiteral("标题"), title);
    mmoTitle->setFixedHeight(TitleHeight);
    mmoTitle->setLineWrapMode(QTextEdit::NoWrap);
    mmoTitle->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mmoTitle->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mmoTitle->document()->setDocumentMargin(1);
    mmo1 = reminderText("mmo1", QStringLiteral("内容"), content);

    btnCon = stripButton("btnCon", QStringLiteral("再次提醒"));
    btnOkDel = stripButton("btnOkDel", QStringLiteral("看到了并删除"));
    btnOkSave = stripButton("btnOkSave", repeating ? QStringLiteral("看到了") : QStringLiteral("看到了并保留"));
    connect(btnCon, &QPushButton::clicked, this, &TFormShowAlam::btnConClick);
    connect(btnOkDel, &QPushButton::clicked, this, &TFormShowAlam::btnOkDelClick);
    connect(btnOkSave, &QPushButton::clicked, this, &TFormShowAlam::btnOkSaveClick);

    pm1 = new QMenu(this);
    pm1->setObjectName(QStringLiteral("pm1"));
    const auto snoozeItem = [this](const char* name, const QString& caption, int kind) {
        QAction* item = pm1->addAction(caption);
        item->setObjectName(QLatin1String(name));
        connect(item, &QAction::triggered, this, [this, kind] { snooze(kind); });
        return item;
    };
    N31 = snoozeItem("N31", QStringLiteral("3分钟后再提醒"), 0);
    N51 = snoozeItem("N51", QStringLiteral("5分钟后再提醒"), 1);
    N101 = snoozeItem("N101", QStringLiteral("10分钟后再提醒"), 2);
    N301 = snoozeItem("N301", QStringLiteral("30分钟后再提醒"), 3);
    N11 = snoozeItem("N11", QStringLiteral("1小时后再提醒"), 4);

    auto* strip = new QHBoxLayout;
    strip->setContentsMargins(8, 0, 8, 0);
    strip->addWidget(btnCon);
    strip->addStretch(1);
    strip->addWidget(btnOkDel);
    strip->addStretch(1);
    strip->addWidget(btnOkSave);
    auto* stripPanel = new QWidget;
    stripPanel->setFixedHeight(StripHeight);
    stripPanel->setLayout(strip);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(mmoTitle);
    layout->addWidget(mmo1, 1);
    layout->addWidget(stripPanel);
    if (repeating) {
        btnCon->hide();
        btnOkDel->hide();
    }

    // The roll: the window shows from its bottom edge upwards.
    m_roll->setDuration(RollMilliseconds);
    m_roll->setStartValue(1);
    m_roll->setEndValue(ClientSize.height());
    connect(m_roll, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { showBottom(value.toInt()); });
    connect(m_roll, &QVariantAnimation::finished, this, [this] {
        clearMask();
        // A window manager's frame is known only once the window is on screen.
        placeAtCorner();
    });
    placeAtCorner();
}

void TFormShowAlam::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

// Asked not to be activated, the pop-up may still be on a platform or under a
// window manager that activates every new window; then the activation goes
// straight back to the window being typed in.
void TFormShowAlam::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_typingWindow)
        m_typingWindow->activateWindow();
}

void TFormShowAlam::FormShow()
{
    m_typingWindow = QApplication::activeWindow();
    // Masked before it first reaches the screen, so it never flashes up whole.
    showBottom(m_roll->startValue().toInt());
    m_roll->start();
    TChime::Instance().Play();
}

void TFormShowAlam::showBottom(int pixels)
{
    setMask(QRegion(0, height() - pixels, width(), pixels));
}

// The frame counts as part of the window here.
void TFormShowAlam::placeAtCorner()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize size = frameGeometry().size();
    move(screen.x() + screen.width() - size.width() - RightGap, screen.y() + screen.height() - size.height() - BottomGap);
}

void TFormShowAlam::btnOkSaveClick()
{
    if (!Repeating)
        post(WM_ALAMSEEN);
    close();
}

void TFormShowAlam::btnOkDelClick()
{
    if (!Repeating)
        post(WM_ALAMDELETE);
    close();
}

void TFormShowAlam::btnConClick()
{
    pm1->popup(QCursor::pos());
}

void TFormShowAlam::snooze(int kind)
{
    post(WM_ALAMSNOOZE, kind);
    close();
}

void TFormShowAlam::post(QEvent::Type type, int snoozeKind)
{
    if (m_receiver)
        QCoreApplication::postEvent(m_receiver, new TAlamEvent(type, AlamId.toInt(), snoozeKind));
}

TFormShowAlam* ShowAlamPopup(const QString& id, const QString& title, const QString& content, bool repeating,
                             QObject* receiver)
{
    auto* popup = new TFormShowAlam(id, title, content, repeating, receiver);
    popup->show();
    popup->raise();
    return popup;
}
