// One running copy per user: a later start asks the running one to come to the front and ends.
#pragma once
#include <QObject>
#include <QString>

class QLocalServer;

namespace orvo::platform {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `key` names the instance (one per user by default, see defaultKey()).
    explicit SingleInstance(QString key, QObject* parent = nullptr);
    ~SingleInstance() override;

    static QString defaultKey();

    // True when another copy is running; it has been asked to come to the front.
    bool activateRunning(int timeoutMs = 1000) const;
    // Starts listening for later copies; false if the name could not be taken.
    bool listen();

signals:
    void activationRequested();

private:
    QString m_key;
    QLocalServer* m_server = nullptr;
};

} // namespace orvo::platform
