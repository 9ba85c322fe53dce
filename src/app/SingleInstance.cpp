#include "SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent), name_(u"pcp-%1-%2"_s.arg(key).arg(::getuid()))
{
}

bool SingleInstance::anotherIsRunning()
{
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(500))
        return false;
    socket.write("activate\n");
    socket.waitForBytesWritten(500);
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::listen()
{
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // a copy that died left its socket behind
        QLocalServer::removeServer(name_);
        server_->listen(name_);
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            emit activated();
        }
    });
}

}  // namespace pcp
