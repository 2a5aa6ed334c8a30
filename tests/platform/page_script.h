#pragma once

#include <QString>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

// Runs a script of the test's own in the program's world (the page's own scripts are off)
// and waits for its answer; "<no answer>" when none comes.
inline QVariant evaluate(QWebEngineView* view, const QString& script) {
    QVariant result;
    bool done = false;
    view->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                [&](const QVariant& value) {
                                    result = value;
                                    done = true;
                                });
    if (!QTest::qWaitFor([&] { return done; }, 60000))
        return QStringLiteral("<no answer>");
    return result;
}
