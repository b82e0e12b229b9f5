#pragma once

#include <QMdiArea>
#include <QPageLayout>
#include <QString>
#include <memory>

#include "ui/ListPrintData.h"

class CWorkDialog;
class QPrinter;

// The home view: paints the home picture and is the work area on which the dialogs lie.
// Every paint and resize stores its screen rectangle in theApp.m_rcWorkArea.
class CHarborView : public QMdiArea {
    Q_OBJECT
  public:
    explicit CHarborView(QWidget* parent = nullptr);
    ~CHarborView() override;

    // The work area in the view's own coordinates.
    QRect WorkAreaRect() const;
    void UpdateWorkArea();

    // Shows a dialog in its sub-window (creating that on first use) and places it.
    void ShowDialog(CWorkDialog* dialog, bool created);

    // List printing. A window fills the slots of a list kind (1 to 4), makes it the kind that
    // prints and runs one of the print commands.
    ListPrintData& PrintList(int kind);
    // The one printer that setup, print and preview share.
    QPrinter& Printer();
    // Prints into a PDF file instead of the printer (tests, saving a list).
    void SetPrintOutputFile(const QString& path);
    void OnFilePrint();       // asks for the printer first
    void OnFilePrintDirect(); // the current printer, no dialog
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    // Reads the shop's name and contact lines when exactly one companyinfo row exists.
    void LoadCompanyTexts();

    int m_nPrintKind = 0;  // 0 nothing, 1 to 4 the list kind
    bool m_bPaged = false; // false: the whole list on one page of custom length
    int m_nPageCount = 1;
    int m_nPageHeight = 0;
    int m_nPageWidth = 0;
    QString m_strCompanyName;
    QString m_strCompanyLine[6];

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QRect ColumnPlacement(int width) const;
    void BeginPrinting(QPrinter& printer);
    void PrintPages(QPrinter* printer);

    std::unique_ptr<QPrinter> m_pPrinter;
    QPageLayout m_setupLayout; // the paper chosen in the print setup
    ListPrintData m_aList[4] = {ListPrintData(1), ListPrintData(2), ListPrintData(3),
                                ListPrintData(4)};
};
