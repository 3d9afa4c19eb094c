#pragma once
// One Morvane window per user: a second `morvane FILE...` hands its paths to
// the running one through a local socket in the user's runtime folder and
// ends; when none answers, it becomes the one that listens.
#include <QLocalServer>
#include <QObject>

#include <string>
#include <vector>

namespace morvane::gui {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);
    // The socket of this user's instance.
    static QString socketPath();
    // Hands the paths to a running instance; false when none took them.
    static bool handOver(const std::vector<std::string>& paths, int timeoutMs = 2000);
    // Starts listening; false (logged) when the socket cannot be made.
    bool listen();

signals:
    void pathsReceived(const std::vector<std::string>& paths);

private:
    void readConnection(QLocalSocket* connection);
    QLocalServer server_;
};

} // namespace morvane::gui
