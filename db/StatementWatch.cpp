#include "db/StatementWatch.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

StatementWatch::StatementWatch() : m_thread([this] { Run(); }) {}

StatementWatch::~StatementWatch() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void StatementWatch::Arm(int socket, int milliseconds) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_nSocket = socket;
        m_deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        m_bArmed = socket >= 0 && milliseconds > 0;
        m_bFired = false;
    }
    m_wake.notify_all();
}

bool StatementWatch::Disarm() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bArmed = false;
    return m_bFired;
}

void StatementWatch::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_bStop) {
        if (!m_bArmed) {
            m_wake.wait(lock);
            continue;
        }
        if (m_wake.wait_until(lock, m_deadline) != std::cv_status::timeout)
            continue; // disarmed, armed again or stopped meanwhile
        if (!m_bArmed || std::chrono::steady_clock::now() < m_deadline)
            continue;
            // Both directions: the call that waits for the answer returns at once.
#ifdef Q_OS_WIN
        ::shutdown(SOCKET(m_nSocket), SD_BOTH);
#else
        ::shutdown(m_nSocket, SHUT_RDWR);
#endif
        m_bFired = true;
        m_bArmed = false;
    }
}
