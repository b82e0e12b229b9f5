#include "TestDocumentWindow.h"

#include "db/CRecordset.h"
#include "db/SqlText.h"
#include "ui/PickArea.h"

TestDocumentWindow::TestDocumentWindow(const QString& title, QWidget* parent)
    : CWorkDialog(title, parent) {}

void TestDocumentWindow::PutPickedProduct() {
    Product product{PickArea().m_strPickedName, PickArea().m_strPickedCode,
                    PickArea().m_strPickedSpec};
    if (m_bCheckProperty) {
        CRecordset rs;
        rs.Open("SELECT * FROM property WHERE code=?", {product.code});
        product.hasProperty = !rs.IsEOF();
        rs.Close();
        if (!product.hasProperty)
            m_bNoProperty = true;
    }
    m_products.append(product);
}

void TestDocumentWindow::PutPickedParty(const QString& name) {
    m_parties.append(name);
}

QList<TestDocumentWindow::Product> TestDocumentWindow::AcceptedProducts() const {
    QList<Product> accepted;
    for (const Product& product : m_products) {
        if (product.hasProperty)
            accepted.append(product);
    }
    return accepted;
}
