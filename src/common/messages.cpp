#include "messages.h"

#include "applog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QQueue>
#include <QUrl>

#include <utility>

namespace {

struct TestState
{
    bool active = false;
    QQueue<bool> answers;
    QQueue<QString> fileNames;
    QList<MessageTesting::ShownMessage> shown;
    std::function<void()> whileShown;
};

TestState& testState()
{
    static TestState state;
    return state;
}

const QString CaptionInfo = QStringLiteral("提示");
const QString CaptionAsk = QStringLiteral("确认");
const QString CaptionError = QStringLiteral("错误");

QMessageBox::StandardButton showBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, caption, text, buttons, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

// Records the box in test mode; answers whether it was recorded.
bool recorded(const QString& caption, const QString& text)
{
    TestState& state = testState();
    if (!state.active)
        return false;
    state.shown.append({caption, text});
    if (const auto whileShown = std::exchange(state.whileShown, nullptr))
        whileShown();
    return true;
}

QString selectFile(QWidget* parent, const QString& filter, QFileDialog::AcceptMode mode)
{
    TestState& state = testState();
    if (state.active)
        return state.fileNames.isEmpty() ? QString() : state.fileNames.dequeue();
    return mode == QFileDialog::AcceptSave ? QFileDialog::getSaveFileName(parent, QString(), QString(), filter)
                                           : QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

} // namespace

void ShowInfo(const QString& text)
{
    if (!recorded(CaptionInfo, text))
        showBox(QMessageBox::Information, CaptionInfo, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool AskYesNo(const QString& text)
{
    if (recorded(CaptionAsk, text)) {
        QQueue<bool>& answers = testState().answers;
        return !answers.isEmpty() && answers.dequeue();
    }
    return showBox(QMessageBox::Question, CaptionAsk, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

void ShowError(const QString& text)
{
    if (!recorded(CaptionError, text))
        showBox(QMessageBox::Critical, CaptionError, text, QMessageBox::Ok, QMessageBox::Ok);
}

void ShowErrorDetail(const QString& summary, const QString& details, const QString& logText)
{
    const QString shown = summary + QStringLiteral("\r\n详细信息：") + details;
    if (!logText.isEmpty())
        WriteAppLog(shown + QStringLiteral("\r\n") + logText);
    ShowError(shown);
}

QString SelectSaveFile(QWidget* parent, const QString& filter)
{
    return selectFile(parent, filter, QFileDialog::AcceptSave);
}

QString SelectOpenFile(QWidget* parent, const QString& filter)
{
    return selectFile(parent, filter, QFileDialog::AcceptOpen);
}

void OpenDocument(QWidget*, const QString& target)
{
    QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

namespace MessageTesting {

void begin()
{
    testState() = TestState();
    testState().active = true;
}

void end()
{
    testState() = TestState();
}

void setNextAnswer(bool yes)
{
    testState().answers.enqueue(yes);
}

void setNextFileName(const QString& fileName)
{
    testState().fileNames.enqueue(fileName);
}

void whileNextShown(std::function<void()> action)
{
    testState().whileShown = std::move(action);
}

QList<ShownMessage> takeShown()
{
    QList<ShownMessage> shown;
    shown.swap(testState().shown);
    return shown;
}

} // namespace MessageTesting
