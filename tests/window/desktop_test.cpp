// The window on a desktop as users have one: a window manager and a notification area
// (the runner starts openbox and trayer). Minimising hides the window behind the tray
// icon, off the screen and the task bar, and it comes back whole from the tray.
#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

#include "tray.h"
#include "window_test_support.h"

using zktest::AppFolder;

// Runs a checking helper and stops the test function when it failed.
#define ZK_CHECK(call)                                                                             \
    do {                                                                                           \
        call;                                                                                      \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T> using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_connection_t* connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow() {
    return xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
}

xcb_atom_t atom(const char* name) {
    xcb_connection_t* c = connection();
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(qstrlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t xWindow(QWidget* w) {
    return static_cast<xcb_window_t>(w->windowHandle()->winId());
}

// The windows the manager lists for task bars and pagers.
QList<xcb_window_t> taskBarWindows() {
    xcb_connection_t* c = connection();
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, rootWindow(), atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 0, 4096),
        nullptr));
    QList<xcb_window_t> windows;
    if (!reply || reply->format != 32)
        return windows;
    const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
    const int n = xcb_get_property_value_length(reply.get()) / 4;
    for (int i = 0; i < n; ++i)
        windows.append(ids[i]);
    return windows;
}

// ICCCM state the manager gives a window: 1 normal, 3 iconic, 0 or -1 (none) withdrawn.
int wmState(xcb_window_t w) {
    xcb_connection_t* c = connection();
    const xcb_atom_t state = atom("WM_STATE");
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, state, state, 0, 2), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return -1;
    return static_cast<int>(*static_cast<const uint32_t*>(xcb_get_property_value(reply.get())));
}

bool viewable(xcb_window_t w) {
    xcb_connection_t* c = connection();
    Reply<xcb_get_window_attributes_reply_t> reply(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr));
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

// What the title bar's minimise button does: the manager is asked to iconify the window.
void minimiseFromTitleBar(xcb_window_t w) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = w;
    event.type = atom("WM_CHANGE_STATE");
    event.data.data32[0] = 3; // IconicState
    xcb_send_event(connection(), 0, rootWindow(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection());
}

// The manager handles requests in the order they come: once a window mapped after them is
// on screen, everything asked before it has been done.
void waitForTheWindowManager() {
    QWidget probe;
    probe.setWindowTitle(QStringLiteral("probe"));
    probe.resize(20, 20);
    probe.show();
    QVERIFY(QTest::qWaitForWindowExposed(&probe, zktest::kWindowSystemTimeoutMs));
}

// The window on screen shows what it paints: the editor white, the side toolbar silver,
// never the black of a window left unpainted.
bool shownWhole(TForm1* form) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPoint origin = form->mapToGlobal(QPoint(0, 0));
    const QImage shot =
        screen->grabWindow(0, origin.x(), origin.y(), form->width(), form->height()).toImage();
    if (shot.isNull())
        return false;
    const QColor editor = shot.pixelColor(form->Memo1->geometry().center() - QPoint(40, 40));
    const QColor toolbar = shot.pixelColor(QPoint(514, 200)); // beside the side toolbar's buttons
    return editor == form->Memo1->palette().color(QPalette::Base) &&
           toolbar == form->palette().color(QPalette::Window);
}

// The notification-area icon's own widget, once the tray has taken it in.
QWidget* trayIconWidget() {
    const QList<QWidget*> widgets = QApplication::allWidgets();
    for (QWidget* w : widgets) {
        if (qstrcmp(w->metaObject()->className(), "QSystemTrayIconSys") == 0 && w->isVisible())
            return w;
    }
    return nullptr;
}

} // namespace

class DesktopTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFolder> folder;
    std::unique_ptr<TForm1> form;

    void expectHiddenBehindTheIcon() {
        QTRY_VERIFY(!form->isVisible());
        ZK_CHECK(waitForTheWindowManager());
        const xcb_window_t w = xWindow(form.get());
        QVERIFY(!taskBarWindows().contains(w));
        QVERIFY(!viewable(w));
        QVERIFY(wmState(w) <= 0);
        QVERIFY(form->Tray->isVisible());
        form->Popup9Popup();
        QVERIFY(form->AfficherTray->isEnabled());
        QVERIFY(!form->CacherTray->isEnabled());
    }

    void expectBackWhole() {
        QTRY_VERIFY(form->isVisible() && !form->isMinimized());
        QVERIFY(QTest::qWaitForWindowExposed(form.get(), zktest::kWindowSystemTimeoutMs));
        const xcb_window_t w = xWindow(form.get());
        QTRY_VERIFY(taskBarWindows().contains(w));
        QTRY_COMPARE(wmState(w), 1);
        QTRY_VERIFY(viewable(w));
        QTRY_VERIFY(form->isActiveWindow());
        QTRY_VERIFY(shownWhole(form.get()));
        form->Popup9Popup();
        QVERIFY(!form->AfficherTray->isEnabled());
        QVERIFY(form->CacherTray->isEnabled());
    }

private slots:
    void initTestCase() {
        QVERIFY2(connection(), "an X11 display is needed");
        QVERIFY2(QSystemTrayIcon::isSystemTrayAvailable(), "the runner starts a notification area");
    }

    void init() {
        folder = std::make_unique<AppFolder>();
        form = zktest::openWindow(*folder);
        // The browser pane is made after the first paint and makes the window anew.
        QTRY_VERIFY(form->codeOutput()->WebB != nullptr);
        QTRY_VERIFY(form->isActiveWindow());
        QVERIFY(form->TrayAvailable());
        QTRY_VERIFY(trayIconWidget() != nullptr);
        QTRY_VERIFY(taskBarWindows().contains(xWindow(form.get())));
    }

    void cleanup() {
        form.reset();
        folder.reset();
    }

    void minimiseHidesTheWindowAndAfficherBringsItBack() {
        minimiseFromTitleBar(xWindow(form.get()));
        ZK_CHECK(expectHiddenBehindTheIcon());
        form->AfficherTray->trigger();
        ZK_CHECK(expectBackWhole());
        // Again: the second time is no different.
        minimiseFromTitleBar(xWindow(form.get()));
        ZK_CHECK(expectHiddenBehindTheIcon());
        form->AfficherTray->trigger();
        ZK_CHECK(expectBackWhole());
    }

    void theIconBringsTheWindowBack_data() {
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("double click") << true;
        // Trays that speak StatusNotifier may deliver single clicks only.
        QTest::newRow("single click") << false;
    }

    void theIconBringsTheWindowBack() {
        QFETCH(bool, doubleClick);
        minimiseFromTitleBar(xWindow(form.get()));
        ZK_CHECK(expectHiddenBehindTheIcon());
        QWidget* icon = trayIconWidget();
        QVERIFY(icon);
        if (doubleClick)
            QTest::mouseDClick(icon, Qt::LeftButton);
        else
            QTest::mouseClick(icon, Qt::LeftButton);
        ZK_CHECK(expectBackWhole());
        // A click while the window shows changes nothing.
        QTest::mouseClick(icon, Qt::LeftButton);
        QVERIFY(form->isVisible());
        QVERIFY(!form->isMinimized());
    }

    void reduireTakesTheWindowOffTheTaskBar() {
        form->CacherTray->trigger();
        ZK_CHECK(expectHiddenBehindTheIcon());
        form->AfficherTray->trigger();
        ZK_CHECK(expectBackWhole());
    }

    // The window system adds the program's name to a title that lacks it: the error box
    // shows it once.
    void theErrorBoxNamesTheProgramOnce() {
        zk::platform::setDialogs(nullptr);
        QByteArray title;
        zktest::whenModal([&](QWidget* box) {
            xcb_connection_t* c = connection();
            Reply<xcb_get_property_reply_t> reply(
                xcb_get_property_reply(c,
                                       xcb_get_property(c, 0, xWindow(box), atom("_NET_WM_NAME"),
                                                        atom("UTF8_STRING"), 0, 256),
                                       nullptr));
            if (reply)
                title = QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                   xcb_get_property_value_length(reply.get()));
        });
        zk::platform::dialogs().runtimeError(form.get(), QStringLiteral("Invalid numeric input"));
        zk::platform::setDialogs(&zktest::dialogs());
        QCOMPARE(QString::fromUtf8(title), QStringLiteral(" ZelkoHTML"));
    }

    void typingGoesOnAfterTheWindowComesBack() {
        QTest::keyClicks(form->Memo1, QStringLiteral("ab"));
        minimiseFromTitleBar(xWindow(form.get()));
        ZK_CHECK(expectHiddenBehindTheIcon());
        form->AfficherTray->trigger();
        ZK_CHECK(expectBackWhole());
        QTRY_VERIFY(form->Memo1->hasFocus());
        QTest::keyClicks(form->Memo1, QStringLiteral("c"));
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("abc"));
    }
};

ZK_WINDOW_TEST_MAIN(DesktopTest)
#include "desktop_test.moc"
