#include "ColorSchemePortal.h"

#include <QDBusMessage>
#include <QDBusVariant>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");

// Read wraps the value in one variant more than ReadOne does; unwrap as many as there are.
ColorSchemePortal::Scheme schemeFrom(QVariant value)
{
    while (value.metaType() == QMetaType::fromType<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    bool ok = false;
    const uint scheme = value.toUInt(&ok);
    if (!ok || scheme > ColorSchemePortal::PreferLight)
        return ColorSchemePortal::NoPreference;
    return ColorSchemePortal::Scheme(scheme);
}

QDBusMessage readSetting(const QDBusConnection &bus, const QString &method, int timeoutMs)
{
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface, method);
    call << appearanceGroup << colorSchemeKey;
    return bus.call(call, QDBus::Block, timeoutMs);
}

} // namespace

ColorSchemePortal &ColorSchemePortal::instance()
{
    static ColorSchemePortal portal(QDBusConnection::sessionBus());
    return portal;
}

ColorSchemePortal::ColorSchemePortal(QDBusConnection bus, int timeoutMs)
{
    if (!bus.isConnected())
        return;
    bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"), this,
                SLOT(settingChanged(QString, QString, QDBusVariant)));
    QDBusMessage reply = readSetting(bus, QStringLiteral("ReadOne"), timeoutMs);
    // Portals before version 2 of the interface only have Read.
    if (reply.type() == QDBusMessage::ErrorMessage
        && reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod"))
        reply = readSetting(bus, QStringLiteral("Read"), timeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
        m_scheme = schemeFrom(reply.arguments().constFirst());
}

void ColorSchemePortal::settingChanged(const QString &group, const QString &key, const QDBusVariant &value)
{
    if (group != appearanceGroup || key != colorSchemeKey)
        return;
    const Scheme scheme = schemeFrom(value.variant());
    if (scheme == m_scheme)
        return;
    m_scheme = scheme;
    emit schemeChanged(scheme);
}
