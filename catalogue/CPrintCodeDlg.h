#pragma once

#include <QUrl>
#include <functional>

#include "db/SqlText.h"
#include "ui/CWorkDialog.h"

class CCatalogueLists;
class CGridCtrl;
class QLabel;
class QPushButton;
struct LabelSheet;
struct ProductLabel;

// 条码打印: fills printcodedata with the code, short name and specification of the products of
// the class chosen in the five catalogue lists (or of every product). Then either prints the
// labels itself (preview first, sheets as 标签设置 keeps them), or makes sure the ODBC data
// source "远航销售" names the database and opens the label document "ODBC数据源.lsdx" beside the
// program, whose label program prints from printcodedata.
// The prefix of the class last clicked outlives the window.
class CPrintCodeDlg : public CWorkDialog {
    Q_OBJECT
  public:
    // Registers the data source for a database file; false when that failed.
    using Registrar = std::function<bool(const QString& databasePath)>;
    // Opens a document with the program the desktop associates with it; false when it failed.
    using Opener = std::function<bool(const QUrl& url)>;

    explicit CPrintCodeDlg(QWidget* parent = nullptr);
    ~CPrintCodeDlg() override;

    // The statement that copies the products whose code starts with the prefix.
    static SqlStatement ClassLabelsSql(const QString& prefix);
    // The label document beside the program.
    static QString LabelDocumentPath();

    void PrintClassLabels();
    void PrintAllLabels();

    // Replace the registration and the opener (by default the real ones).
    void SetRegistrar(Registrar registrar) { m_fnRegister = std::move(registrar); }
    void SetOpener(Opener opener) { m_fnOpen = std::move(opener); }

    QString PrintPrefix() const { return m_strPrintPrefix; }
    CGridCtrl* List(int k) const;
    QPushButton* ClassButton() const { return m_pClassButton; }
    QPushButton* AllButton() const { return m_pAllButton; }
    QPushButton* SetupButton() const { return m_pSetupButton; }
    QLabel* SheetText() const { return m_pSheetText; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void OnNodeChosen(int k);
    void OnSpecClick(int row, int col);
    void SetPrintPrefix(const QString& prefix);
    void RunPrintJob(const SqlStatement& insertSql);
    static QList<ProductLabel> ReadLabels();
    void PreviewLabels(const QList<ProductLabel>& labels);
    static void SaveLabelsPdf(QWidget* parent, const QList<ProductLabel>& labels,
                              const LabelSheet& sheet);
    void SetupLabels();
    void ShowSheet();
    void ConfigureLabelDataSource();
    void OpenLabelDocument();

    QString m_strPrintPrefix;
    Registrar m_fnRegister;
    Opener m_fnOpen;
    CCatalogueLists* m_pLists = nullptr;
    QPushButton* m_pClassButton = nullptr;
    QPushButton* m_pAllButton = nullptr;
    QPushButton* m_pSetupButton = nullptr;
    QLabel* m_pSheetText = nullptr;
};
