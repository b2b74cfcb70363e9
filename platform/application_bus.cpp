#include "platform/application_bus.h"

#include <cstdlib>
#include <utility>

#include <QCryptographicHash>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QThread>
#include <QVariantMap>

#include "logic/user_file.h"

namespace {

const QString kInterface = QStringLiteral("org.freedesktop.Application");

// "example.kelvarine.Clock" is served at "/example/kelvarine/Clock", whatever the folder.
QString ObjectPath() {
    QString path = QStringLiteral("/" KELVARINE_APP_ID);
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

QString BusNameFor(const QString& memoFolder) {
    QByteArray path = EncodePath(memoFolder);
    // A folder that cannot be resolved (gone, or its path too long) is named as it is spelt.
    if (char* resolved = ::realpath(path.constData(), nullptr)) {
        path = resolved;
        std::free(resolved);
    }
    // Any bytes give a valid element: hex digits after a letter, as an element may not start
    // with a digit. 64 bits keep two folders of one user apart.
    const QByteArray hash = QCryptographicHash::hash(path, QCryptographicHash::Sha256);
    return QStringLiteral(KELVARINE_APP_ID ".F") + QString::fromLatin1(hash.left(8).toHex());
}

ApplicationBus::ApplicationBus(QString busName) : m_busName(std::move(busName)) {
    new ApplicationAdaptor(this);
}

ApplicationBus::~ApplicationBus() {
    if (m_registered) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(ObjectPath());
        bus.unregisterService(m_busName);
    }
}

ApplicationBus::Registration ApplicationBus::Register() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        m_reason = QStringLiteral("no session bus");
        return Registration::NoBus;
    }
    if (!bus.registerObject(ObjectPath(), this, QDBusConnection::ExportAdaptors)) {
        m_reason = QStringLiteral("the object path %1 is taken").arg(ObjectPath());
        return Registration::Refused;
    }
    if (bus.registerService(m_busName)) {
        m_registered = true;
        return Registration::Done;
    }
    bus.unregisterObject(ObjectPath());
    QDBusConnectionInterface* names = bus.interface();
    const QString refusal = names->lastError().message();  // empty when the name has an owner
    if (const QDBusReply<uint> pid = names->servicePid(m_busName); pid.isValid()) {
        m_ownerPid = pid.value();
        m_reason =
            QStringLiteral("the bus name %1 is held by process %2").arg(m_busName).arg(m_ownerPid);
        return Registration::NameOwned;
    }
    m_reason = QStringLiteral("the session bus refuses the name %1: %2").arg(m_busName, refusal);
    return Registration::Refused;
}

BusRequest AskRunningClock(const QString& busName, const QString& action, int waitMs) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return BusRequest::NoBus;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        busName, ObjectPath(), kInterface,
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
