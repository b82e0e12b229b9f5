#pragma once

#include <QString>
#include <stdexcept>

// A failure reported by the database engine (or an operation without a connection).
// Raised by the record layer; caught by CDbAction, which rolls back and tells the user.
class CDbException : public std::runtime_error {
  public:
    // What kind of failure, where the program answers differently.
    enum class Kind {
        Engine,       // the engine refused a statement
        Busy,         // another workstation holds the write lock
        Damaged,      // the file is not a sound database
        Lost,         // the database file was deleted or replaced while the program ran
        Folder,       // the folder of the database cannot be written
        Disconnected, // the database server went away; the next action connects again
        InDoubt,      // the server stopped answering during the commit: its result is not known
    };

    CDbException(const QString& message, const QString& statement = QString(),
                 Kind kind = Kind::Engine)
        : std::runtime_error(message.toStdString()), m_strMessage(message),
          m_strStatement(statement), m_kind(kind) {}

    QString Message() const { return m_strMessage; }
    QString Statement() const { return m_strStatement; }
    Kind GetKind() const { return m_kind; }

  private:
    QString m_strMessage;
    QString m_strStatement;
    Kind m_kind;
};
