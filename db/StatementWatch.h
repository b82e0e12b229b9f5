#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Gives up on a statement of the database server that takes longer than its limit. A server
// whose processes hang still has its kernel answer the network, so neither keep-alives nor a
// time limit on the server notice it: the program itself cuts the connection's socket when the
// limit passes, the waiting call returns with an error and the server rolls the transaction
// back. One thread per watch, sleeping until a statement runs.
//
//   StatementWatch watch;
//   watch.Arm(socket, 8000);
//   ... the statement ...
//   const bool gaveUp = watch.Disarm();
class StatementWatch {
  public:
    StatementWatch();
    ~StatementWatch();
    StatementWatch(const StatementWatch&) = delete;
    StatementWatch& operator=(const StatementWatch&) = delete;

    // Watches the socket for the next milliseconds.
    void Arm(int socket, int milliseconds);
    // Stops watching; true when the limit passed and the socket was cut.
    bool Disarm();

  private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_bStop = false;
    bool m_bArmed = false;
    bool m_bFired = false;
    int m_nSocket = -1;
    std::chrono::steady_clock::time_point m_deadline;
    std::thread m_thread; // last: it starts with everything above set
};
