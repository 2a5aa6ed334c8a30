// The presets menu Popup4: its slots, loading a slot's file and saving the formatting into it.
#include "presets.h"

#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QMenu>

#include <cerrno>
#include <utility>

#include "data_path.h"
#include "dialogs.h"
#include "preset_file.h"
#include "settings_file.h"
#include "widget_kit.h"
#include "window_host.h"

namespace zk::ui {

namespace {

constexpr int kSlots = 8;

// Columns: name, caption, hint, icon, shortcut, checkable, handler.
const zk::platform::Command<Presets> kCommands[] = {
    {"SauvegarderP", "&Sauvegarder", nullptr, nullptr, nullptr, false,
     ZK_HANDLER(Presets, SauvegarderPClick)},
};

} // namespace

const zk::platform::Command<Presets>& Presets::CommandRow(const char* name) {
    return zk::platform::commandRow(kCommands, name);
}

Presets::Presets(zk::platform::WindowHost& host, zk::AppSettings& settings, QWidget* window,
                 const QString& appFolder, UnreadFiles unreadFiles)
    : QObject(window), host_(host), settings_(settings), appFolder_(appFolder),
      unreadFiles_(std::move(unreadFiles)) {
    zk::platform::CommandBuilder& commands = host_.commands();
    Popup4 = new QMenu(window);
    Popup4->setObjectName(QStringLiteral("Popup4"));
    auto* group = new QActionGroup(Popup4);
    for (int i = 1; i <= kSlots; ++i) {
        QAction* item = zk::platform::makeGroupItem(Popup4, group, QStringLiteral("P%1").arg(i),
                                                    QStringLiteral("Config &%1").arg(i), i);
        // The eight slots share one handler.
        connect(item, &QAction::triggered, this, [this, &commands, item] {
            commands.run("P1Click", [this, item] { P1Click(item); });
        });
    }
    commands.separator(Popup4, "N8");
    SauvegarderP = commands.item(Popup4, this, CommandRow("SauvegarderP"));
}

QAction* Presets::SlotItem(int k) const {
    return Popup4->findChild<QAction*>(QStringLiteral("P%1").arg(k));
}

void Presets::CheckSlot(int n) {
    for (int i = 1; i <= kSlots; ++i)
        SlotItem(i)->setChecked(i == n + 1);
}

QString Presets::PresetPath(int slot) const {
    return zk::platform::dataPath(appFolder_, zk::data::kPresets) + QLatin1Char('/') +
           QString::fromStdString(zk::presetFileName(slot));
}

void Presets::P1Click(QAction* sender) {
    LoadPreset(static_cast<std::uint8_t>(sender->data().toInt() - 1));
}

void Presets::LoadPreset(std::uint8_t n) {
    CheckSlot(n);
    settings_.PresetIndex = n; // current whether or not its file exists

    const QString path = PresetPath(n);
    const zk::LoadResult loaded =
        zk::LoadPresetFile(QFile::encodeName(path).toStdString(), settings_.fmt);
    // "&Sauvegarder" writes the whole file: what could not be read is kept first.
    const QString kept = loaded.partlyRead() ? unreadFiles_.keepCopy(path) : QString();
    if (loaded.status == zk::LoadResult::Missing || loaded.status == zk::LoadResult::TooBig) {
        host_.ShowError(QStringLiteral("\r\nConfiguration non définie"));
        return;
    }
    if (loaded.status == zk::LoadResult::InvalidNumber) {
        // The values read before the bad line are kept; menus and buttons are left as they
        // were until the next load.
        zk::platform::dialogs().runtimeError(host_.hostWindow(),
                                             QString::fromLatin1(zk::kInvalidNumericInput) + kept);
        return;
    }
    emit presetLoaded();
}

void Presets::SauvegarderPClick() {
    const QString path = PresetPath(settings_.PresetIndex);
    const zk::WriteResult written =
        unreadFiles_.mayReplace(path)
            ? zk::SavePresetFile(QFile::encodeName(path).toStdString(), settings_.fmt)
            : zk::WriteResult{zk::WriteStatus::CannotCreate, EEXIST};
    zk::platform::reportWrite(host_, written);
}

} // namespace zk::ui
