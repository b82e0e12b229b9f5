// The limits of typed numbers: what a scanner or a careless hand can put into a number field.
#include <QtTest>

#include "text/InputText.h"
#include "text/NumberLimits.h"

class TestNumberLimits : public QObject {
    Q_OBJECT

  private slots:
    void hostileNumbersAreRefusedWithTheFieldNamed_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("problem");
        const int quantity = int(NumberKind::Quantity);
        const int price = int(NumberKind::Price);
        const int discount = int(NumberKind::Discount);
        const int amount = int(NumberKind::Amount);
        QTest::newRow("EAN-13 in quantity") << quantity << "6901234567892"
                                            << "数量不能超过9999999.99,请改正";
        QTest::newRow("38 nines") << quantity << QString(38, '9')
                                  << "数量不能超过9999999.99,请改正";
        QTest::newRow("most negative") << quantity << "-9999999.99"
                                       << "";
        QTest::newRow("beyond negative") << quantity << "-10000000"
                                         << "数量不能小于-9999999.99,请改正";
        QTest::newRow("largest quantity") << quantity << "9999999.99"
                                          << "";
        QTest::newRow("exponent") << quantity << "1e308"
                                  << "数量\"1e308\"不是数字,请改正";
        QTest::newRow("comma") << quantity << "1,5"
                               << "数量\"1,5\"不是数字,请改正";
        QTest::newRow("NaN") << quantity << "NaN"
                             << "数量\"NaN\"不是数字,请改正";
        QTest::newRow("blanks") << price << " 12 "
                                << "单价\" 12 \"不是数字,请改正";
        QTest::newRow("full-width") << price << "１２"
                                    << "单价\"１２\"不是数字,请改正";
        QTest::newRow("negative price") << price << "-1"
                                        << "单价不能是负数,请改正";
        QTest::newRow("largest price") << price << "99999999.99"
                                       << "";
        QTest::newRow("price too high") << price << "100000000"
                                        << "单价不能超过99999999.99,请改正";
        QTest::newRow("discount above one") << discount << "9"
                                            << "折扣不能超过1.00,请改正";
        QTest::newRow("discount") << discount << "0.95"
                                  << "";
        QTest::newRow("trailing point") << amount << "3."
                                        << "";
        QTest::newRow("leading point") << amount << ".25"
                                       << "";
        QTest::newRow("amount too high") << amount << "100000000000"
                                         << "金额不能超过99999999999.99,请改正";
        QTest::newRow("empty is the caller's") << amount << ""
                                               << "";
    }
    void hostileNumbersAreRefusedWithTheFieldNamed() {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QString, problem);
        const NumberKind k = NumberKind(kind);
        const QString field = k == NumberKind::Quantity   ? "数量"
                              : k == NumberKind::Price    ? "单价"
                              : k == NumberKind::Discount ? "折扣"
                                                          : "金额";
        QCOMPARE(NumberProblem(k, field, text), problem);
    }

    void namesRefuseBlanksAndControlCharacters() {
        QCOMPARE(NameProblem("客户名称", "五金店"), QString());
        QCOMPARE(NameProblem("客户名称", "多行\t地址\r\n"), QString());
        QCOMPARE(NameProblem("客户名称", "   "), QString("客户名称不能为空"));
        QCOMPARE(NameProblem("客户名称", QString("\u3000")), QString("客户名称不能为空"));
        QCOMPARE(NameProblem("客户名称", QString("甲") + QChar(0) + "乙"),
                 QString("客户名称中有不能保存的控制字符,请改正"));
        QCOMPARE(NameProblem("编码", QString("01\x1b")),
                 QString("编码中有不能保存的控制字符,请改正"));
    }
};

QTEST_MAIN(TestNumberLimits)
#include "tst_numberlimits.moc"
