#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QTimer>
#include <optional>

#include "documents/CFormStore.h"
#include "documents/CLineMemory.h"
#include "documents/DocumentControls.h"
#include "documents/DocumentForm.h"
#include "documents/UnconfirmedSave.h"
#include "ui/CPickReceiver.h"
#include "ui/CWorkDialog.h"

class CGridCtrl;
struct CGridResult;
class DocumentSaveMark;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
struct ReturnableLine;
struct ScannerProblem;

// A document window: 销售出库, 销售退货 and 采购入库 are three forms of it (DocumentForm).
// The user starts a document (which draws its number), picks the customer or supplier, fills
// the line table by the product pickers, a right-click replacement or (at the counter) a pasted
// scanner text, chooses the payment state and saves. A save writes one row per line and moves
// the stock. Each line remembers the stored row it stands for, so saving again, deleting a line
// or replacing a line's product moves exactly the difference between what was stored and what
// is stored now. Nothing is dropped or written half-edited: closing, printing, starting a new
// document and deleting a stored line ask first when the screen holds unsaved changes.
class CDocumentDlg : public CWorkDialog, public CPickReceiver {
    Q_OBJECT
  public:
    explicit CDocumentDlg(const DocumentForm& form, QWidget* parent = nullptr);
    ~CDocumentDlg() override;

    const DocumentForm& Form() const { return m_form; }

    void PutPickedProduct() override;
    void PutPickedParty(const QString& name) override;
    bool QueryClose() override;

    // "新增一单": draws a number and opens an empty document. False when no number is left or
    // the user keeps the unsaved document.
    bool NewDocument();
    // "保存": validates and writes the document in one transaction. True when it was saved.
    bool Save();
    // "保存并打印": saves without asking and prints the stored document. "保存并新开一单":
    // saves and opens the next document, ready to scan.
    void SaveAndPrint();
    void SaveAndNew();
    // "导入扫描枪数据" (counter forms): the paste dialog, whose text goes to the scanner box.
    void PasteScannerText();
    // "新增商品": appends a line and fills it through a picker.
    void AddLine();
    // "删除商品": removes the line chosen by a left click; a stored line leaves the database at
    // once, with its stock moved back and the document's amounts recomputed from the rows that
    // remain.
    void DeleteLine();
    // Whether the screen holds something that is not stored: changes after the last save, or
    // anything at all on a document that was never saved.
    bool HasUnsavedChanges() const;
    // Whether closing or printing must ask to save first: unsaved changes, or a document that
    // was never saved.
    bool NeedsSaving() const;
    // Shows the document as it is stored now (after another window changed it).
    void ReloadDocument();
    // Enter in the party box: lists the customers or suppliers whose initials hold the text.
    void SearchParty();
    // Imports the scanner text of the barcode box (what the 500 ms timer does).
    void ImportBarcode();
    // "打印" (1), "打印设置" (2), "打印预览" (3): hands the document to the home view and prints.
    void PrintDocument(int mode);
    // "打印小票" (counter forms): the stored document's receipt (saved first, as for printing).
    void PrintDocumentReceipt();
    // "按原单退货" (returns only): lines of a stored sale taken at the sale's price, discount
    // and tax option, at most what is left of each to return.
    void ReturnFromSale();

    // The controls; those of a feature the form lacks are null (DocumentControls).
    CGridCtrl* Grid() const { return m_ui.m_pGrid; }
    QLineEdit* OddnumBox() const { return m_ui.m_pOddnum; }
    QComboBox* PartyBox() const { return m_ui.m_pParty; }
    QComboBox* CustomerBox() const { return m_ui.m_pParty; }
    QComboBox* SupplierBox() const { return m_ui.m_pParty; }
    QPushButton* PartyButton() const { return m_ui.m_pSelectParty; }
    QPushButton* CustomerButton() const { return m_ui.m_pSelectParty; }
    QPushButton* SupplierButton() const { return m_ui.m_pSelectParty; }
    QDateEdit* DateBox() const { return m_ui.m_pDate; }
    QLineEdit* ReceivableBox() const { return m_ui.m_pReceivable; }
    QLineEdit* MoneyBox() const { return m_ui.m_pReceivable; }
    QLineEdit* ReceiptBox() const { return m_ui.m_pReceipt; }
    QComboBox* StateBox() const { return m_ui.m_pState; }
    QLineEdit* EmployeeNameBox() const { return m_ui.m_pEmployeeName; }
    QLineEdit* EmployeeIdBox() const { return m_ui.m_pEmployeeId; }
    QPlainTextEdit* BarcodeBox() const { return m_ui.m_pBarcode; }
    // True while text typed into the barcode box waits to be imported.
    bool BarcodeImportPending() const { return m_importTimer.isActive(); }
    QLineEdit* SearchBox() const { return m_ui.m_pSearch; }
    QPushButton* NewButton() const { return m_ui.m_pNewDoc; }
    QPushButton* SaveButton() const { return m_ui.m_pSave; }
    QPushButton* AddLineButton() const { return m_ui.m_pAddLine; }
    QPushButton* DeleteLineButton() const { return m_ui.m_pDeleteLine; }
    QPushButton* PrintButton() const { return m_ui.m_pPrint; }
    QCheckBox* SinglePageBox() const { return m_ui.m_pSinglePage; }
    QLabel* LowStockLabel() const { return m_ui.m_pLowStock; }
    QPushButton* PrintSetupButton() const { return m_ui.m_pPrintSetup; }
    QPushButton* PreviewButton() const { return m_ui.m_pPreview; }
    QPushButton* ReceiptButton() const { return m_ui.m_pPrintReceipt; }
    QPushButton* SaveAndPrintButton() const { return m_ui.m_pSavePrint; }
    QPushButton* SaveAndNewButton() const { return m_ui.m_pSaveNew; }
    QPushButton* ScannerButton() const { return m_ui.m_pScanner; }
    QPushButton* ReturnFromSaleButton() const { return m_ui.m_pReturnFromSale; }
    // Tells the result of the last save; the saved mark is on while the screen is stored.
    QLabel* StatusLine() const;
    bool IsMarkedSaved() const;

    QString m_strOddnum;
    QString m_strCustomer;   // the party: the customer, or the supplier of a stock-in
    QString m_strReceivable; // the amount due: 应收, 应退, 本单金额
    QString m_strReceipt;
    QString m_strState;
    QString m_strEmployeeName;
    QString m_strEmployeeId;
    QString m_strBarcode;
    QString m_strSearch;
    QString m_strNow;
    QString m_strSaveTime; // the clock when the save started, or the delivery date
    QDate m_date;          // the delivery date of a stock-in
    bool m_bSinglePage = true;
    bool m_bOpen = false;
    bool m_bSaved = false;
    bool m_bEditRefused = false;
    // The header last written or read; none while nothing is stored under the number.
    std::optional<QStringList> m_savedHeader;
    int m_nRow = 0;
    int m_nCol = 0;
    int m_nDeleteRow = 0;

  signals:
    // A save took products to or under their minimum stock: the text that now stands beside
    // the payment state. Once per such save; products that were low already are not told again.
    void lowStockNoticed(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void FirstShown() override;

  private:
    // CDocumentDlg.cpp: the document as a whole.
    void ConnectControls();
    void EnableDocument(bool enable);
    void OnSinglePage(bool on);
    bool AskToSave();
    bool HandOverDocument();
    void ShowValues();
    void ReadBoxes();
    void ClearHeader();
    DocumentHeader Header() const;
    bool HeaderChanged() const;
    QVector<ScreenLine> ScreenLines(const QVector<DocumentLine>& lines);
    bool WriteDocument(DocumentHeader& header, const QVector<DocumentLine>& lines);
    bool NothingInDoubt();
    void TakeWritten(const QStringList& header, const QVector<DocumentLine>& lines);
    void ShowWrittenHeader(const QStringList& header);
    void CloseDocument();
    void OnSelectParty();
    // CDocumentDlgKeys.cpp: keys, the Tab chain and the buttons that save and go on.
    void InstallKeys();
    void InstallCounterKeys();
    void OnReceiptEdited(const QString& text);
    // CDocumentDlgLines.cpp: the line table.
    int AppendLine();
    bool IsLine(int row) const;
    bool TakeTypedCode(int row);
    void OnGridClick(int row, int col);
    void OnGridRightClick(int row, int col);
    void OnGridEndEdit(int row, int col, CGridResult* result);
    bool RefuseNumber(int row, int col);
    bool RecomputeLine(int row, int col);
    void UpdateReceivable();
    bool SaveBeforeLineDelete(int* row);
    // CDocumentDlgCounter.cpp: what only the counter forms do.
    void TickClock();
    void TakeOperatorsEmployee();
    void OnStateSelected();
    void OnBarcodeChanged();
    bool PricesAllowed(const QVector<DocumentLine>& lines);
    QStringList StockCodes(const QVector<DocumentLine>& lines) const;
    void ShowLowStock(const QString& text);
    void ImportEntries(const QString& text);
    QString ScannerProblemsMessage(const QList<ScannerProblem>& problems) const;
    void RefuseBarcode(const QString& message);
    void ClearBarcode();
    // CDocumentDlgReturns.cpp: lines taken from a stored sale.
    QHash<QString, qint64> SaleLinesOnScreen() const;
    void TakeSaleLine(const ReturnableLine& line, const QString& quantity);
    bool RefuseSaleLineEdit(int row, int col);

    DocumentForm m_form;
    CFormStore m_store;
    UnconfirmedSave m_unconfirmed;  // a first save the server never confirmed
    QString m_strOperatorsEmployee; // the employee a new document started with
    CLineMemory m_lines;
    QString m_strLowStock; // what the last save took under its minimum; empty for nothing
    QTimer m_clock;
    QTimer m_importTimer;

    DocumentControls m_ui;
    DocumentSaveMark* m_pSaveMark = nullptr;
    bool m_bReceiptTyped = false; // the clerk typed the receipt (a state never erases it)
};
