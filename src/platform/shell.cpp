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

// Splits $BROWSER as a shell would split a simple command line: words separated by blanks,
// '...' and "..." quoting, backslash escapes. An unquoted ':' separates alternative commands.
QList<QStringList> browserCommands(const QString& variable) {
    QList<QStringList> commands;
    QStringList words;
    QString word;
    bool inWord = false;
    QChar quote;
    auto endWord = [&] {
        if (inWord)
            words.append(word);
        word.clear();
        inWord = false;
    };
    for (qsizetype i = 0; i < variable.size(); ++i) {
        const QChar c = variable[i];
        if (quote == QLatin1Char('\'')) {
            if (c == quote)
                quote = QChar();
            else
                word += c;
        } else if (quote == QLatin1Char('"')) {
            if (c == quote) {
                quote = QChar();
            } else if (c == QLatin1Char('\\') && i + 1 < variable.size() &&
                       QStringLiteral("\"\\$`").contains(variable[i + 1])) {
                word += variable[++i];
            } else {
                word += c;
            }
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            inWord = true;
        } else if (c == QLatin1Char('\\') && i + 1 < variable.size()) {
            word += variable[++i];
            inWord = true;
        } else if (c.isSpace()) {
            endWord();
        } else if (c == QLatin1Char(':')) {
            endWord();
            commands.append(words);
            words.clear();
        } else {
            word += c;
            inWord = true;
        }
    }
    endWord();
    commands.append(words);
    return commands;
}

// The first command of $BROWSER with the argument in place of "%s", or after its words
// when there is no "%s"; xdg-open when $BROWSER names no command.
QStringList browserCommand(const QString& argument) {
    QStringList words;
    for (const QStringList& command : browserCommands(qEnvironmentVariable("BROWSER"))) {
        if (!command.isEmpty()) {
            words = command;
            break;
        }
    }
    if (words.isEmpty())
        return {QStringLiteral("xdg-open"), argument};
    bool placed = false;
    for (qsizetype i = 1; i < words.size(); ++i) {
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
