#pragma once
// One copy of the program per user: the first copy listens on a local socket
// named after the user; a second start connects, asks it to come forward and
// ends.
#include <QObject>

class QLocalServer;

namespace pcp {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    // True when another copy answered (and was asked to come forward).
    bool anotherIsRunning();
    // Starts listening; later starts reach `activated`.
    void listen();

signals:
    void activated();

private:
    QString name_;
    QLocalServer* server_ = nullptr;
};

}  // namespace pcp
