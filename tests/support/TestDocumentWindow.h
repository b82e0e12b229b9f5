#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "ui/CPickReceiver.h"
#include "ui/CWorkDialog.h"
#include "ui/PickArea.h"

// A stand-in for a document window (采购入库, 销售出库, 销售退货) in tests of the pickers and
// the party dialogs: a work dialog with the given title that records what it receives.
// Like a real document, PutPickedProduct looks the code up in property and raises
// m_bNoProperty when there is no row (turn that off with SetCheckProperty(false)).
//
//   TestDocumentWindow saleOut("销售出库");
//   PickArea().m_nPickTarget = 2;
//   ... pick ...
//   QCOMPARE(saleOut.Products().size(), 1);
class TestDocumentWindow : public CWorkDialog, public CPickReceiver {
    Q_OBJECT
  public:
    struct Product {
        QString name;
        QString code;
        QString spec;
        bool hasProperty = true;
    };

    explicit TestDocumentWindow(const QString& title, QWidget* parent = nullptr);

    void PutPickedProduct() override;
    void PutPickedParty(const QString& name) override;

    void SetCheckProperty(bool check) { m_bCheckProperty = check; }

    // Every PutPickedProduct call, in order, with what theApp held at that moment.
    const QList<Product>& Products() const { return m_products; }
    // The products that were taken (those with a property row).
    QList<Product> AcceptedProducts() const;
    // Every PutPickedParty call, in order.
    const QStringList& Parties() const { return m_parties; }
    // The party box: the last name put.
    QString PartyBox() const { return m_parties.isEmpty() ? QString() : m_parties.last(); }

  private:
    bool m_bCheckProperty = true;
    QList<Product> m_products;
    QStringList m_parties;
};
