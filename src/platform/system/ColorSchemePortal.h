#pragma once

#include <QDBusConnection>
#include <QObject>

class QDBusVariant;

// The desktop's colour-scheme preference as the freedesktop settings portal publishes it
// (org.freedesktop.appearance color-scheme). It is read once, with a short timeout so a slow
// portal cannot stall the interface, and then kept current from the portal's change signal.
class ColorSchemePortal : public QObject {
    Q_OBJECT
public:
    enum Scheme { NoPreference = 0, PreferDark = 1, PreferLight = 2 };

    // The instance on the session bus, created on first use; ask it from the main thread.
    static ColorSchemePortal &instance();

    explicit ColorSchemePortal(QDBusConnection bus, int timeoutMs = 200);

    // NoPreference when there is no portal or it did not answer in time.
    Scheme scheme() const { return m_scheme; }

signals:
    // The desktop switched between light and dark while the program runs.
    void schemeChanged(ColorSchemePortal::Scheme scheme);

private slots:
    void settingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    Scheme m_scheme = NoPreference;
};
