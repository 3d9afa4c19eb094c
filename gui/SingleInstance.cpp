#include "gui/SingleInstance.h"

#include "platform/SystemLog.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace morvane::gui {
namespace {
// Paths travel as their bytes, each ended by a NUL (no path holds one).
QByteArray encode(const std::vector<std::string>& paths) {
    QByteArray message;
    for (const std::string& path : paths) {
        message.append(path.data(), static_cast<qsizetype>(path.size()));
        message.append('\0');
    }
    return message;
}
} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* connection = server_.nextPendingConnection())
            readConnection(connection);
    });
}

QString SingleInstance::socketPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/morvane-%1.socket").arg(getuid());
}

bool SingleInstance::handOver(const std::vector<std::string>& paths, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(encode(paths));
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

bool SingleInstance::listen() {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (server_.listen(socketPath()))
        return true;
    // A socket left by an instance that ended without removing it.
    QLocalServer::removeServer(socketPath());
    if (server_.listen(socketPath()))
        return true;
    SystemLog::warning("Other Morvane processes cannot hand files to this one: " +
                       server_.errorString().toStdString());
    return false;
}

void SingleInstance::readConnection(QLocalSocket* connection) {
    auto buffer = std::make_shared<QByteArray>();
    connect(connection, &QLocalSocket::readyRead, this,
            [connection, buffer] { buffer->append(connection->readAll()); });
    connect(connection, &QLocalSocket::disconnected, this, [this, connection, buffer] {
        buffer->append(connection->readAll());
        std::vector<std::string> paths;
        for (const QByteArray& path : buffer->split('\0'))
            if (!path.isEmpty())
                paths.emplace_back(path.constData(), static_cast<size_t>(path.size()));
        connection->deleteLater();
        emit pathsReceived(paths); // none: the window just comes to the front
    });
}

} // namespace morvane::gui
