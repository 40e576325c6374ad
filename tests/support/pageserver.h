#pragma once

#include <QTcpServer>
#include <QTcpSocket>

// Serves one page to every request on 127.0.0.1, as a web server would: the tests need a
// web address without the Internet.
class PageServer : public QTcpServer
{
public:
    explicit PageServer(QByteArray page)
        : m_page(std::move(page))
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_request += socket->readAll();
                    if (!m_request.contains("\r\n\r\n"))
                        return;
                    m_request.clear();
                    ++requests;
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\n"
                                  "Content-Length: "
                                  + QByteArray::number(m_page.size()) + "\r\n\r\n" + m_page);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        listen(QHostAddress::LocalHost);
    }

    QString address(const QString &path = QStringLiteral("/")) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
    }

    int requests = 0;

private:
    QByteArray m_page;
    QByteArray m_request;
};
