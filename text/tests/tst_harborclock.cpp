// The program's day: fixed for a test run by HARBOR_TODAY or SetHarborToday, and what the
// windows take for a new document's number and date and for their query ranges.
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "DocumentShop.h"
#include "MessageScript.h"
#include "documents/CSaleOutDlg.h"
#include "documents/Oddnum.h"
#include "queries/CEntryQueryDlg.h"
#include "queries/CSaleOutQueryDlg.h"
#include "queries/SaleQueryControls.h"
#include "text/HarborClock.h"

class TestHarborClock : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() {
        // Back to the day the test program started on.
        SetHarborToday(QDate::fromString(qEnvironmentVariable("HARBOR_TODAY"), Qt::ISODate));
    }

    // A fixed day starts at noon and runs on with real time; it never goes back.
    void fixedDayRunsFromNoon() {
        QCOMPARE(HarborToday(),
                 QDate::fromString(qEnvironmentVariable("HARBOR_TODAY"), Qt::ISODate));
        SetHarborToday(QDate(2026, 12, 31));
        const QDateTime first = HarborNow();
        QCOMPARE(first.date(), QDate(2026, 12, 31));
        QVERIFY2(first.time() >= QTime(12, 0) && first.time() < QTime(12, 5),
                 qPrintable(first.toString(Qt::ISODate)));
        (void)QTest::qWaitFor([&] { return HarborNow() > first; }, 1000);
        QVERIFY(HarborNow() > first);
        QCOMPARE(HarborToday(), QDate(2026, 12, 31));
    }

    // An invalid day gives the machine's clock back.
    void invalidDayIsTheMachinesClock() {
        SetHarborToday(QDate(2001, 2, 3));
        SetHarborToday(QDate());
        const QDate before = QDate::currentDate();
        const QDate today = HarborToday();
        QVERIFY(today == before || today == QDate::currentDate());
        QVERIFY(qAbs(HarborNow().secsTo(QDateTime::currentDateTime())) < 60);
    }

    // Windows opened on a fixed day: a new sale is numbered and dated on it, the query windows
    // list that day.
    void windowsTakeTheFixedDay() {
        SetHarborToday(QDate(2027, 1, 1));
        MessageScript messages;
        DocumentShop shop;
        QVERIFY(shop.ready);
        QCOMPARE(shop.outQuery->Ui().m_pStart->date(), QDate(2027, 1, 1));
        QCOMPARE(shop.outQuery->Ui().m_pEnd->date(), QDate(2027, 1, 1));
        QCOMPARE(shop.entryQuery->StartBox()->date(), QDate(2027, 1, 1));
        QCOMPARE(shop.entryQuery->EndBox()->date(), QDate(2027, 1, 1));
        QTest::mouseClick(shop.saleOut->NewButton(), Qt::LeftButton);
        QCOMPARE(shop.saleOut->OddnumBox()->text(), OddnumPrefix(QDate(2027, 1, 1)) + "001");
        QCOMPARE(messages.Count(), 0);
    }
};

QTEST_MAIN(TestHarborClock)
#include "tst_harborclock.moc"
