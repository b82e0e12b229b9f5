#pragma once

#include <QDialog>
#include <QHash>
#include <QVector>

#include "documents/ReturnOrigins.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// 按原单退货: the clerk types or scans the number of a sale and Enter shows its lines with
// what was sold, what is returned already and what is left; a quantity typed into a line's
// 本次退货 and Enter (outside the cell) take the lines into the return. Keys only: the arrow
// keys choose the line, a digit starts the quantity, Esc closes.
class CSaleOriginDlg : public QDialog {
    Q_OBJECT
  public:
    // exceptReturn: the number of the return on screen, whose lines onScreen holds (hundredths
    // per SaleLineKey), counted as returned already.
    CSaleOriginDlg(const QString& exceptReturn, const QHash<QString, qint64>& onScreen,
                   QWidget* parent = nullptr);

    // A sale line and the quantity to return of it.
    struct Taken {
        ReturnableLine line;
        QString quantity;
    };
    const QVector<Taken>& TakenLines() const { return m_taken; }
    const ReturnableSale& Sale() const { return m_sale; }

    QLineEdit* NumberBox() const { return m_pNumber; }
    QTableWidget* Table() const { return m_pTable; }
    QPushButton* TakeButton() const { return m_pTake; }

    // Enter in the number box: shows the sale's lines; false when there is no such sale.
    bool ShowSale();
    // Enter in the table or 退入本单: checks the typed quantities and closes with the lines.
    bool TakeLines();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    qint64 Left(const ReturnableLine& line) const;

    QString m_strExceptReturn;
    QHash<QString, qint64> m_onScreen;
    ReturnableSale m_sale;
    QVector<Taken> m_taken;
    QLineEdit* m_pNumber = nullptr;
    QLabel* m_pSaleFacts = nullptr;
    QTableWidget* m_pTable = nullptr;
    QPushButton* m_pTake = nullptr;
};
