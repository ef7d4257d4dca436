#pragma once

#include <QDialog>

class QHBoxLayout;
class QPushButton;

// The program's dialogs: a title bar with the close button only, fixed size.
constexpr Qt::WindowFlags FixedDialogFlags =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// A dialog window with a fixed size, centred on the active window when it is
// first shown. FormShow runs once, just before that first showing.
class TFormDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TFormDialog(QWidget* parent = nullptr);

protected:
    virtual void FormShow();
    void showEvent(QShowEvent* event) override;

private:
    bool m_shown = false;
};

// The dialog most windows derive from: a content area between two separator
// lines and a bottom strip with "确定(&O)" (default, Enter) and "取消(&C)"
// (Escape). Cancel closes with result 2; OK has no result of its own: each
// derived dialog handles btnOKClick, checks its input and calls done(1).
class TFormBaseDlg : public TFormDialog
{
    Q_OBJECT
public:
    enum Result { ResultOK = 1, ResultCancel = 2 };

    explicit TFormBaseDlg(QWidget* parent = nullptr);

    void reject() override;

protected:
    // Where the derived dialog puts its controls.
    QWidget* contentArea() const { return m_content; }
    // The bottom strip's layout; buttons inserted at index 0 sit at its left.
    QHBoxLayout* buttonStrip() const { return m_strip; }

    virtual void btnOKClick();

    QPushButton* btnOK;
    QPushButton* btnCancel;

private:
    QWidget* m_content;
    QHBoxLayout* m_strip;
};

// Centres a top-level window on the application's active window, or on the
// screen when there is none.
void CenterOnActiveWindow(QWidget* window);
