#include <QApplication>
#include <cstring>
#include <vector>

#include "dialogs.h"
#include "platform_tests.h"

namespace {

const char* executablePath = nullptr;

struct Group {
    const char* name;
    int (*run)(int, char**);
};

const Group groups[] = {
    {"autostart", runAutostartTests},
    {"shell", runShellTests},
    {"clipboard", runClipboardTests},
    {"single_instance", runSingleInstanceTests},
    {"dialogs", runDialogsTests},
    {"tray", runTrayTests},
    {"local_address", runLocalAddressTests},
};

} // namespace

const char* testExecutable() {
    return executablePath;
}

// platform_tests [GROUP] [QTest options]: runs one group, or every group.
// platform_tests --own-clipboard TEXT | --instance KEY: helper child processes.
int main(int argc, char** argv) {
    executablePath = argv[0];
    if (argc == 3 && std::strcmp(argv[1], "--own-clipboard") == 0)
        return ownClipboardHelper(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "--instance") == 0)
        return singleInstanceHelper(argv[2]);

    QApplication app(argc, argv);
    // The standard dialogs as the program shows them: in French.
    if (!zk::platform::loadToolkitTranslations())
        qWarning("the toolkit's French translations are not installed");
    std::vector<char*> args(argv, argv + argc);
    const char* only = nullptr;
    if (args.size() > 1 && args[1][0] != '-') {
        only = args[1];
        args.erase(args.begin() + 1);
    }
    int failures = 0;
    bool found = false;
    for (const Group& group : groups) {
        if (only && std::strcmp(only, group.name) != 0)
            continue;
        found = true;
        failures += group.run(static_cast<int>(args.size()), args.data());
    }
    if (!found) {
        qWarning("unknown test group %s", only);
        return 2;
    }
    return failures == 0 ? 0 : 1;
}
