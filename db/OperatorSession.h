#pragma once

#include <QSet>
#include <QString>

#include "db/Permission.h"

// Who works at this workstation now. Without operator accounts in the shop nobody signs in
// and everything is allowed, as it always was.
struct SignedInOperator {
    QString name;
    QString role;
    QString employeeId;
    QSet<QString> permissions; // keys of the role's permissions
};

class OperatorSession {
  public:
    static OperatorSession& Instance();

    bool SignedIn() const { return !m_operator.name.isEmpty(); }
    const SignedInOperator& Operator() const { return m_operator; }
    void SignIn(const SignedInOperator& op) { m_operator = op; }
    void SignOut() { m_operator = SignedInOperator(); }

    // The manager who allowed the next action with their password (店长授权); the log entry
    // of that action takes it and it is gone.
    void SetAuthorizer(const QString& name) { m_strAuthorizer = name; }
    QString TakeAuthorizer();

  private:
    SignedInOperator m_operator;
    QString m_strAuthorizer;
};

// True when the operator signed in may do it, or when the shop has no operator accounts.
bool HasPermission(Permission permission);
