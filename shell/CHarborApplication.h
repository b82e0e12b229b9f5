#pragma once

#include <QApplication>

// The program's QApplication: a database error that a handler let through is rolled back and
// reported here instead of ending the program.
class CHarborApplication : public QApplication {
    Q_OBJECT
  public:
    CHarborApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
