#include "sftp/handover.h"

#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace sftp {

Interrupt::Interrupt()
    : m_wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

Interrupt::~Interrupt()
{
    if (m_wake >= 0)
        ::close(m_wake);
}

void Interrupt::trigger()
{
    std::lock_guard lock(m_mutex);
    m_triggered = true;
    const eventfd_t one = 1;
    if (m_wake >= 0)
        ::eventfd_write(m_wake, one);
    if (m_socket >= 0)
        ::shutdown(m_socket, SHUT_RDWR);
}

void Interrupt::setSocket(int descriptor)
{
    std::lock_guard lock(m_mutex);
    m_socket = descriptor;
    if (m_triggered && m_socket >= 0)
        ::shutdown(m_socket, SHUT_RDWR);
}

UploadPipe::UploadPipe(std::function<void()> runningLow)
    : m_runningLow(std::move(runningLow))
{
}

void UploadPipe::push(QByteArray chunk)
{
    {
        std::lock_guard lock(m_mutex);
        m_bytes += chunk.size();
        m_chunks.push_back(std::move(chunk));
        m_asked = false;
    }
    m_changed.notify_one();
}

void UploadPipe::end()
{
    {
        std::lock_guard lock(m_mutex);
        m_ended = true;
    }
    m_changed.notify_one();
}

void UploadPipe::fail(const QString &reason)
{
    {
        std::lock_guard lock(m_mutex);
        m_failure = reason;
        m_ended = true;
    }
    m_changed.notify_one();
}

void UploadPipe::cancel()
{
    {
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
    }
    m_changed.notify_one();
}

qint64 UploadPipe::queuedBytes() const
{
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

QString UploadPipe::failure() const
{
    std::lock_guard lock(m_mutex);
    return m_failure;
}

UploadPipe::Take UploadPipe::take(QByteArray *chunk, bool wait)
{
    bool ask = false;
    Take result = Take::Empty;
    {
        std::unique_lock lock(m_mutex);
        const auto ready = [this] { return m_cancelled || !m_chunks.empty() || m_ended; };
        if (!ready() && wait) {
            // Asked before waiting: the window fills the queue only when asked.
            if (!m_asked) {
                m_asked = true;
                lock.unlock();
                m_runningLow();
                lock.lock();
            }
            m_changed.wait(lock, ready);
        }
        if (m_cancelled) {
            result = Take::Cancelled;
        } else if (!m_chunks.empty()) {
            *chunk = std::move(m_chunks.front());
            m_chunks.pop_front();
            m_bytes -= chunk->size();
            result = Take::Chunk;
        } else if (m_ended) {
            result = m_failure.isEmpty() ? Take::End : Take::Failed;
        }
        if (!m_ended && m_bytes < LowMark && !m_asked) {
            m_asked = true;
            ask = true;
        }
    }
    if (ask)
        m_runningLow();
    return result;
}

} // namespace sftp
