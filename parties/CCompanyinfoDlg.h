#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;

// "公司信息": the shop's own name, telephone, address, bank account and three free lines,
// kept as the one row of companyinfo and printed at the head of the lists.
class CCompanyinfoDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CCompanyinfoDlg(QWidget* parent = nullptr);

    // The columns of companyinfo in the order of the edit boxes.
    static const QStringList& Columns();

    // Reads the stored row into the boxes (done on construction).
    void LoadInfo();
    // "保存": writes the boxes into the one row, creating it when there is none.
    void OnSave();

    QLineEdit* Edit(int index) const { return m_pEdits.value(index); }

  private:
    QStringList BoxTexts() const;

    QList<QLineEdit*> m_pEdits;
};
