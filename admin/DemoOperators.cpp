#include "admin/DemoOperators.h"

#include "db/AuditedTransaction.h"
#include "db/CConnection.h"
#include "db/CSqlReader.h"
#include "db/OperatorSession.h"
#include "db/OperatorStore.h"
#include "documents/CDocumentStore.h"
#include "documents/DeletedDocuments.h"
#include "documents/DocumentPlan.h"

namespace {

void SignInDemo(CConnection& connection, const QString& name, const QString& password) {
    const SignInOutcome outcome = CheckOperator(connection, name, password);
    if (outcome.result == SignInResult::Ok)
        OperatorSession::Instance().SignIn(outcome.op);
}

QString FirstOf(CConnection& connection, const QString& sql) {
    CSqlReader reader(connection, sql);
    return reader.Next() ? reader.Text(0) : QString();
}

} // namespace

void AddDemoOperators(CConnection& connection) {
    OperatorSession& session = OperatorSession::Instance();
    RunAuditedTransaction(connection, QStringLiteral("添加操作员"), [&] {
        AddOperator(connection, QStringLiteral("老板"), QStringLiteral("demo1"),
                    QString::fromUtf8(kOwnerRole));
        AddOperator(connection, QStringLiteral("李店长"), QStringLiteral("demo2"),
                    QString::fromUtf8(kManagerRole));
        AddOperator(connection, QStringLiteral("小王"), QStringLiteral("demo3"),
                    QString::fromUtf8(kClerkRole));
        AddOperator(connection, QStringLiteral("小张"), QStringLiteral("demo4"),
                    QString::fromUtf8(kClerkRole));
    });
    SignInDemo(connection, QStringLiteral("李店长"), QStringLiteral("demo2"));
    const QString code =
        FirstOf(connection, QStringLiteral("SELECT code FROM property ORDER BY code LIMIT 1"));
    RunAuditedTransaction(connection, QStringLiteral("保存商品属性"), [&] {
        connection.Execute(QStringLiteral("UPDATE property SET price='9.90' WHERE code=?"), {code});
    });
    CheckOperator(connection, QStringLiteral("小张"), QStringLiteral("wrong"));
    SignInDemo(connection, QStringLiteral("小王"), QStringLiteral("demo3"));
    const QString owed =
        FirstOf(connection,
                QStringLiteral(
                    "SELECT oddnum FROM saleout WHERE state='未结' ORDER BY oddnum DESC LIMIT 1"));
    session.SetAuthorizer(QStringLiteral("李店长"));
    RunAuditedTransaction(connection, QStringLiteral("修改收款状态"), [&] {
        connection.Execute(
            QStringLiteral(
                "UPDATE saleout SET state='结清', receipt=receivable, freceipt=freceivable "
                "WHERE oddnum=?"),
            {owed});
    });
    SignInDemo(connection, QStringLiteral("老板"), QStringLiteral("demo1"));
    const QString last = FirstOf(
        connection, QStringLiteral("SELECT oddnum FROM saleout ORDER BY oddnum DESC LIMIT 1"));
    const CDocumentStore sales(DocumentTable::SaleOut());
    RunAuditedTransaction(connection, QStringLiteral("删除销售单"),
                          [&] { sales.DeleteDocument(last, true); });
    // One more deleted by mistake and put back, so that 已删除单据 shows both kinds.
    const QString mistaken = FirstOf(
        connection, QStringLiteral("SELECT oddnum FROM saleout ORDER BY oddnum DESC LIMIT 1"));
    RunAuditedTransaction(connection, QStringLiteral("删除销售单"),
                          [&] { sales.DeleteDocument(mistaken, true); });
    for (const DeletedDocument& kept : ListDeletedDocuments(DocumentTable::SaleOut())) {
        if (kept.oddnum == mistaken)
            RunAuditedTransaction(connection, QStringLiteral("恢复单据"),
                                  [&] { sales.RestoreDocument(kept); });
    }
    session.SignOut();
}
