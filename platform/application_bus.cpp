#include "platform/application_bus.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QThread>
#include <QVariantMap>

namespace {

const QString kInterface = QStringLiteral("org.freedesktop.Application");

QString BusName() {
    return QStringLiteral(KELVARINE_APP_ID);
}

// "example.kelvarine.Clock" is served at "/example/kelvarine/Clock".
QString ObjectPath() {
    QString path = QLatin1Char('/') + BusName();
    path.replace(QLatin1Char('.'), QLatin1Char('/')).replace(QLatin1Char('-'), QLatin1Char('_'));
    return path;
}

// What a launcher tells of the start it made (for the window manager's focus rules).
QVariantMap PlatformData() {
    QVariantMap data;
    if (const QByteArray id = qgetenv("DESKTOP_STARTUP_ID"); !id.isEmpty()) {
        data.insert(QStringLiteral("desktop-startup-id"), QString::fromUtf8(id));
    }
    if (const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN"); !token.isEmpty()) {
        data.insert(QStringLiteral("activation-token"), QString::fromUtf8(token));
    }
    return data;
}

class ApplicationAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    explicit ApplicationAdaptor(ApplicationBus* bus) : QDBusAbstractAdaptor(bus), m_bus(bus) {}

public slots:
    void Activate(const QVariantMap&) { emit m_bus->activateRequested(); }
    // The clock opens no files; being asked to is being asked to come forward.
    void Open(const QStringList&, const QVariantMap&) { emit m_bus->activateRequested(); }
    void ActivateAction(const QString& name, const QVariantList&, const QVariantMap&) {
        emit m_bus->actionRequested(name);
    }

private:
    ApplicationBus* m_bus;
};

}  // namespace

ApplicationBus::ApplicationBus() {
    new ApplicationAdaptor(this);
}

ApplicationBus::~ApplicationBus() {
    if (m_registered) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(ObjectPath());
        bus.unregisterService(BusName());
    }
}

bool ApplicationBus::Register() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() ||
        !bus.registerObject(ObjectPath(), this, QDBusConnection::ExportAdaptors)) {
        return false;
    }
    if (!bus.registerService(BusName())) {
        bus.unregisterObject(ObjectPath());
        return false;
    }
    m_registered = true;
    return true;
}

BusRequest AskRunningClock(const QString& action, int waitMs) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return BusRequest::NoBus;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        BusName(), ObjectPath(), kInterface,
        action.isEmpty() ? QStringLiteral("Activate") : QStringLiteral("ActivateAction"));
    if (action.isEmpty()) {
        call << PlatformData();
    } else {
        call << action << QVariantList() << PlatformData();
    }
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
        if (reply.type() == QDBusMessage::ReplyMessage) {
            return BusRequest::Delivered;
        }
        if (deadline.hasExpired()) {
            return BusRequest::NoClock;
        }
        QThread::msleep(100);
    }
}

#include "application_bus.moc"
