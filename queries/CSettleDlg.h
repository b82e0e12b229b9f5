#pragma once

#include <QDate>
#include <QDialog>

class QDateEdit;
class QLabel;
class QLineEdit;

// Asked before a query window settles a document: the amount received (or refunded) and the
// day it was paid, both filled in from what the clerk chose in the list. The state follows the
// amount as the document windows' does.
class CSettleDlg : public QDialog {
    Q_OBJECT
  public:
    // dueLabel and receiptLabel are the list's column words (应收款/实收款, 应退款/实退款).
    CSettleDlg(const QString& oddnum, const QString& dueLabel, const QString& due,
               const QString& receiptLabel, const QString& receipt, const QString& state,
               QWidget* parent = nullptr);

    QString Receipt() const;
    QDate SettledOn() const;
    // The state to store: the one the amount says, or the chosen one where it says none.
    QString State() const;

    QLineEdit* ReceiptBox() const { return m_pReceipt; }
    QDateEdit* DateBox() const { return m_pDate; }

  public slots:
    void accept() override;

  private:
    void ShowState();

    QString m_strDue;
    QString m_strChosenState;
    QString m_strReceiptLabel;
    QLineEdit* m_pReceipt = nullptr;
    QDateEdit* m_pDate = nullptr;
    QLabel* m_pState = nullptr;
};
