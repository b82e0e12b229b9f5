#pragma once

#include <QString>
#include <stdexcept>

// A failure reported by the database engine (or an operation without a connection).
// Raised by the record layer; caught by CDbAction, which rolls back and tells the user.
class CDbException : public std::runtime_error {
public:
    CDbException(const QString& message, const QString& statement = QString())
        : std::runtime_error(message.toStdString()), m_strMessage(message),
          m_strStatement(statement) {}

    QString Message() const { return m_strMessage; }
    QString Statement() const { return m_strStatement; }

private:
    QString m_strMessage;
    QString m_strStatement;
};
