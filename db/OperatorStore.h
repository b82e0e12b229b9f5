#pragma once

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

#include "db/OperatorSession.h"

class CConnection;

// The operator accounts and the roles' permissions in the shop's database.

// True when the shop has at least one operator (then everyone signs in).
bool AccountsEnabled(CConnection& connection);

// Wrong passwords in a row that lock an account, and for how long.
constexpr int kMaxFailures = 5;
constexpr int kLockSeconds = 60;
// Longest operator name.
constexpr int kMaxOperatorName = 32;

enum class SignInResult { Ok, Refused, Locked };
struct SignInOutcome {
    SignInResult result = SignInResult::Refused;
    SignedInOperator op; // filled when Ok
};

// Checks a name and password as one logged transaction ("登录" or "登录失败", or what for
// another use such as 店长授权): a wrong password counts towards the lock, a right one clears
// the count and replaces a hash made with older limits. Never raises for what was typed:
// anything odd is an ordinary refusal. Raises CDbException when the database fails.
SignInOutcome CheckOperator(CConnection& connection, const QString& name, const QString& password,
                            const QString& what = QStringLiteral("登录"),
                            const QDateTime& now = QDateTime::currentDateTimeUtc());

struct OperatorRow {
    QString name;
    QString role;
    QString employeeId;
    bool locked = false;
};
QList<OperatorRow> Operators(CConnection& connection);

// Inside the caller's transaction; each raises CDbException with a message for the user.
// The first account must be an owner's.
void AddOperator(CConnection& connection, const QString& name, const QString& password,
                 const QString& role, const QString& employeeId = QString());
void SetOperatorPassword(CConnection& connection, const QString& name, const QString& password);
void SetOperatorRole(CConnection& connection, const QString& name, const QString& role);
// Refused for the last owner.
void RemoveOperator(CConnection& connection, const QString& name);

QSet<QString> RolePermissions(CConnection& connection, const QString& role);
void SetRolePermissions(CConnection& connection, const QString& role, const QSet<QString>& keys);
// Minutes without a key or a click after which the program asks to sign in again; 0 never.
int IdleMinutes(CConnection& connection);
void SetIdleMinutes(CConnection& connection, int minutes);
inline constexpr int kMaxIdleMinutes = 480;

// `Harbor --reset-owner [FILE]`: a new password (read from standard input) for the first owner
// account of the file (or of the database Lanset.ini names), the lock cleared, logged.
int ResetOwnerCommand(const QString& file, const QString& lansetPath);
