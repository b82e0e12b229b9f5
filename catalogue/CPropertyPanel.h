#pragma once

#include <QColor>
#include <QGroupBox>

#include <QStringList>

class CCatalogueTree;
class CGridCtrl;
class QBoxLayout;
class QPushButton;

// The property half of the coding window: one row with the full name, specification and code of
// the chosen product and its short name, price, discounts and stock, saved into table property,
// and its minimum stock, saved into table minstock in the same transaction.
class CPropertyPanel : public QGroupBox {
    Q_OBJECT
  public:
    // The panel reads the window's remembered path; showing a product completes it with "00".
    CPropertyPanel(CCatalogueTree& path, QWidget* parent = nullptr);

    // k = 1 to 4 clears the row; k = 5 shows the product at the end of the path.
    void ShowProperties(int k, const QString& spec);
    void SaveProperties();
    void MakeAllPinyin();

    // The background of a level-5 row: red without properties, yellow when the short name,
    // price or stock is missing, white otherwise. Raises CDbException.
    static QColor StateColour(const QString& code);

    CGridCtrl* Grid() const { return m_pGrid; }
    QPushButton* SaveButton() const { return m_pSave; }
    QPushButton* PinyinButton() const { return m_pPinyin; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void FillRow(const QStringList& values);
    QString Cell(int col) const;

    CCatalogueTree& m_path;
    CGridCtrl* m_pGrid;
    QPushButton* m_pSave;
    QPushButton* m_pPinyin;
    QBoxLayout* m_pLayout;
};

// The first of the typed property values (short name, price, three discounts, stock) that cannot
// be stored, as the message naming its field; empty when all can.
QString PropertyValueProblem(const QStringList& values);
