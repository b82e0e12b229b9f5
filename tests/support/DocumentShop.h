#pragma once

#include <QString>
#include <QStringList>

#include "GridInput.h"
#include "TestDatabase.h"

class CEntryDlg;
class CEntryQueryDlg;
class CGridCtrl;
class CDocumentDlg;
class CSaleInDlg;
class CSaleInQueryDlg;
class CSaleOutDlg;
class CSaleOutQueryDlg;
class CSaleQueryDlg;
class QComboBox;

// A shop on a fresh database with the three document windows and the three query windows
// shown, and the hands that drive them as a user does: lines through the product pickers,
// typing into cells, drop lists, right-click replacement. Message boxes are answered by a
// MessageScript of the test.
//
//   DocumentShop shop;
//   shop.AddProduct("0101000001", "五金-螺丝", "10.00", "100");
//   QTest::mouseClick(shop.saleOut->NewButton(), Qt::LeftButton);
//   shop.AddSaleLine(shop.saleOut, "0101000001", "1.5");
class DocumentShop {
  public:
    DocumentShop();
    ~DocumentShop();
    DocumentShop(const DocumentShop&) = delete;
    DocumentShop& operator=(const DocumentShop&) = delete;

    TestDatabase db;
    CSaleOutDlg* saleOut = nullptr;
    CSaleInDlg* saleIn = nullptr;
    CEntryDlg* entry = nullptr;
    CSaleOutQueryDlg* outQuery = nullptr;
    CSaleInQueryDlg* inQuery = nullptr;
    CEntryQueryDlg* entryQuery = nullptr;
    bool ready = false;

    // A product with its property row (discounts 0.9, 0.8 and 0.7).
    void AddProduct(const QString& code, const QString& name, const QString& price,
                    const QString& stock);
    QString Stock(const QString& code);

    // A sales document started with a customer and a state.
    void NewSale(CDocumentDlg* dlg, const QString& state = QStringLiteral("结清"));
    // A line through the search box and the pinyin picker, then its quantity typed.
    void AddSaleLine(CDocumentDlg* dlg, const QString& code, const QString& quantity);
    // A stock-in document started with a supplier and the state 未付.
    void NewEntry();
    void AddEntryLine(const QString& code, const QString& price, const QString& quantity);

    // Lists every document of a query window ("查询" with the widest dates).
    static void QueryAll(CSaleQueryDlg* dlg);
    static void QueryAll(CEntryQueryDlg* dlg);
    // The list row of a document, or -1.
    static int ListRow(CGridCtrl* list, const QString& oddnum);
};

// Chooses a payment state as the user does.
void ChooseState(QComboBox* box, const QString& state);
// Right-clicks a line and picks another product in the picker by catalogue levels.
void ReplaceLineProduct(CGridCtrl* grid, int row, const QString& name, const QString& code,
                        const QString& spec);
