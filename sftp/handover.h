#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include <QByteArray>
#include <QString>

// What the SFTP client on the window's thread and its worker thread share.
namespace sftp {

// Stops the worker wherever it waits: its own connect() and the upload pipe look at it, and the
// connection's socket is shut down, which wakes libssh out of any poll.
class Interrupt
{
    Q_DISABLE_COPY_MOVE(Interrupt)
public:
    Interrupt();
    ~Interrupt();

    // Any thread; once set, it stays.
    void trigger();
    bool triggered() const { return m_triggered.load(); }
    // Readable once triggered.
    int wakeDescriptor() const { return m_wake; }
    // The worker's socket, shut down by trigger(); -1 before the worker closes it, so that a
    // number the system gives again is never touched.
    void setSocket(int descriptor);

private:
    std::mutex m_mutex;
    int m_socket = -1;
    int m_wake = -1;
    std::atomic<bool> m_triggered{false};
};

// An upload's bytes, read from the device on the window's thread and taken by the worker: a
// bounded queue, so memory stays flat whatever the file's size.
class UploadPipe
{
    Q_DISABLE_COPY_MOVE(UploadPipe)
public:
    enum class Take { Chunk, Empty, End, Failed, Cancelled };

    // Called on the worker's thread whenever the queue runs low, and again only after a push.
    explicit UploadPipe(std::function<void()> runningLow);

    // The window's side.
    void push(QByteArray chunk);
    void end();
    void fail(const QString &reason);
    void cancel();
    qint64 queuedBytes() const;

    // The worker's side: waits for a chunk if wait is true.
    Take take(QByteArray *chunk, bool wait);
    QString failure() const;

    // Below this much the worker asks for more.
    static constexpr qint64 LowMark = 1024 * 1024;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<QByteArray> m_chunks;
    qint64 m_bytes = 0;
    bool m_ended = false;
    bool m_cancelled = false;
    bool m_asked = false;
    QString m_failure;
    std::function<void()> m_runningLow;
};

} // namespace sftp
