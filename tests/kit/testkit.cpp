#include "testkit.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace testkit {

WorkDir::WorkDir()
    : m_previous(QDir::currentPath())
{
    QDir::setCurrent(m_dir.path());
}

WorkDir::~WorkDir()
{
    QDir::setCurrent(m_previous);
}

bool WorkDir::copyFromRunDir(const QString &name) const
{
    return QFile::copy(QStringLiteral(TESSALY_RUN_DIR "/") + name, m_dir.filePath(name));
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ModalAnswerer::ModalAnswerer(QObject *parent)
    : QObject(parent)
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(20);
    connect(m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    m_timer->start();
}

ModalAnswerer::~ModalAnswerer() = default;

void ModalAnswerer::answer(QMessageBox::StandardButton button)
{
    handleNext([button](QWidget *widget) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (box && box->button(button))
            box->button(button)->click();
        else
            widget->close();
    });
}

void ModalAnswerer::handleNext(std::function<void(QWidget *)> handler)
{
    m_handlers.append(std::move(handler));
}

void ModalAnswerer::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    // Boxes of the static helpers live on the stack and may reuse an address: QPointer tells
    // a new widget from one that is gone.
    if (modal != m_lastRecorded) {
        m_lastRecorded = modal;
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            m_boxes.append({box->windowTitle(), box->text(), box->icon()});
    }
    if (modal == m_lastAnswered || m_handlers.isEmpty())
        return;
    m_lastAnswered = modal;
    auto handler = m_handlers.takeFirst();
    handler(modal);
}

UrlCapture::UrlCapture(QObject *parent)
    : QObject(parent)
{
    for (const char *scheme : {"file", "http", "https"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
}

UrlCapture::~UrlCapture()
{
    for (const char *scheme : {"file", "http", "https"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

void UrlCapture::open(const QUrl &url)
{
    m_urls.append(url);
}

} // namespace testkit
