// Operator accounts: the 操作员管理 window, signing in (lock after wrong passwords, anything
// typed refused in the ordinary way), and permissions refused and allowed in the real windows
// with 店长授权.
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

#include "accounts/CIdleSignIn.h"
#include "accounts/COperatorDlg.h"
#include "accounts/CSignInDlg.h"
#include "db/AuditLog.h"
#include "db/OperatorSession.h"
#include "db/OperatorStore.h"
#include "db/PasswordHash.h"
#include "documents/CSaleOutDlg.h"
#include "documents/PriceFloor.h"
#include "documents/ProductFacts.h"
#include "grid/CGridCtrl.h"
#include "queries/CSaleOutQueryDlg.h"
#include "queries/SaleQueryControls.h"
#include "queries/SaleQueryGrid.h"
#include "shell/CHarborApp.h"
#include "shell/CMainFrame.h"
#include "support/DocumentShop.h"
#include "support/GridInput.h"
#include "support/MessageScript.h"
#include "support/ModalDriver.h"
#include "support/TestDatabase.h"
#include "ui/CDbAction.h"
#include "ui/CommandIds.h"

namespace {

const char* const kWrong = "操作员或密码不对。";

CConnection& Shop() {
    return *Db();
}

// Adds an operator in the 操作员管理 window as the owner does.
void AddInWindow(COperatorDlg& dlg, const QString& name, const QString& password,
                 const QString& role) {
    dlg.NameEdit()->setText(name);
    dlg.PasswordEdit()->setText(password);
    dlg.RoleBox()->setCurrentText(role);
    QTest::mouseClick(dlg.AddButton(), Qt::LeftButton);
}

// The owner 老板, the manager 店长甲 and the clerk 小王, added in the window.
void ThreeOperators() {
    MessageScript messages;
    COperatorDlg dlg;
    AddInWindow(dlg, "老板", "owner-pw", "店主");
    AddInWindow(dlg, "店长甲", "manager-pw", "店长");
    AddInWindow(dlg, "小王", "clerk-pw", "收银员");
    QCOMPARE(dlg.OperatorTable()->rowCount(), 3);
}

void SignInAs(const QString& name, const QString& password) {
    const SignInOutcome outcome = CheckOperator(Shop(), name, password);
    QCOMPARE(outcome.result, SignInResult::Ok);
    OperatorSession::Instance().SignIn(outcome.op);
}

// Types into the sign-in box and presses 登录/授权.
void TypeAndOk(CSignInDlg* dlg, const QString& name, const QString& password) {
    dlg->NameEdit()->setText(name);
    dlg->PasswordEdit()->setText(password);
    QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
}

} // namespace

class TestOperators : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { qputenv("HARBOR_PWHASH_FAST", "1"); }
    void cleanup() { OperatorSession::Instance().SignOut(); }
    void FirstOperatorIsOwner();
    void LockAfterWrongPasswords();
    void HostileSignIn();
    void OldHashReplaced();
    void DeleteRefusedAndAuthorized();
    void SaleBelowTheCatalogueAndTheOperatorsEmployee();
    void RolePermissionsChanged();
    void IdleProgramAsksAgain();
    void PurchasePricesNeedTheirPermission();
    void ResetOwnerOnTheComputer();
};

void TestOperators::FirstOperatorIsOwner() {
    TestDatabase db;
    QVERIFY(!AccountsEnabled(Shop()));
    QVERIFY(HasPermission(Permission::Operators)); // no accounts: everything as before
    MessageScript messages;
    COperatorDlg dlg;
    AddInWindow(dlg, "小王", "pw", "收银员");
    QVERIFY(messages.Last().contains("第一个操作员必须是店主"));
    QVERIFY(!AccountsEnabled(Shop()));
    AddInWindow(dlg, "老板", "owner-pw", "店主");
    QVERIFY(AccountsEnabled(Shop()));
    QCOMPARE(OperatorSession::Instance().Operator().name, QString("老板"));
    // Stored as an Argon2id string only.
    const QString hash = db.Value("SELECT pwhash FROM harbor_operator WHERE name='老板'");
    QVERIFY(hash.startsWith("$argon2id$"));
    QVERIFY(!hash.contains("owner-pw"));
    QVERIFY(VerifyPassword(hash, "owner-pw"));
    // Logged, without the hash.
    QCOMPARE(db.Value("SELECT operator FROM harbor_audit WHERE action='添加操作员'"), QString());
    QCOMPARE(db.Value("SELECT object FROM harbor_audit WHERE action='添加操作员'"),
             QString("老板"));
    QVERIFY(!db.Value("SELECT after_rows FROM harbor_audit WHERE action='添加操作员'")
                 .contains("argon2"));
    // Without a signed-in operator nothing is allowed any more.
    OperatorSession::Instance().SignOut();
    QVERIFY(!HasPermission(Permission::Operators));
    SignInAs("老板", "owner-pw");
    QVERIFY(HasPermission(Permission::Operators));
}

void TestOperators::LockAfterWrongPasswords() {
    TestDatabase db;
    ThreeOperators();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int i = 1; i < kMaxFailures; ++i)
        QCOMPARE(CheckOperator(Shop(), "小王", "nope", "登录", now).result, SignInResult::Refused);
    QCOMPARE(CheckOperator(Shop(), "小王", "nope", "登录", now).result, SignInResult::Locked);
    // Locked: even the right password is refused for a minute; other accounts go on.
    QCOMPARE(CheckOperator(Shop(), "小王", "clerk-pw", "登录", now.addSecs(30)).result,
             SignInResult::Locked);
    QCOMPARE(CheckOperator(Shop(), "店长甲", "manager-pw", "登录", now).result, SignInResult::Ok);
    QCOMPARE(CheckOperator(Shop(), "小王", "clerk-pw", "登录", now.addSecs(61)).result,
             SignInResult::Ok);
    // A right password clears the count: four more wrong ones do not lock.
    for (int i = 1; i < kMaxFailures; ++i)
        CheckOperator(Shop(), "小王", "nope", "登录", now.addSecs(62));
    QCOMPARE(CheckOperator(Shop(), "小王", "clerk-pw", "登录", now.addSecs(63)).result,
             SignInResult::Ok);
    QCOMPARE(
        db.Value("SELECT count(*) FROM harbor_audit WHERE action='登录失败' AND object='小王'"),
        QString::number(2 * kMaxFailures));
    QCOMPARE(db.Value("SELECT count(*) FROM harbor_audit WHERE action='登录'"), QString("3"));

    // The window shows the lock message.
    for (int i = 0; i < kMaxFailures; ++i)
        CheckOperator(Shop(), "店长甲", "nope");
    MessageScript messages;
    CSignInDlg dlg;
    TypeAndOk(&dlg, "店长甲", "manager-pw");
    QVERIFY(messages.Last().contains("已被锁定"));
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
}

void TestOperators::HostileSignIn() {
    TestDatabase db;
    ThreeOperators();
    const QString nul = QString("老板") + QChar(0) + "x";
    const QString lone = QString("老板") + QChar(0xD800);
    const QStringList names = {QString(5000, QChar('A')),
                               nul,
                               lone,
                               "' OR '1'='1",
                               "老板'; DELETE FROM harbor_operator; --",
                               "",
                               " 老板"};
    const QStringList passwords = {"x",           QString(100000, QChar('p')),   nul, lone,
                                   "' OR '1'='1", QString("owner-pw") + QChar(0)};
    MessageScript messages;
    CSignInDlg dlg;
    for (const QString& name : names) {
        TypeAndOk(&dlg, name, "owner-pw");
        QCOMPARE(messages.Last(), QString(kWrong));
    }
    // Three tries for each of two operators: under the lock.
    for (int i = 0; i < passwords.size(); ++i) {
        const QString& password = passwords[i];
        TypeAndOk(&dlg, i % 2 ? "店长甲" : "小王", password);
        QCOMPARE(messages.Last(), QString(kWrong));
    }
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QCOMPARE(db.Value("SELECT count(*) FROM harbor_operator"), QString("3"));
    QVERIFY(VerifyAuditLog(Shop()).ok);
    TypeAndOk(&dlg, "老板", "owner-pw");
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(dlg.Result().role, QString("店主"));
}

void TestOperators::OldHashReplaced() {
    TestDatabase db;
    ThreeOperators(); // made with the fast limits
    const QString old = db.Value("SELECT pwhash FROM harbor_operator WHERE name='小王'");
    qunsetenv("HARBOR_PWHASH_FAST");
    QVERIFY(PasswordNeedsRehash(old));
    QCOMPARE(CheckOperator(Shop(), "小王", "clerk-pw").result, SignInResult::Ok);
    const QString now = db.Value("SELECT pwhash FROM harbor_operator WHERE name='小王'");
    QVERIFY(now != old);
    QVERIFY(!PasswordNeedsRehash(now));
    qputenv("HARBOR_PWHASH_FAST", "1");
    QCOMPARE(CheckOperator(Shop(), "小王", "clerk-pw").result, SignInResult::Ok);
}

void TestOperators::DeleteRefusedAndAuthorized() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    shop.AddProduct("0101000001", "五金-螺丝", "10.00", "100");
    ThreeOperators();
    SignInAs("小王", "clerk-pw");
    // A clerk sells as before.
    MessageScript saved;
    shop.NewSale(shop.saleOut);
    shop.AddSaleLine(shop.saleOut, "0101000001", "2");
    QVERIFY(shop.saleOut->Save());
    QVERIFY(!saved.Texts().join("").contains("权限"));
    const QString oddnum = shop.saleOut->OddnumBox()->text();
    QCOMPARE(shop.Stock("0101000001"), QString("98.00"));

    DocumentShop::QueryAll(shop.outQuery);
    CGridCtrl* list = shop.outQuery->Ui().m_pList;
    auto pressDelete = [&] {
        ClickCell(list, DocumentShop::ListRow(list, oddnum), kListCustomer);
        QTest::mouseClick(shop.outQuery->Ui().m_pDelete, Qt::LeftButton);
    };
    // 是 (give the stock back): refused, naming the permission; 取消 leaves the document.
    MessageScript messages({IDYES, IDCANCEL});
    pressDelete();
    QCOMPARE(messages.Count(), 2);
    QCOMPARE(messages.Messages()[1].caption, QString("权限不足"));
    QVERIFY(messages.Messages()[1].text.contains("“删除单据并退回库存”"));
    QVERIFY(messages.Messages()[1].text.contains("店长授权"));
    QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout WHERE oddnum=?", {oddnum}), QString("1"));

    // 店长授权: a wrong password, then another clerk-level person, then the manager.
    messages.Clear();
    messages.Answer(IDYES);
    messages.Answer(IDOK);
    ModalDriver<CSignInDlg> authorize({[](CSignInDlg* dlg) {
        TypeAndOk(dlg, "店长甲", "wrong");
        TypeAndOk(dlg, "店长甲", "manager-pw");
    }});
    pressDelete();
    QCOMPARE(authorize.Handled(), 1);
    QVERIFY(messages.Texts().contains(kWrong));
    QVERIFY(messages.Last().startsWith("已删除单号" + oddnum));
    QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout WHERE oddnum=?", {oddnum}), QString("0"));
    QCOMPARE(shop.Stock("0101000001"), QString("100.00"));
    // The log names both.
    QCOMPARE(shop.db.Rows("SELECT operator, authorizer, object FROM harbor_audit WHERE "
                          "action='删除销售单'"),
             QStringList{"小王|店长甲|" + oddnum});
    // The authorization was for that one action.
    QCOMPARE(OperatorSession::Instance().TakeAuthorizer(), QString());
    QVERIFY(!HasPermission(Permission::DeleteWithStock));
}

// A clerk linked to an employee starts sales in that employee's name; a price under the
// catalogue's or a discount under the product's lowest needs the permission (or 店长授权), once:
// a line stored so is not asked for again when another line changes.
void TestOperators::SaleBelowTheCatalogueAndTheOperatorsEmployee() {
    const ProductFacts screw{"五金-螺丝", "", "", "10.00", "0.9", "0.8", "", "100"};
    QVERIFY(!BelowCatalogue("10.00", "1.0", screw));
    QVERIFY(!BelowCatalogue("10.0000", "0.8", screw));
    QVERIFY(!BelowCatalogue("12.00", "", screw));
    QVERIFY(BelowCatalogue("9.99", "1.0", screw));
    QVERIFY(BelowCatalogue("10.00", "0.75", screw));
    QVERIFY(BelowCatalogue("10.00", "0.5", ProductFacts{"", "", "", "10.00", "", "", "", "1"}));

    DocumentShop shop;
    QVERIFY(shop.ready);
    shop.AddProduct("0101000001", "五金-螺丝", "10.00", "100");
    shop.AddProduct("0101000002", "五金-螺母", "2.00", "100");
    shop.db.Exec("INSERT INTO employee (name, employeeid) VALUES ('王五', '7')");
    ThreeOperators();
    {
        MessageScript messages;
        COperatorDlg dlg;
        dlg.EmployeeEdit()->setText("7");
        AddInWindow(dlg, "小李", "clerk2-pw", "收银员");
    }
    SignInAs("小李", "clerk2-pw");
    CSaleOutDlg* dlg = shop.saleOut;
    shop.NewSale(dlg);
    QCOMPARE(dlg->EmployeeIdBox()->text(), QString("7"));
    QCOMPARE(dlg->EmployeeNameBox()->text(), QString("王五"));
    // The manager goes on with the sale; here managers may change documents, not sell below.
    shop.db.Exec("DELETE FROM harbor_role_permission WHERE role='店长' AND "
                 "permission='below_price'");
    SignInAs("店长甲", "manager-pw");
    shop.AddSaleLine(dlg, "0101000001", "2");
    TypeInCell(dlg->Grid(), 1, 5, "9.00");

    // Refused, naming the permission; nothing stored.
    {
        MessageScript messages({IDCANCEL});
        QVERIFY(!dlg->Save());
        QVERIFY2(messages.Texts().join("").contains("“低于售价或折扣下限销售”"),
                 qPrintable(messages.Texts().join("\n")));
        QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout"), QString("0"));
    }
    // The owner allows it for this save.
    {
        MessageScript messages({IDOK});
        ModalDriver<CSignInDlg> authorize(
            {[](CSignInDlg* sign) { TypeAndOk(sign, "老板", "owner-pw"); }});
        QVERIFY(dlg->Save());
        QCOMPARE(authorize.Handled(), 1);
    }
    QCOMPARE(shop.db.Rows("SELECT price, employeeid FROM saleout"), QStringList{"9.00|7"});
    // Another line at the catalogue's price: the stored line is not asked for again.
    MessageScript messages;
    shop.AddSaleLine(dlg, "0101000002", "1");
    QVERIFY(dlg->Save());
    QVERIFY(!messages.Texts().join("").contains("权限"));
    QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout"), QString("2"));
    QCOMPARE(shop.db.Rows("SELECT operator, authorizer FROM harbor_audit WHERE action='保存单据' "
                          "ORDER BY seq"),
             (QStringList{"店长甲|老板", "店长甲|"}));
}

void TestOperators::RolePermissionsChanged() {
    TestDatabase db;
    ThreeOperators();
    SignInAs("老板", "owner-pw");
    MessageScript messages;
    COperatorDlg dlg;
    // The clerk may now settle debts (the row of 结清欠款和开票, the column of 收银员).
    const int row = int(AllPermissions().indexOf(Permission::Settle));
    dlg.PermissionTable()->item(row, 2)->setCheckState(Qt::Checked);
    // The owner cannot give up managing operators.
    const int operators = int(AllPermissions().indexOf(Permission::Operators));
    dlg.PermissionTable()->item(operators, 0)->setCheckState(Qt::Unchecked);
    QTest::mouseClick(dlg.SavePermissionsButton(), Qt::LeftButton);
    QVERIFY(messages.Last().contains("店主必须保留管理操作员的权限"));
    QVERIFY(!RolePermissions(Shop(), "收银员").contains("settle"));
    // The window shows what is stored again.
    QCOMPARE(dlg.PermissionTable()->item(operators, 0)->checkState(), Qt::Checked);
    QCOMPARE(dlg.PermissionTable()->item(row, 2)->checkState(), Qt::Unchecked);
    dlg.PermissionTable()->item(row, 2)->setCheckState(Qt::Checked);
    QTest::mouseClick(dlg.SavePermissionsButton(), Qt::LeftButton);
    QVERIFY(RolePermissions(Shop(), "收银员").contains("settle"));
    QCOMPARE(db.Value("SELECT operator FROM harbor_audit WHERE action='修改权限'"),
             QString("老板"));
    // A clerk's password reset by the owner; the last owner cannot be demoted.
    dlg.NameEdit()->setText("小王");
    dlg.PasswordEdit()->setText("new-pw");
    QTest::mouseClick(dlg.PasswordButton(), Qt::LeftButton);
    QCOMPARE(CheckOperator(Shop(), "小王", "new-pw").result, SignInResult::Ok);
    dlg.NameEdit()->setText("老板");
    dlg.RoleBox()->setCurrentText("店长");
    QTest::mouseClick(dlg.RoleButton(), Qt::LeftButton);
    QVERIFY(messages.Last().contains("唯一的店主"));
    QCOMPARE(db.Value("SELECT role FROM harbor_operator WHERE name='老板'"), QString("店主"));
}

void TestOperators::IdleProgramAsksAgain() {
    TestDatabase db;
    ThreeOperators();
    {
        COperatorDlg dlg;
        QCOMPARE(dlg.IdleBox()->value(), 0); // never, until the owner sets it
        dlg.IdleBox()->setValue(5);
        QTest::mouseClick(dlg.SaveIdleButton(), Qt::LeftButton);
    }
    QCOMPARE(db.Value("SELECT value FROM harbor_setting WHERE name='idle_minutes'"), QString("5"));
    QCOMPARE(db.Value("SELECT count(*) FROM harbor_audit WHERE action='修改重新登录时间'"),
             QString("1"));
    SignInAs("小王", "clerk-pw");
    QWidget window;
    CIdleSignIn idle(&window);
    MessageScript messages;
    QStringList titles;
    ModalDriver<CSignInDlg> answers({
        [&](CSignInDlg* dlg) { // cancelled: the box comes back
            titles.append(dlg->windowTitle());
            QTest::keyClick(dlg, Qt::Key_Escape);
        },
        [&](CSignInDlg* dlg) { // a wrong password keeps it up
            TypeAndOk(dlg, "小王", "wrong");
            QVERIFY(dlg->isVisible());
            QVERIFY(!OperatorSession::Instance().SignedIn());
            TypeAndOk(dlg, "店长甲", "manager-pw");
        },
    });
    idle.Check(4 * 60 * 1000 + 59 * 1000);
    QCOMPARE(answers.Handled(), 0);
    QCOMPARE(OperatorSession::Instance().Operator().name, QString("小王"));
    idle.Check(5 * 60 * 1000);
    QCOMPARE(answers.Handled(), 2);
    QCOMPARE(titles, QStringList{"无人操作，请重新登录"});
    QCOMPARE(OperatorSession::Instance().Operator().name, QString("店长甲"));
    QVERIFY(!idle.Asking());

    // Set back to never: no box however long the program is left.
    SetIdleMinutes(Shop(), 0);
    idle.Check(24 * 60 * 60 * 1000);
    QCOMPARE(answers.Handled(), 2);
}

// 经营报表 and 入库查询 show what the shop paid: a clerk is refused them, 店长授权 lets them in.
void TestOperators::PurchasePricesNeedTheirPermission() {
    TestDatabase db;
    ThreeOperators();
    SignInAs("小王", "clerk-pw");
    CMainFrame frame;
    theApp.m_pMainWnd = &frame;
    for (const int command : {ID_REPORT_DLG, ID_ENTRY_QUERY_DLG}) {
        MessageScript messages({IDCANCEL});
        frame.OnCommand(command);
        QVERIFY(messages.Last().contains("查看进价和利润"));
        QVERIFY(!frame.DialogFor(command));
    }
    // The manager authorizes one opening.
    MessageScript messages({IDOK});
    ModalDriver<CSignInDlg> manager(
        {[](CSignInDlg* dlg) { TypeAndOk(dlg, "店长甲", "manager-pw"); }});
    frame.OnCommand(ID_REPORT_DLG);
    QVERIFY(frame.DialogFor(ID_REPORT_DLG));
    // The owner's role holds it.
    SignInAs("老板", "owner-pw");
    frame.OnCommand(ID_ENTRY_QUERY_DLG);
    QVERIFY(frame.DialogFor(ID_ENTRY_QUERY_DLG));
    theApp.m_pMainWnd = nullptr;
}

void TestOperators::ResetOwnerOnTheComputer() {
    if (TestDatabase::OnServer())
        QSKIP("the command on a file");
    TestDatabase db;
    ThreeOperators();
    for (int i = 0; i < kMaxFailures; ++i)
        CheckOperator(Shop(), "老板", "forgotten");
    QProcess process;
    process.start(QStringLiteral(HARBOR_EXECUTABLE), {"--reset-owner", db.Path()});
    process.write("new-owner-pw\n");
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    // The lock is gone with the old password, and the log says who did it.
    QCOMPARE(CheckOperator(Shop(), "老板", "new-owner-pw").result, SignInResult::Ok);
    QCOMPARE(db.Rows("SELECT operator, object FROM harbor_audit WHERE action='重置店主密码'"),
             QStringList{"(本机 --reset-owner)|老板"});
    QVERIFY(VerifyAuditLog(Shop()).ok);
}

QTEST_MAIN(TestOperators)
#include "db/Db.h"
#include "tst_operators.moc"
