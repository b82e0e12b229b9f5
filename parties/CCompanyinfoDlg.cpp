#include "parties/CCompanyinfoDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "db/CRecordset.h"
#include "text/InputText.h"
#include "ui/CDbAction.h"
#include "ui/HarborMessageBox.h"

namespace {

const char* const kLabels[] = {
    "公司名称:", "电话:", "地址:", "银行帐号:", "其它信息1:", "其它信息2:", "其它信息3:"};

} // namespace

const QStringList& CCompanyinfoDlg::Columns() {
    static const QStringList columns{QStringLiteral("name"),     QStringLiteral("telephone"),
                                     QStringLiteral("address"),  QStringLiteral("bank"),
                                     QStringLiteral("remarks1"), QStringLiteral("remarks2"),
                                     QStringLiteral("remarks3")};
    return columns;
}

CCompanyinfoDlg::CCompanyinfoDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("公司信息"));
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setVerticalSpacing(10);
    form->setHorizontalSpacing(12);
    for (int i = 0; i < Columns().size(); ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(Columns()[i]);
        form->addRow(new QLabel(QString::fromUtf8(kLabels[i]), this), edit);
        m_pEdits.append(edit);
    }

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* save = buttons->addButton(QStringLiteral("保存"), QDialogButtonBox::ActionRole);
    QPushButton* quit = buttons->addButton(QStringLiteral("退出"), QDialogButtonBox::RejectRole);
    save->setObjectName(QStringLiteral("save"));
    quit->setObjectName(QStringLiteral("quit"));
    save->setDefault(true);
    save->setAutoDefault(true);
    quit->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &CCompanyinfoDlg::OnSave);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(16);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(640);
    LoadInfo();
}

QStringList CCompanyinfoDlg::BoxTexts() const {
    QStringList texts;
    for (const QLineEdit* edit : m_pEdits)
        texts.append(edit->text());
    return texts;
}

void CCompanyinfoDlg::LoadInfo() {
    QStringList values;
    RunDbRead(this, QStringLiteral("读取公司信息"), [&] {
        CRecordset rs;
        rs.Open(QStringLiteral("SELECT * FROM companyinfo"));
        // Several rows can only come from outside the program; the save keeps the first, so
        // that is the one to show.
        if (rs.GetRecordCount() >= 1) {
            rs.MoveFirst();
            for (const QString& column : Columns())
                values.append(rs.GetCollect(column));
        }
        rs.Close();
    });
    for (int i = 0; i < m_pEdits.size(); ++i)
        m_pEdits[i]->setText(values.value(i));
}

void CCompanyinfoDlg::OnSave() {
    const QStringList texts = BoxTexts();
    // The shop's name heads every printed list: it may stay empty, but not hold blanks alone
    // or characters that cannot be printed.
    if (const QString problem = OptionalNameProblem(QStringLiteral("公司名称"), texts.value(0));
        !problem.isEmpty()) {
        m_pEdits.first()->setFocus();
        HarborMessageBox(this, problem);
        return;
    }
    for (int i = 1; i < m_pEdits.size(); ++i) {
        const QString field = QString::fromUtf8(kLabels[i]).remove(QLatin1Char(':'));
        if (const QString problem = TextProblem(field, texts.value(i)); !problem.isEmpty()) {
            m_pEdits[i]->setFocus();
            HarborMessageBox(this, problem);
            return;
        }
    }
    const bool saved = RunDbAction(this, QStringLiteral("保存公司信息"), [&] {
        CRecordset rs;
        rs.Open(QStringLiteral("SELECT * FROM companyinfo"));
        if (rs.GetRecordCount() == 0) {
            rs.AddNew();
        } else {
            rs.MoveFirst();
        }
        for (int i = 0; i < Columns().size(); ++i)
            rs.PutCollect(Columns()[i], texts[i]);
        rs.Update();
        // The printed lists take the shop's data only from a single row: drop any others.
        rs.MoveFirst();
        rs.MoveNext();
        while (!rs.IsEOF()) {
            rs.Delete();
            rs.MoveNext();
        }
        rs.Close();
    });
    if (saved)
        HarborMessageBox(this, QStringLiteral("数据保存成功!"), MsgIcon::Information);
}
