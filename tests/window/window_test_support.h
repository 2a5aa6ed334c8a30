// Shared pieces of the tests of the real window: those of the parts' tests, and the window
// opened in its own folder.
#pragma once

#include <memory>

#include "character_table.h"
#include "code_output.h"
#include "main_window.h"
#include "part_test_support.h"
#include "text_tools.h"

namespace zktest {

// A window in its own folder, shown and active. The browser pane made after the first
// paint makes the window anew, which may lose an activation asked for just before: it is
// asked again until the window is active.
inline std::unique_ptr<TForm1> openWindow(const AppFolder& folder, bool show = true,
                                          const QStringList& args = {}) {
    auto form = std::make_unique<TForm1>(folder.path(), args);
    if (show) {
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowExposed(form.get(), kWindowSystemTimeoutMs))
            qWarning("window not exposed");
        if (!QTest::qWaitFor(
                [&] {
                    if (!form->isActiveWindow())
                        form->activateWindow();
                    return form->isActiveWindow();
                },
                kWindowSystemTimeoutMs))
            qWarning("window not active");
    }
    return form;
}

} // namespace zktest

#define ZK_WINDOW_TEST_MAIN(TestClass) ZK_PART_TEST_MAIN(TestClass)
