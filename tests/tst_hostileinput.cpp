// Hostile, careless and unlucky text typed into every box and cell whose text reaches the
// database: quotes, SQL, LIKE wildcards, backslashes, 10,000 characters, NUL, half an emoji,
// blanks only, numbers that are not plain. Organised as a table of (window, field, how to type
// into it) crossed with the inputs. For every pair the text is either stored exactly as the box
// or cell showed it (repaired to valid Unicode) or refused with a message; nothing crashes;
// tables the action has no business with stay as they were, and so do the bystander rows (rows
// of other records, marked 旁观) in the tables it writes.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <functional>

#include "DocumentShop.h"
#include "GridInput.h"
#include "MessageScript.h"
#include "TestDatabase.h"
#include "UserInput.h"
#include "admin/ShopCopy.h"
#include "catalogue/CClassDlg.h"
#include "catalogue/CPropertyPanel.h"
#include "db/LansetFile.h"
#include "db/SqlText.h"
#include "documents/CEntryDlg.h"
#include "documents/CSaleInDlg.h"
#include "documents/CSaleOutDlg.h"
#include "grid/CGridCtrl.h"
#include "parties/CCompanyinfoDlg.h"
#include "parties/CCustomerDlg.h"
#include "parties/CEmployeeDlg.h"
#include "parties/CSupplierDlg.h"
#include "queries/CEntryQueryDlg.h"
#include "queries/CSaleInQueryDlg.h"
#include "queries/CSaleOutQueryDlg.h"
#include "queries/SaleQueryControls.h"
#include "shell/CHarborApp.h"
#include "shell/CLansetDlg.h"
#include "stock/CInventoryDlg.h"
#include "support/SettleConfirm.h"
#include "text/Cents.h"
#include "text/HarborClock.h"
#include "text/InputText.h"
#include "text/NumberLimits.h"

namespace {

const QString kBystander = QStringLiteral("旁观");
const QString kPlain = QStringLiteral("12");

// Columns of the sales query's list (its header clashes with the stock-in query's names).
constexpr int kSaleListOddnum = 1, kSaleListReceipt = 5, kSaleListState = 6;

// What careless hands, scanners and attackers type.
QStringList HostileInputs() {
    QStringList inputs{
        QStringLiteral("O'Brien \"五金\""),
        QStringLiteral("'; DROP TABLE property; --"),
        QStringLiteral("100%_五金"),
        QStringLiteral("C:\\五金\\'\\"),
        QString(10000, QChar(u'长')),
        QStringLiteral("名") + QChar(u'\0') + QStringLiteral("称"),
        QStringLiteral("名") + QChar(u'\x01') + QStringLiteral("称"),
        QString(QChar(0xD83D)) + QStringLiteral("扫码"), // the first half of an emoji
        QStringLiteral("🔧扳手"),
        QStringLiteral("   "),
        QStringLiteral("1e308"),
        QStringLiteral("-0"),
        QStringLiteral("1,5"),
        QStringLiteral("NaN"),
        QStringLiteral(" 12 "),
        QStringLiteral("１２"),
        QStringLiteral("6901234567892"),
        kPlain,
    };
    // A byte-order mark pasted in front is kept in the file; Qt's server driver still drops it
    // when it reads the text back.
    if (!TestDatabase::OnServer())
        inputs.append(QChar(0xFEFF) + QStringLiteral("五金"));
    return inputs;
}

// How a field takes its text, and what the program must do with it.
enum class Expect {
    Name,         // a name or code: blank or control characters refused
    OptionalName, // the same, but it may be left empty
    Text,         // any text is stored as typed
    Number,       // a plain number of its kind within its limits, or refused
    Filter,       // a search: reads only
};

struct Field {
    QString window;
    QString field;
    Expect expect;
    NumberKind kind = NumberKind::Quantity;
    QString table, column; // where an accepted text lands
    QStringList mayChange; // the tables the action may write
    // Opens the window, types the input as a user does, saves or searches; returns the text
    // the box or cell showed when the user pressed the button.
    std::function<QString(const QString&)> type;
};

QString Printable(const QString& text) {
    QString out;
    for (const QChar c : text.left(24))
        out += c.isPrint() && !c.isSurrogate()
                   ? QString(c)
                   : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
    return text.size() > 24 ? out + QStringLiteral("...(%1)").arg(text.size()) : out;
}

using Snapshot = QMap<QString, QStringList>;

// The tables that record what was done to the others (the log, costs, line identities) follow
// every stored row: a stored value adds to them, a refused one must not.
bool FollowsOthers(const QString& table) {
    return table.startsWith(QLatin1String("harbor_audit")) ||
           table.startsWith(QLatin1String("cost_")) || table == QLatin1String("docline");
}

Snapshot Take(TestDatabase& db) {
    Snapshot tables;
    for (const QString& table : ShopTables()) {
        QStringList rows = db.Rows(QStringLiteral("SELECT * FROM %1").arg(table));
        rows.sort();
        tables.insert(table, rows);
    }
    return tables;
}

QStringList Bystanders(const Snapshot& tables) {
    QStringList rows;
    for (auto it = tables.cbegin(); it != tables.cend(); ++it) {
        if (FollowsOthers(it.key()))
            continue; // the log names the rows next to the one changed
        for (const QString& row : it.value()) {
            if (row.contains(kBystander))
                rows.append(it.key() + ": " + row);
        }
    }
    return rows;
}

bool MustRefuse(const Field& field, const QString& shown) {
    switch (field.expect) {
    case Expect::Name:
        return !NameProblem(field.field, shown).isEmpty();
    case Expect::OptionalName:
        return !OptionalNameProblem(field.field, shown).isEmpty();
    case Expect::Number:
        return !NumberProblem(field.kind, field.field, shown).isEmpty();
    case Expect::Text:
        return !TextProblem(field.field, shown).isEmpty();
    case Expect::Filter:
        break;
    }
    return false;
}

// Whether a value of the column is the shown text as it must be stored.
bool Stored(TestDatabase& db, const Field& field, const QString& shown) {
    const QStringList values =
        db.Rows(QStringLiteral("SELECT %1 FROM %2").arg(field.column, field.table));
    if (field.expect == Expect::Number) {
        qint64 cents = 0;
        if (!TextToCents(shown, &cents))
            return false;
        return std::any_of(values.cbegin(), values.cend(), [&](const QString& value) {
            qint64 stored = 0;
            return TextToCents(value, &stored) && stored == cents;
        });
    }
    // Valid Unicode; U+0000 (which the server's text cannot hold) the record layer turns into
    // U+FFFD as it does a broken character.
    QString kept = RepairText(shown);
    kept.replace(QChar(0), QChar(QChar::ReplacementCharacter));
    return values.contains(kept);
}

// Every input through one field.
void Run(TestDatabase& db, const Field& field) {
    for (const QString& input : HostileInputs()) {
        const QString what =
            QStringLiteral("%1 / %2 <%3>: ").arg(field.window, field.field, Printable(input));
        const Snapshot before = Take(db);
        MessageScript messages;
        const QString shown = field.type(input);
        if (QTest::currentTestFailed()) {
            qWarning("%s", qPrintable(what));
            return;
        }
        const Snapshot after = Take(db);
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            if (!field.mayChange.contains(it.key()) && !FollowsOthers(it.key()))
                QVERIFY2(after.value(it.key()) == it.value(),
                         qPrintable(what + it.key() + " changed"));
        }
        QVERIFY2(Bystanders(after) == Bystanders(before), qPrintable(what + "another row changed"));
        if (field.expect == Expect::Filter) {
            QVERIFY2(after == before, qPrintable(what + "a search wrote"));
            continue;
        }
        QString refusal; // the first message that is not a report of success
        for (const QString& text : messages.Texts()) {
            if (refusal.isEmpty() && !text.contains(QStringLiteral("成功")))
                refusal = text;
        }
        if (MustRefuse(field, shown)) {
            // Refused with a message; the rest of the action may have gone on without it.
            QVERIFY2(!refusal.isEmpty(),
                     qPrintable(what + "not refused; messages: " + messages.Texts().join('/')));
            QVERIFY2(after == before || !Stored(db, field, shown),
                     qPrintable(what + "stored although refused: " + refusal));
            continue;
        }
        // A plain "12" is fine for every field: it must go through, or the field's way of
        // saving is broken and every refusal above proves nothing.
        if (input == kPlain)
            QVERIFY2(refusal.isEmpty(), qPrintable(what + "refused: " + refusal));
        if (!refusal.isEmpty())
            continue; // refused with a message, which is allowed for anything
        // Nothing changed and nothing said is fine only when the value is stored already
        // ("-0" where 0 stands).
        QVERIFY2(after != before || Stored(db, field, shown),
                 qPrintable(what + "nothing stored and nothing said"));
        QVERIFY2(Stored(db, field, shown),
                 qPrintable(what + "not stored as shown <" + Printable(shown) + ">"));
    }
}

// ---- the hands ----------------------------------------------------------------------------

template <typename Dlg> void Show(Dlg& dlg) {
    dlg.resize(1280, 700);
    dlg.show();
    if (!QTest::qWaitForWindowExposed(&dlg))
        qWarning("window not exposed");
}

// A box as a user fills it: everything selected and replaced by what the input method commits.
QString TypeInBox(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    if (!box->text().isEmpty())
        qWarning("box not emptied: <%s>", qPrintable(box->text()));
    box->insert(text);
    return box->text();
}

QString TypeInCombo(QComboBox* box, const QString& text) {
    if (box->lineEdit())
        return TypeInBox(box->lineEdit(), text);
    box->setEditText(text);
    return box->currentText();
}

const QString kProduct = QStringLiteral("0101000001");
const QString kBystanderProduct = QStringLiteral("0201000001");

// A shop with one record of each kind to edit and a bystander of each kind that no action on
// the first may touch.
void SeedShop(TestDatabase& db) {
    db.Exec("INSERT INTO customer (mc, linkman, phone, address, remark, pinyin) "
            "VALUES ('张三五金', '张三', '1', '杭州', '', 'ZSWJ')");
    db.Exec("INSERT INTO customer (mc, linkman, pinyin) VALUES ('旁观客户', '旁观', 'PGKH')");
    db.Exec("INSERT INTO supplier (mc, linkman, pinyin) VALUES ('李四五金厂', '李四', 'LSWJC')");
    db.Exec("INSERT INTO supplier (mc, linkman, pinyin) VALUES ('旁观厂', '旁观', 'PGC')");
    db.Exec("INSERT INTO employee (name, employeeid) VALUES ('王五', '7')");
    db.Exec("INSERT INTO employee (name, employeeid) VALUES ('旁观员工', '8')");
    db.Exec("INSERT INTO name1 (bh, mc) VALUES ('01', '开关')");
    db.Exec("INSERT INTO name2 (bh, mc) VALUES ('0101', '面板')");
    db.Exec("INSERT INTO name5 (bh, \"count\", pack) VALUES (?, '10', '个/箱')", {kProduct});
    db.Exec("INSERT INTO property (code, name, shortname, spec, price, discount1, discount2, "
            "discount3, total, longpinyin, shortpinyin) VALUES (?, '开关-面板', '面板', "
            "'10个/箱', '100.00', '0.9', '0.8', '0.7', '1000', 'KG-MB', 'MB')",
            {kProduct});
    db.Exec("INSERT INTO name1 (bh, mc) VALUES ('02', '旁观')");
    db.Exec("INSERT INTO name2 (bh, mc) VALUES ('0201', '旁观灯')");
    db.Exec("INSERT INTO name5 (bh, \"count\", pack) VALUES (?, '1', '旁观')", {kBystanderProduct});
    db.Exec("INSERT INTO property (code, name, shortname, spec, price, total) VALUES "
            "(?, '旁观-旁观灯', '旁观灯', '1旁观', '5', '9')",
            {kBystanderProduct});
    for (const char* table : {"saleout", "salein"})
        db.Exec(QStringLiteral("INSERT INTO %1 (oddnum, customer, mydate, receivable, receipt, "
                               "freceivable, freceipt, state, employeename, mc, code, price, "
                               "\"count\", total) VALUES ('20261201001', '旁观客户', "
                               "'2026-12-01 09:00:00', '5.00', '0', 5, 0, '未结', '旁观员工', "
                               "'旁观-旁观灯', ?, '5', '1', '5.00')")
                    .arg(QString::fromUtf8(table)),
                {kBystanderProduct});
    db.Exec("INSERT INTO entry (oddnum, supplier, mydate, money, fmoney, state, mc, code, price, "
            "\"count\", total) VALUES ('20261201001', '旁观厂', '2026-12-01 09:00:00', '5.00', 5, "
            "'未付', '旁观-旁观灯', ?, '5', '1', '5.00')",
            {kBystanderProduct});
}

// A grid dialog of parties or employees: the first record's cell, then 保存.
template <typename Dlg>
Field GridField(const QString& window, int col, const QString& label, Expect expect,
                const QString& table, const QString& column) {
    return {window,
            label,
            expect,
            NumberKind::Quantity,
            table,
            column,
            {table},
            [=](const QString& input) {
                Dlg dlg;
                Show(dlg);
                const QString shown = ReplaceInCell(dlg.Grid(), 1, col, input);
                Click(dlg.SaveButton());
                return shown;
            }};
}

Field CompanyField(int box, const QString& label, Expect expect, const QString& column) {
    return {QStringLiteral("公司信息"),
            label,
            expect,
            NumberKind::Quantity,
            QStringLiteral("companyinfo"),
            column,
            {QStringLiteral("companyinfo")},
            [=](const QString& input) {
                CCompanyinfoDlg dlg;
                Show(dlg);
                const QString shown = TypeInBox(dlg.Edit(box), input);
                Click(dlg.findChild<QPushButton*>(QStringLiteral("save")));
                return shown;
            }};
}

// The property row of the product 开关-面板: a cell, then 保存 of the panel.
Field PropertyField(int col, const QString& label, Expect expect, NumberKind kind,
                    const QString& column) {
    return {QStringLiteral("商品编码/属性"),
            label,
            expect,
            kind,
            QStringLiteral("property"),
            column,
            {QStringLiteral("property"), QStringLiteral("minstock")},
            [=](const QString& input) {
                CClassDlg dlg;
                Show(dlg);
                ChooseRow(dlg.List(1), 1);
                ChooseRow(dlg.List(2), 1);
                ChooseRow(dlg.List(5), 1);
                const QString shown = ReplaceInCell(dlg.Properties()->Grid(), 1, col, input);
                Click(dlg.Properties()->SaveButton());
                return shown;
            }};
}

// A sales document started for 张三五金 with one line of 开关-面板; the field's text typed; 保存.
template <typename Dlg>
Field SaleField(const QString& window, const QString& label, Expect expect, NumberKind kind,
                const QString& column, std::function<QString(Dlg&, const QString&)> typeIt,
                const QString& state = QStringLiteral("结清")) {
    const QString table =
        window == QStringLiteral("销售出库") ? QStringLiteral("saleout") : QStringLiteral("salein");
    return {window,
            label,
            expect,
            kind,
            table,
            column,
            {table, QStringLiteral("property")},
            [=](const QString& input) {
                Dlg dlg;
                Show(dlg);
                Click(dlg.NewButton());
                TypeInCombo(dlg.CustomerBox(), QStringLiteral("张三五金"));
                ChooseState(dlg.StateBox(), state);
                AddLineBySearch(dlg.SearchBox(), kProduct);
                ReplaceInCell(dlg.Grid(), 1, kLineCount, QStringLiteral("3"));
                ChooseState(dlg.StateBox(), state);
                const QString shown = typeIt(dlg, input);
                Click(dlg.SaveButton());
                return shown;
            }};
}

Field EntryField(const QString& label, Expect expect, NumberKind kind, const QString& column,
                 std::function<QString(CEntryDlg&, const QString&)> typeIt) {
    return {QStringLiteral("采购入库"),
            label,
            expect,
            kind,
            QStringLiteral("entry"),
            column,
            {QStringLiteral("entry"), QStringLiteral("property")},
            [=](const QString& input) {
                CEntryDlg dlg;
                Show(dlg);
                Click(dlg.NewButton());
                TypeInCombo(dlg.SupplierBox(), QStringLiteral("李四五金厂"));
                dlg.StateBox()->setCurrentIndex(dlg.StateBox()->findText(QStringLiteral("未付")));
                AddLineBySearch(dlg.SearchBox(), kProduct);
                ReplaceInCell(dlg.Grid(), 1, 5, QStringLiteral("80"));
                ReplaceInCell(dlg.Grid(), 1, 6, QStringLiteral("2"));
                const QString shown = typeIt(dlg, input);
                Click(dlg.SaveButton());
                return shown;
            }};
}

} // namespace

class TestHostileInput : public QObject {
    Q_OBJECT

  private slots:
    void init() { PickArea().m_nPickTarget = 0; }

    void partiesEmployeesAndTheShop() {
        TestDatabase db;
        SeedShop(db);
        const QString customer = QStringLiteral("customer"), supplier = QStringLiteral("supplier");
        const QVector<Field> fields = {
            GridField<CCustomerDlg>("客户", 1, "客户名称", Expect::Name, customer, "mc"),
            GridField<CCustomerDlg>("客户", 2, "联系人", Expect::Text, customer, "linkman"),
            GridField<CCustomerDlg>("客户", 3, "电话", Expect::Text, customer, "phone"),
            GridField<CCustomerDlg>("客户", 4, "地址", Expect::Text, customer, "address"),
            GridField<CCustomerDlg>("客户", 5, "备注", Expect::Text, customer, "remark"),
            GridField<CSupplierDlg>("供货商", 1, "供货商名称", Expect::Name, supplier, "mc"),
            GridField<CSupplierDlg>("供货商", 4, "地址", Expect::Text, supplier, "address"),
            GridField<CEmployeeDlg>("员工", 1, "员工姓名", Expect::Name, "employee", "name"),
            GridField<CEmployeeDlg>("员工", 2, "工号", Expect::OptionalName, "employee",
                                    "employeeid"),
            CompanyField(0, "公司名称", Expect::OptionalName, "name"),
            CompanyField(1, "电话", Expect::Text, "telephone"),
            CompanyField(3, "开户行", Expect::Text, "bank"),
            CompanyField(6, "备注三", Expect::Text, "remarks3"),
        };
        for (const Field& field : fields) {
            Run(db, field);
            if (QTest::currentTestFailed())
                return;
        }
    }

    void catalogue() {
        TestDatabase db;
        SeedShop(db);
        const QVector<Field> fields = {
            {"商品编码",
             "一级商品名称",
             Expect::Name,
             NumberKind::Quantity,
             "name1",
             "mc",
             {"name1", "property"},
             [](const QString& input) {
                 CClassDlg dlg;
                 Show(dlg);
                 const QString shown = ReplaceInCell(dlg.List(1), 1, 1, input);
                 Click(dlg.SaveButton(1));
                 return shown;
             }},
            {"商品编码",
             "二级商品名称",
             Expect::Name,
             NumberKind::Quantity,
             "name2",
             "mc",
             {"name2", "property"},
             [](const QString& input) {
                 CClassDlg dlg;
                 Show(dlg);
                 ChooseRow(dlg.List(1), 1);
                 const QString shown = ReplaceInCell(dlg.List(2), 1, 1, input);
                 Click(dlg.SaveButton(2));
                 return shown;
             }},
            {"商品编码",
             "数量",
             Expect::Name,
             NumberKind::Quantity,
             "name5",
             "count",
             {"name5", "property"},
             [](const QString& input) {
                 CClassDlg dlg;
                 Show(dlg);
                 ChooseRow(dlg.List(1), 1);
                 ChooseRow(dlg.List(2), 1);
                 const QString shown = ReplaceInCell(dlg.List(5), 1, 1, input);
                 Click(dlg.SaveButton(5));
                 return shown;
             }},
            {"商品编码",
             "包装",
             Expect::OptionalName,
             NumberKind::Quantity,
             "name5",
             "pack",
             {"name5", "property"},
             [](const QString& input) {
                 CClassDlg dlg;
                 Show(dlg);
                 ChooseRow(dlg.List(1), 1);
                 ChooseRow(dlg.List(2), 1);
                 const QString shown = ReplaceInCell(dlg.List(5), 1, 2, input);
                 Click(dlg.SaveButton(5));
                 return shown;
             }},
            PropertyField(3, "商品简称", Expect::Name, NumberKind::Quantity, "shortname"),
            PropertyField(4, "售价", Expect::Number, NumberKind::Price, "price"),
            PropertyField(5, "折扣一", Expect::Number, NumberKind::Discount, "discount1"),
            PropertyField(8, "总数", Expect::Number, NumberKind::Stock, "total"),
        };
        for (const Field& field : fields) {
            Run(db, field);
            if (QTest::currentTestFailed())
                return;
        }
    }

    void documents() {
        TestDatabase db;
        SeedShop(db);
        using Out = CSaleOutDlg;
        auto cell = [](int col) {
            return [col](CDocumentDlg& dlg, const QString& input) {
                return ReplaceInCell(dlg.Grid(), 1, col, input);
            };
        };
        auto customerBox = [](CDocumentDlg& dlg, const QString& input) {
            return TypeInCombo(dlg.CustomerBox(), input);
        };
        const QString out = QStringLiteral("销售出库"), back = QStringLiteral("销售退货");
        const QVector<Field> fields = {
            SaleField<Out>(out, "客户名称", Expect::Name, NumberKind::Quantity, "customer",
                           customerBox),
            SaleField<Out>(
                out, "实收款", Expect::Number, NumberKind::Amount, "receipt",
                [](CDocumentDlg& dlg, const QString& input) {
                    return TypeInBox(dlg.ReceiptBox(), input);
                },
                QStringLiteral("欠款")),
            SaleField<Out>(out, "单价", Expect::Number, NumberKind::Price, "price",
                           cell(kLinePrice)),
            SaleField<Out>(out, "数量", Expect::Number, NumberKind::Quantity, "count",
                           cell(kLineCount)),
            SaleField<Out>(out, "工号", Expect::OptionalName, NumberKind::Quantity, "employeeid",
                           [](CDocumentDlg& dlg, const QString& input) {
                               return TypeInBox(dlg.EmployeeIdBox(), input);
                           }),
            SaleField<Out>(out, "员工", Expect::OptionalName, NumberKind::Quantity, "employeename",
                           [](CDocumentDlg& dlg, const QString& input) {
                               return TypeInBox(dlg.EmployeeNameBox(), input);
                           }),
            SaleField<Out>(out, "件数", Expect::Text, NumberKind::Quantity, "pcs", cell(kLinePcs)),
            SaleField<CSaleInDlg>(back, "客户名称", Expect::Name, NumberKind::Quantity, "customer",
                                  customerBox),
            SaleField<CSaleInDlg>(
                back, "实退", Expect::Number, NumberKind::Amount, "receipt",
                [](CDocumentDlg& dlg, const QString& input) {
                    return TypeInBox(dlg.ReceiptBox(), input);
                },
                QStringLiteral("欠款")),
            SaleField<CSaleInDlg>(back, "单价", Expect::Number, NumberKind::Price, "price",
                                  cell(kLinePrice)),
            SaleField<CSaleInDlg>(back, "数量", Expect::Number, NumberKind::Quantity, "count",
                                  cell(kLineCount)),
            EntryField("供货商名称", Expect::Name, NumberKind::Quantity, "supplier",
                       [](CEntryDlg& dlg, const QString& input) {
                           return TypeInCombo(dlg.SupplierBox(), input);
                       }),
            EntryField("单价", Expect::Number, NumberKind::Price, "price",
                       [](CEntryDlg& dlg, const QString& input) {
                           return ReplaceInCell(dlg.Grid(), 1, 5, input);
                       }),
            EntryField("数量", Expect::Number, NumberKind::Quantity, "count",
                       [](CEntryDlg& dlg, const QString& input) {
                           return ReplaceInCell(dlg.Grid(), 1, 6, input);
                       }),
        };
        for (const Field& field : fields) {
            Run(db, field);
            if (QTest::currentTestFailed())
                return;
        }
    }

    void queriesAndStocktaking() {
        TestDatabase db;
        SeedShop(db);
        // A document of 张三五金 not settled yet, whose received amount the list takes.
        db.Exec("INSERT INTO saleout (oddnum, customer, mydate, receivable, receipt, "
                "freceivable, freceipt, state, employeename, mc, code, price, \"count\", total) "
                "VALUES ('20261202001', '张三五金', '2026-12-02 10:00:00', '300.00', '0', 300, "
                "0, '欠款', '王五', '开关-面板', ?, '100', '3', '300.00')",
                {kProduct});
        auto saleQuery = [](std::function<QString(CSaleQueryDlg&, const QString&)> typeIt,
                            bool returns = false) {
            return [typeIt, returns](const QString& input) {
                std::unique_ptr<CSaleQueryDlg> window;
                if (returns)
                    window = std::make_unique<CSaleInQueryDlg>();
                else
                    window = std::make_unique<CSaleOutQueryDlg>();
                CSaleQueryDlg& dlg = *window;
                Show(dlg);
                dlg.Ui().m_pStart->setDate(QDate(2026, 11, 1));
                dlg.Ui().m_pEnd->setDate(HarborToday());
                return typeIt(dlg, input);
            };
        };
        const QVector<Field> fields = {
            {"销售出库查询",
             "客户",
             Expect::Filter,
             NumberKind::Quantity,
             "",
             "",
             {},
             saleQuery([](CSaleQueryDlg& dlg, const QString& input) {
                 const QString shown = TypeInCombo(dlg.Ui().m_pCustomer, input);
                 Click(dlg.Ui().m_pQuery);
                 return shown;
             })},
            {"销售出库查询",
             "员工",
             Expect::Filter,
             NumberKind::Quantity,
             "",
             "",
             {},
             saleQuery([](CSaleQueryDlg& dlg, const QString& input) {
                 const QString shown = TypeInCombo(dlg.Ui().m_pEmployee, input);
                 Click(dlg.Ui().m_pQuery);
                 return shown;
             })},
            {"销售出库查询",
             "实收款",
             Expect::Number,
             NumberKind::Amount,
             "saleout",
             "receipt",
             {"saleout", "harbor_settlement"},
             saleQuery([](CSaleQueryDlg& dlg, const QString& input) {
                 Click(dlg.Ui().m_pQuery);
                 CGridCtrl* list = dlg.Ui().m_pList;
                 int row = 1;
                 while (row < list->GetRowCount() &&
                        list->GetCellText(row, kSaleListOddnum) != QStringLiteral("20261202001"))
                     ++row;
                 SettleConfirm settle;
                 ChooseInCell(list, row, kSaleListState, QStringLiteral("欠款"));
                 return ReplaceInCell(list, row, kSaleListReceipt, input);
             })},
            {"销售退货查询",
             "客户",
             Expect::Filter,
             NumberKind::Quantity,
             "",
             "",
             {},
             saleQuery(
                 [](CSaleQueryDlg& dlg, const QString& input) {
                     const QString shown = TypeInCombo(dlg.Ui().m_pCustomer, input);
                     Click(dlg.Ui().m_pQuery);
                     return shown;
                 },
                 true)},
            {"采购入库查询",
             "供货商",
             Expect::Filter,
             NumberKind::Quantity,
             "",
             "",
             {},
             [](const QString& input) {
                 CEntryQueryDlg dlg;
                 Show(dlg);
                 dlg.StartBox()->setDate(QDate(2026, 11, 1));
                 dlg.EndBox()->setDate(HarborToday());
                 const QString shown = TypeInCombo(dlg.SupplierBox(), input);
                 Click(dlg.QueryButton());
                 return shown;
             }},
            {"库存盘点",
             "关键字",
             Expect::Filter,
             NumberKind::Quantity,
             "",
             "",
             {},
             [](const QString& input) {
                 CInventoryDlg dlg;
                 Show(dlg);
                 const QString shown = TypeInBox(dlg.KeywordBox(), input);
                 Click(dlg.SearchButton());
                 return shown;
             }},
        };
        for (const Field& field : fields) {
            Run(db, field);
            if (QTest::currentTestFailed())
                return;
        }
    }

    // The LAN dialog's address never becomes a setting unless it is four numbers 0-255.
    void lanAddress() {
        QTemporaryDir dir;
        theApp.m_strLansetPath = dir.filePath("Lanset.ini");
        const QByteArray local = FormatLanset(0, 0);
        {
            QFile file(theApp.m_strLansetPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(local);
        }
        for (const QString& input : HostileInputs()) {
            MessageScript messages;
            CLansetDlg dlg;
            Show(dlg);
            Click(dlg.LanRadio());
            TypeInBox(dlg.AddressEdit(), input);
            Click(dlg.findChild<QPushButton*>(QStringLiteral("save")));
            QFile file(theApp.m_strLansetPath);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY2(file.readAll() == local, qPrintable(Printable(input)));
            QVERIFY2(messages.Count() > 0, qPrintable(Printable(input)));
        }
        theApp.m_strLansetPath.clear();
    }
};

QTEST_MAIN(TestHostileInput)
#include "tst_hostileinput.moc"
#include "ui/PickArea.h"
