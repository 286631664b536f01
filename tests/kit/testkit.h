#pragma once

#include <functional>
#include <memory>

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

class QTimer;

namespace testkit {

// A fresh temporary folder made the process's working directory for the life of the object;
// the previous working directory is restored afterwards.
class WorkDir
{
    Q_DISABLE_COPY_MOVE(WorkDir)
public:
    WorkDir();
    ~WorkDir();

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    // Copies a file the build lays out in the program's run folder (translations, icon, logo).
    bool copyFromRunDir(const QString &name) const;

private:
    QString m_previous;
    QTemporaryDir m_dir;
};

// Writes a file (creating its folders); returns false on failure.
bool writeFile(const QString &path, const QByteArray &content);
QByteArray readFile(const QString &path);

// Answers modal widgets as they appear, in the order the answers were queued.
// Every message box seen is recorded, answered or not.
class ModalAnswerer : public QObject
{
    Q_OBJECT
public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::Icon icon;
    };

    explicit ModalAnswerer(QObject *parent = nullptr);
    ~ModalAnswerer() override;

    // Clicks the given button of the next message box.
    void answer(QMessageBox::StandardButton button);
    // Hands the next modal widget (of any kind) to the handler, which must close it.
    void handleNext(std::function<void(QWidget *)> handler);

    int pending() const { return m_handlers.size(); }
    const QList<Box> &boxes() const { return m_boxes; }

private:
    void poll();

    QList<std::function<void(QWidget *)>> m_handlers;
    QList<Box> m_boxes;
    QPointer<QWidget> m_lastRecorded;
    QPointer<QWidget> m_lastAnswered;
    QTimer *m_timer = nullptr;
};

// Captures the URLs the program asks the desktop to open, instead of opening them.
class UrlCapture : public QObject
{
    Q_OBJECT
public:
    explicit UrlCapture(QObject *parent = nullptr);
    ~UrlCapture() override;

    const QList<QUrl> &urls() const { return m_urls; }

public Q_SLOTS:
    void open(const QUrl &url);

private:
    QList<QUrl> m_urls;
};

} // namespace testkit
