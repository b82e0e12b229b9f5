#include "db/OperatorStore.h"

#include <QFile>
#include <QTextStream>
#include <cstdio>

#include "db/AuditLog.h"
#include "db/AuditedTransaction.h"
#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/CSqlReader.h"
#include "db/LansetFile.h"
#include "db/PasswordHash.h"

namespace {

struct StoredOperator {
    bool found = false;
    QString hash;
    QString role;
    QString employeeId;
    int failures = 0;
    QDateTime lockedUntil;
};

// A name that could be an operator's: not empty, short, printable (NUL, control characters
// and lone surrogates never are).
bool PlausibleName(const QString& name) {
    if (name.isEmpty() || name.size() > kMaxOperatorName || name.trimmed() != name)
        return false;
    for (int i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isNull() || c.category() == QChar::Other_Control)
            return false;
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate())
            return false;
    }
    return true;
}

StoredOperator ReadOperator(CConnection& connection, const QString& name) {
    StoredOperator op;
    if (!PlausibleName(name))
        return op;
    CSqlReader reader(connection,
                      QStringLiteral("SELECT pwhash, role, employeeid, failures, lockeduntil FROM "
                                     "harbor_operator WHERE name=?"),
                      {name});
    if (!reader.Next())
        return op;
    op.found = true;
    op.hash = reader.Text(0);
    op.role = reader.Text(1);
    op.employeeId = reader.Text(2);
    op.failures = reader.Text(3).toInt();
    op.lockedUntil = QDateTime::fromString(reader.Text(4), Qt::ISODate);
    return op;
}

// What the log names as the object of a refused sign-in: the name as typed, made harmless.
QString LoggedName(const QString& name) {
    QString text;
    for (const QChar c : name.left(kMaxOperatorName)) {
        if (!c.isNull() && !c.isSurrogate() && c.category() != QChar::Other_Control)
            text.append(c);
    }
    return text;
}

void RequireRole(const QString& role) {
    if (!RoleNames().contains(role))
        throw CDbException(QStringLiteral("没有这个角色: %1").arg(role));
}

void RequirePassword(const QString& password) {
    if (password.isEmpty() || password.size() > kMaxPasswordLength)
        throw CDbException(
            QStringLiteral("密码不能为空,也不能超过 %1 个字符").arg(kMaxPasswordLength));
}

int OwnerCount(CConnection& connection) {
    CSqlReader reader(connection,
                      QStringLiteral("SELECT count(*) FROM harbor_operator WHERE role=?"),
                      {QString::fromUtf8(kOwnerRole)});
    return reader.Next() ? reader.Text(0).toInt() : 0;
}

} // namespace

bool AccountsEnabled(CConnection& connection) {
    try {
        CSqlReader reader(connection, QStringLiteral("SELECT count(*) FROM harbor_operator"));
        return reader.Next() && reader.Text(0).toInt() > 0;
    } catch (const CDbException&) {
        return false;
    }
}

SignInOutcome CheckOperator(CConnection& connection, const QString& name, const QString& password,
                            const QString& what, const QDateTime& now) {
    SignInOutcome outcome;
    QString action = what + QStringLiteral("失败");
    // The entry's action is read when it is written: "登录失败" unless the check passed.
    RunAuditedTransaction(
        connection, action,
        [&] {
            const StoredOperator stored = ReadOperator(connection, name);
            if (!stored.found) {
                VerifyPassword(QString(), password); // the same answer for every refusal
                return;
            }
            if (stored.lockedUntil.isValid() && stored.lockedUntil > now) {
                outcome.result = SignInResult::Locked;
                return;
            }
            if (!VerifyPassword(stored.hash, password)) {
                const int failures = stored.failures + 1;
                const bool lock = failures >= kMaxFailures;
                connection.Execute(
                    QStringLiteral(
                        "UPDATE harbor_operator SET failures=?, lockeduntil=? WHERE name=?"),
                    {lock ? 0 : failures,
                     lock ? now.addSecs(kLockSeconds).toString(Qt::ISODate) : QString(), name});
                if (lock)
                    outcome.result = SignInResult::Locked;
                return;
            }
            const QString hash =
                PasswordNeedsRehash(stored.hash) ? HashPassword(password) : stored.hash;
            if (stored.failures != 0 || stored.lockedUntil.isValid() || hash != stored.hash)
                connection.Execute(QStringLiteral("UPDATE harbor_operator SET failures=0, "
                                                  "lockeduntil=NULL, pwhash=? WHERE name=?"),
                                   {hash, name});
            outcome.result = SignInResult::Ok;
            outcome.op = {name, stored.role, stored.employeeId,
                          RolePermissions(connection, stored.role)};
            action = what;
        },
        LoggedName(name), LoggedName(name));
    return outcome;
}

QList<OperatorRow> Operators(CConnection& connection) {
    QList<OperatorRow> rows;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    CSqlReader reader(connection, QStringLiteral("SELECT name, role, employeeid, lockeduntil FROM "
                                                 "harbor_operator ORDER BY %1")
                                      .arg(connection.Dialect().RowIdColumn()));
    while (reader.Next()) {
        const QDateTime until = QDateTime::fromString(reader.Text(3), Qt::ISODate);
        rows.append(
            {reader.Text(0), reader.Text(1), reader.Text(2), until.isValid() && until > now});
    }
    return rows;
}

void AddOperator(CConnection& connection, const QString& name, const QString& password,
                 const QString& role, const QString& employeeId) {
    if (!PlausibleName(name))
        throw CDbException(QStringLiteral("操作员名称不能为空,不能超过 %1 个字符,首尾不能有空格")
                               .arg(kMaxOperatorName));
    RequireRole(role);
    RequirePassword(password);
    if (ReadOperator(connection, name).found)
        throw CDbException(QStringLiteral("已有名为 %1 的操作员").arg(name));
    if (!AccountsEnabled(connection) && role != QString::fromUtf8(kOwnerRole))
        throw CDbException(QStringLiteral("第一个操作员必须是店主"));
    connection.Execute(
        QStringLiteral("INSERT INTO harbor_operator (name, pwhash, role, employeeid, "
                       "failures, lockeduntil) VALUES (?,?,?,?,0,NULL)"),
        {name, HashPassword(password), role, employeeId});
}

void SetOperatorPassword(CConnection& connection, const QString& name, const QString& password) {
    RequirePassword(password);
    if (connection.Execute(QStringLiteral("UPDATE harbor_operator SET pwhash=?, failures=0, "
                                          "lockeduntil=NULL WHERE name=?"),
                           {HashPassword(password), name}) == 0)
        throw CDbException(QStringLiteral("没有名为 %1 的操作员").arg(name));
}

void SetOperatorRole(CConnection& connection, const QString& name, const QString& role) {
    RequireRole(role);
    const StoredOperator stored = ReadOperator(connection, name);
    if (!stored.found)
        throw CDbException(QStringLiteral("没有名为 %1 的操作员").arg(name));
    if (stored.role == QString::fromUtf8(kOwnerRole) && role != stored.role &&
        OwnerCount(connection) <= 1)
        throw CDbException(QStringLiteral("%1 是唯一的店主,不能改为其他角色").arg(name));
    connection.Execute(QStringLiteral("UPDATE harbor_operator SET role=? WHERE name=?"),
                       {role, name});
}

void RemoveOperator(CConnection& connection, const QString& name) {
    const StoredOperator stored = ReadOperator(connection, name);
    if (!stored.found)
        throw CDbException(QStringLiteral("没有名为 %1 的操作员").arg(name));
    if (stored.role == QString::fromUtf8(kOwnerRole) && OwnerCount(connection) <= 1 &&
        Operators(connection).size() > 1)
        throw CDbException(QStringLiteral("%1 是唯一的店主,请先删除其他操作员").arg(name));
    connection.Execute(QStringLiteral("DELETE FROM harbor_operator WHERE name=?"), {name});
}

QSet<QString> RolePermissions(CConnection& connection, const QString& role) {
    QSet<QString> keys;
    CSqlReader reader(connection,
                      QStringLiteral("SELECT permission FROM harbor_role_permission WHERE role=?"),
                      {role});
    while (reader.Next())
        keys.insert(reader.Text(0));
    return keys;
}

int IdleMinutes(CConnection& connection) {
    CSqlReader reader(connection,
                      QStringLiteral("SELECT value FROM harbor_setting WHERE name='idle_minutes'"));
    const int minutes = reader.Next() ? reader.Text(0).toInt() : 0;
    return qBound(0, minutes, kMaxIdleMinutes);
}

void SetIdleMinutes(CConnection& connection, int minutes) {
    connection.Execute(QStringLiteral("DELETE FROM harbor_setting WHERE name='idle_minutes'"));
    connection.Execute(
        QStringLiteral("INSERT INTO harbor_setting (name, value) VALUES ('idle_minutes', ?)"),
        {QString::number(qBound(0, minutes, kMaxIdleMinutes))});
}

void SetRolePermissions(CConnection& connection, const QString& role, const QSet<QString>& keys) {
    RequireRole(role);
    if (role == QString::fromUtf8(kOwnerRole) &&
        !keys.contains(PermissionKey(Permission::Operators)))
        throw CDbException(QStringLiteral("店主必须保留管理操作员的权限"));
    const QSet<QString> current = RolePermissions(connection, role);
    for (const QString& key : current - keys)
        connection.Execute(
            QStringLiteral("DELETE FROM harbor_role_permission WHERE role=? AND permission=?"),
            {role, key});
    for (const QString& key : keys - current)
        connection.Execute(
            QStringLiteral("INSERT INTO harbor_role_permission (role, permission) VALUES (?,?)"),
            {role, key});
}

int ResetOwnerCommand(const QString& file, const QString& lansetPath) {
    QTextStream in(stdin);
    std::fprintf(stderr, "%s\n", QStringLiteral("请输入店主的新密码:").toLocal8Bit().constData());
    const QString password = in.readLine();
    try {
        CConnection connection;
        OpenCommandDatabase(connection, file, lansetPath);
        QString owner;
        {
            CSqlReader reader(
                connection,
                QStringLiteral("SELECT name FROM harbor_operator WHERE role=? ORDER BY %1")
                    .arg(connection.Dialect().RowIdColumn()),
                {QString::fromUtf8(kOwnerRole)});
            if (reader.Next())
                owner = reader.Text(0);
        }
        if (owner.isEmpty())
            throw CDbException(QStringLiteral("这个数据库没有店主帐户(没有启用操作员)"));
        RunAuditedTransaction(
            connection, QStringLiteral("重置店主密码"),
            [&] { SetOperatorPassword(connection, owner, password); },
            QStringLiteral("(本机 --reset-owner)"), owner);
        std::printf("%s\n",
                    QStringLiteral("已重置店主 %1 的密码").arg(owner).toLocal8Bit().constData());
        return 0;
    } catch (const CDbException& error) {
        std::fprintf(stderr, "%s\n", error.Message().toLocal8Bit().constData());
        return 1;
    }
}
