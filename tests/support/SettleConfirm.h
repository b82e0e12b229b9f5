#pragma once

#include <QLineEdit>
#include <QtTest>

#include "ModalDriver.h"
#include "queries/CSettleDlg.h"

// Confirms with Enter, as a clerk does, every settle dialog a query window asks while it
// lives: the amount and the date as the window filled them in.
class SettleConfirm {
  public:
    SettleConfirm()
        : m_driver(ModalDriver<CSettleDlg>::Every::Dialog, [](CSettleDlg* dialog) {
              QTest::keyClick(dialog->ReceiptBox(), Qt::Key_Return);
          }) {}
    int Handled() const { return m_driver.Handled(); }

  private:
    ModalDriver<CSettleDlg> m_driver;
};
