#include "shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

namespace zk::platform {

namespace {

// "http://x", "mailto:a@b", "file:///x": a scheme of two characters or more, so that a
// drive-like "c:" is not taken for one.
bool hasScheme(const QString& text) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(text).hasMatch();
}

QUrl documentUrl(const QString& pathOrUrl) {
    if (pathOrUrl.startsWith(QLatin1Char('/')) || QFileInfo::exists(pathOrUrl))
        return QUrl::fromLocalFile(QFileInfo(pathOrUrl).absoluteFilePath());
    if (hasScheme(pathOrUrl))
        return QUrl(pathOrUrl, QUrl::TolerantMode);
    if (pathOrUrl.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QUrl(QStringLiteral("http://") + pathOrUrl, QUrl::TolerantMode);
    return QUrl::fromLocalFile(QFileInfo(pathOrUrl).absoluteFilePath());
}

} // namespace

bool openDocument(const QString& pathOrUrl) {
    if (pathOrUrl.isEmpty())
        return false;
    const QUrl url = documentUrl(pathOrUrl);
    return url.isValid() && QDesktopServices::openUrl(url);
}

namespace {

// $BROWSER may list several commands separated by ':'; the first one is used. A "%s" in
// it stands for the argument; otherwise the argument comes last.
QStringList browserCommand(const QString& argument) {
    const QString variable = qEnvironmentVariable("BROWSER");
    QStringList words;
    for (const QString& command : variable.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        words = QProcess::splitCommand(command);
        if (!words.isEmpty())
            break;
    }
    if (words.isEmpty())
        return {QStringLiteral("xdg-open"), argument};
    bool placed = false;
    for (int i = 1; i < words.size(); ++i) {
        if (words[i].contains(QLatin1String("%s"))) {
            words[i].replace(QLatin1String("%s"), argument);
            placed = true;
        }
    }
    if (!placed)
        words.append(argument);
    return words;
}

} // namespace

bool launchInBrowser(const QString& argument) {
    QStringList words = browserCommand(argument);
    const QString program = words.takeFirst();
    // startDetached reports a program that cannot be executed without waiting for it.
    return QProcess::startDetached(program, words);
}

} // namespace zk::platform
