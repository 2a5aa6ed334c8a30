#include "autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zk::platform {

namespace {

QString autostartFolder() {
    // A relative $XDG_CONFIG_HOME is invalid and ignored, as desktops do.
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart");
}

// A value of the Exec key: arguments containing reserved characters are quoted, and inside
// quotes '"', '`', '$' and '\' are escaped; a literal '%' is doubled. Then the general
// string escape of desktop entries doubles every backslash.
QString execValue(const QString& program) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = false;
    for (const QChar c : program)
        quote = quote || reserved.contains(c);
    QString value;
    for (const QChar c : program) {
        if (c == QLatin1Char('%'))
            value += QStringLiteral("%%");
        else if (quote && (c == QLatin1Char('"') || c == QLatin1Char('`') ||
                           c == QLatin1Char('$') || c == QLatin1Char('\\')))
            value += QLatin1Char('\\') + QString(c);
        else
            value += c;
    }
    if (quote)
        value = QLatin1Char('"') + value + QLatin1Char('"');
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    value.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    value.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    value.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return value;
}

bool fail(const QString& name, QString* error) {
    if (error)
        *error = QStringLiteral("Failed to set data for '%1'").arg(name);
    return false;
}

} // namespace

QString autostartEntryName(const QString& executableFileName) {
    QString name = executableFileName;
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.remove(dot, 8);
    return name;
}

QString autostartEntryPath(const QString& executablePath) {
    return autostartFolder() + QLatin1Char('/') +
           autostartEntryName(QFileInfo(executablePath).fileName()) + QStringLiteral(".desktop");
}

bool setStartAtLogon(bool on, const QString& executablePath, QString* error) {
    const QString name = autostartEntryName(QFileInfo(executablePath).fileName());
    const QString path = autostartEntryPath(executablePath);
    if (name.isEmpty()) // no entry can have been written under an empty name
        return on ? fail(name, error) : true;
    if (!on) {
        QFile entry(path);
        if (!entry.exists() && !QFileInfo(path).isSymLink())
            return true;
        return entry.remove() ? true : fail(name, error);
    }
    if (!QDir().mkpath(autostartFolder()))
        return fail(name, error);

    QString content;
    content += QStringLiteral("[Desktop Entry]\n");
    content += QStringLiteral("Type=Application\n");
    content += QStringLiteral("Name=ZelkoHTML\n");
    content += QStringLiteral("Exec=") + execValue(QFileInfo(executablePath).absoluteFilePath()) +
               QLatin1Char('\n');
    content += QStringLiteral("Terminal=false\n");
    content += QStringLiteral("X-GNOME-Autostart-enabled=true\n");

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(name, error);
    const QByteArray bytes = content.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit())
        return fail(name, error);
    return true;
}

} // namespace zk::platform
