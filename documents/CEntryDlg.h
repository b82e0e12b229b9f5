#pragma once

#include <QDate>
#include <QString>
#include <optional>

#include "documents/CDocumentStore.h"
#include "documents/CLineMemory.h"
#include "documents/EntryControls.h"
#include "documents/EntryLineMath.h"
#include "documents/UnconfirmedSave.h"
#include "ui/CPickReceiver.h"
#include "ui/CWorkDialog.h"

struct CGridResult;
class DocumentSaveMark;
class QLabel;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

// "采购入库": goods received from a supplier. The user starts a document (which draws its
// number for the delivery date), chooses the supplier and the payment state, fills the line
// table through the product pickers and types prices and quantities. A save writes one entry
// row per line and raises the stock; saving again moves the stock by the differences only.
// Each line remembers the stored row it stands for; closing, printing, a new document and
// deleting a stored line ask first when the screen holds unsaved changes.
class CEntryDlg : public CWorkDialog, public CPickReceiver {
    Q_OBJECT
  public:
    explicit CEntryDlg(QWidget* parent = nullptr);
    ~CEntryDlg() override;

    void PutPickedProduct() override;
    void PutPickedParty(const QString& name) override;
    bool QueryClose() override;

    // "新增一单": draws a number and opens an empty document. False when no number is left.
    bool NewDocument();
    // "保存": validates and writes the document in one transaction. True when it was saved.
    bool Save();
    // "新增商品": appends a line and fills it through a picker.
    void AddLine();
    // "删除商品": removes the line chosen by a left click; a stored line leaves the database at
    // once, its stock is taken off again and the amount follows the remaining rows.
    void DeleteLine();
    // Whether the screen holds something that is not stored: changes after the last save, or
    // anything at all on a document that was never saved.
    bool HasUnsavedChanges() const;
    // Whether closing or printing must ask to save first: unsaved changes, or a document that
    // was never saved.
    bool NeedsSaving() const;
    // Shows the document as it is stored now (after another window changed it).
    void ReloadDocument();
    // Enter in the supplier box: lists the suppliers whose initials hold the typed text.
    void SearchSupplier();
    // "打印" (1), "打印设置" (2), "打印预览" (3): hands the document to the home view and prints.
    void PrintDocument(int mode);

    CGridCtrl* Grid() const { return m_ui.m_pGrid; }
    QLineEdit* OddnumBox() const { return m_ui.m_pOddnum; }
    QComboBox* SupplierBox() const { return m_ui.m_pSupplier; }
    QDateEdit* DateBox() const { return m_ui.m_pDate; }
    QLineEdit* MoneyBox() const { return m_ui.m_pMoney; }
    QComboBox* StateBox() const { return m_ui.m_pState; }
    QLineEdit* SearchBox() const { return m_ui.m_pSearch; }
    QPushButton* SupplierButton() const { return m_ui.m_pSelectSupplier; }
    QPushButton* NewButton() const { return m_ui.m_pNewDoc; }
    QPushButton* SaveButton() const { return m_ui.m_pSave; }
    QPushButton* AddLineButton() const { return m_ui.m_pAddLine; }
    QPushButton* DeleteLineButton() const { return m_ui.m_pDeleteLine; }
    QPushButton* PrintButton() const { return m_ui.m_pPrint; }
    QCheckBox* SinglePageBox() const { return m_ui.m_pSinglePage; }
    QPushButton* PrintSetupButton() const { return m_ui.m_pPrintSetup; }
    QPushButton* PreviewButton() const { return m_ui.m_pPreview; }
    QPushButton* SaveAndPrintButton() const { return m_pSavePrint; }
    QPushButton* SaveAndNewButton() const { return m_pSaveNew; }
    // Tells the result of the last save; the saved mark is on while the screen is stored.
    QLabel* StatusLine() const;
    bool IsMarkedSaved() const;
    // "保存并打印" and "保存并新开一单".
    void SaveAndPrint();
    void SaveAndNew();

    QString m_strOddnum;
    QString m_strSupplier;
    QString m_strDate;
    QDate m_date;
    QString m_strMoney;
    QString m_strState;
    QString m_strSearch;
    int m_nRow = 0;
    int m_nCol = 0;
    int m_nDeleteRow = 0;
    bool m_bSaved = false;
    bool m_bEditRefused = false;
    bool m_bSinglePage = true;
    // The header last written or read; none while nothing is stored under the number.
    std::optional<QStringList> m_savedHeader;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void FirstShown() override;

  private:
    void ConnectControls();
    void InstallKeys();
    void PlaceExtraButtons();
    void EnableDocument(bool enable);
    void OnSinglePage(bool on);
    void ReadBoxes();
    QStringList Header() const;
    bool AskToSave();
    bool SaveDocument(QString& oddnum, const QStringList& header, const QVector<EntryLine>& lines);
    void TakeWritten(const QStringList& header, const QVector<EntryLine>& lines);
    bool NothingInDoubt();
    void ShowMoney(const QString& money);
    bool SaveBeforeLineDelete(int* row);
    void CloseDocument();
    int AppendLine();
    bool HandOverDocument();
    void OnSelectSupplier();
    void OnGridClick(int row, int col);
    void OnGridRightClick(int row, int col);
    void OnGridEndEdit(int row, int col, CGridResult* result);
    bool RefuseNumber(int row, int col);
    void UpdateMoney();
    bool IsLine(int row) const;

    EntryControls m_ui;
    CDocumentStore m_store{DocumentTable::Entry()};
    UnconfirmedSave m_unconfirmed; // a first save the server never confirmed
    CLineMemory m_lines;
    DocumentSaveMark* m_pSaveMark = nullptr;
    QPushButton* m_pSavePrint = nullptr;
    QPushButton* m_pSaveNew = nullptr;
};
