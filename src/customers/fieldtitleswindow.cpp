#include "fieldtitleswindow.h"

#include "common/messages.h"
#include "data/dbaccess.h"
#include "fieldtitles.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

// Titles become column names of the customer list, so they hold no blanks.
QString withoutBlanks(QString title)
{
    return title.remove(QLatin1Char(' '));
}

} // namespace

TFormDIY::TFormDIY(QWidget* parent)
    : TFormBaseDlg(parent)
{
    setObjectName(QStringLiteral("FormDIY"));
    setWindowTitle(QStringLiteral("自定义资料标题"));
    setFixedSize(456, 368);

    auto* grid = new QGridLayout(contentArea());
    grid->setContentsMargins(6, 22, 6, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(14);
    QWidget* previous = nullptr;
    for (int field = 1; field <= CustomerFieldCount; ++field) {
        const QString number = FieldNumberText(field);
        auto* edit = new QLineEdit(contentArea());
        edit->setObjectName(QStringLiteral("edt") + number);
        edit->setFixedWidth(121);
        auto* label = new QLabel(contentArea());
        label->setObjectName(QStringLiteral("Lab") + number);
        label->setFixedWidth(72);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setBuddy(edit);

        // Odd fields on the left, even fields on the right, in rows of two.
        const int row = (field - 1) / 2;
        const int column = (field - 1) % 2 * 2;
        grid->addWidget(label, row, column);
        grid->addWidget(edit, row, column + 1);
        if (previous)
            setTabOrder(previous, edit);
        previous = edit;
    }
    grid->setRowStretch(CustomerFieldCount / 2, 1);
    grid->setColumnStretch(4, 1);
    edt200001 = contentArea()->findChild<QLineEdit*>(QStringLiteral("edt200001"));
    edt200002 = contentArea()->findChild<QLineEdit*>(QStringLiteral("edt200002"));
}

void TFormDIY::FormShow()
{
    ApplyFieldTitles(this, true);
}

void TFormDIY::btnOKClick()
{
    if (edt200001->text().trimmed().isEmpty() && edt200002->text().trimmed().isEmpty()) {
        ShowInfo(QStringLiteral("会员信息标题前边两个中必须至少填一个!"));
        return;
    }
    QStringList batch;
    for (const QLineEdit* edit : findChildren<QLineEdit*>()) {
        batch.append(QStringLiteral("update DIY set DIYName='%1' where DIYID='%2' ")
                         .arg(SqlEscape(withoutBlanks(edit->text())), SqlEscape(FieldNumberOf(edit))));
    }
    DbExecute(batch.join(QStringLiteral("@#@")));
    LoadFieldTitles();
    ShowInfo(QStringLiteral("保存成功！"));
    done(ResultOK);
}
