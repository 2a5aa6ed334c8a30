// The image lists in the window: the table of names, loading and saving the current list,
// and the list-name prompt that creates, renames and deletes lists.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

#include "data_path.h"
#include "dialogs.h"
#include "entry_rows.h"
#include "list_store.h"
#include "main_window.h"
#include "sounds.h"
#include "widget_kit.h"

using zk::platform::kParkLeft;
using zk::platform::kParkTop;

namespace {

std::string toPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A list file past the size a list can have.
const QString kCannotOpen = QStringLiteral("\r\n\r\nImpossible d'ouvrir ce fichier");

void showWriteError(TForm1& form) {
    form.ShowError(QStringLiteral("\r\nERREUR en écriture"));
}

// The index of the current list among the items of Rubrique: CurrentList when it names
// one, else the first list; -1 when there is none.
int currentListIndex(const TForm1& form) {
    return zk::validListIndex(form.settings.CurrentList,
                              static_cast<std::size_t>(form.Rubrique->count()));
}

void showListPrompt(TForm1& form, const QString& label, std::uint8_t mode) {
    form.LabMessListe->setText(label);
    form.ListPromptMode = mode;
    form.Panel6->move(164, 144);
    form.Panel6->raise();
    if (form.PanError->isVisible())
        form.PanError->raise();
    form.Panel6->show();
    form.EditMessListe->setFocus();
}

void hideListPrompt(TForm1& form) {
    form.Panel6->hide();
    form.Panel6->move(kParkLeft, kParkTop);
}

// The end of every prompt command that did not stop: the table from Rubrique, the prompt
// closed, the current list chosen again.
void closeListPrompt(TForm1& form) {
    for (std::string& slot : form.ListNames)
        slot.clear();
    const int count = std::min(form.Rubrique->count(), static_cast<int>(zk::kListSlots));
    for (int i = 0; i < count; ++i)
        form.ListNames[static_cast<std::size_t>(i)] = form.Rubrique->itemText(i).toStdString();
    hideListPrompt(form);
    {
        const QSignalBlocker block(form.Rubrique);
        form.Rubrique->setCurrentIndex(form.settings.CurrentList);
    }
    form.ListPromptMode = 0;
    form.RubriqueChange();
}

// Mode 1. Returns false when the prompt stays open.
bool createList(TForm1& form, const QString& name) {
    const int existing = form.Rubrique->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (existing >= 0) {
        // Already a list: it becomes the current one, its file untouched.
        form.settings.CurrentList = existing;
        return true;
    }
    if (form.Rubrique->count() >= static_cast<int>(zk::kListSlots)) {
        showWriteError(form); // the table is full
        return false;
    }
    const zk::ListFileResult made =
        zk::createListFile(toPath(form.ListFolder()), name.toStdString());
    // A file left by another run or put there by hand is taken as the list, never emptied.
    if (!made.ok() && made.status != zk::ListFileStatus::AlreadyExists) {
        showWriteError(form);
        return false;
    }
    {
        // The first item of an empty box would announce a change of list, and the load it
        // runs would rebuild the names from the table, which does not hold this one yet.
        const QSignalBlocker block(form.Rubrique);
        form.Rubrique->addItem(name);
    }
    form.settings.CurrentList = form.Rubrique->count() - 1;
    return true;
}

// Mode 2.
bool renameList(TForm1& form, const QString& name) {
    const int current = currentListIndex(form);
    if (current < 0)
        return true;
    const QString oldName = form.Rubrique->itemText(current);
    if (name == oldName)
        return true;
    if (form.Rubrique->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0) {
        showWriteError(form); // another list has that name
        return false;
    }
    const zk::ListFileResult renamed =
        zk::renameListFile(toPath(form.ListFolder()), oldName.toStdString(), name.toStdString());
    if (!renamed.ok()) {
        showWriteError(form);
        return false;
    }
    form.Rubrique->setItemText(current, name);
    form.settings.CurrentList = current;
    return true;
}

// Mode 3.
bool deleteList(TForm1& form) {
    const int current = currentListIndex(form);
    if (current < 0)
        return true;
    const zk::ListFileResult moved = zk::moveListToBackup(
        toPath(form.ListFolder()), form.Rubrique->itemText(current).toStdString());
    if (!moved.ok()) {
        showWriteError(form);
        return false;
    }
    {
        const QSignalBlocker block(form.Rubrique);
        form.Rubrique->removeItem(current);
        form.settings.CurrentList = 0;
        form.Rubrique->setCurrentIndex(0);
    }
    form.EditMessListe->clear();
    return true;
}

} // namespace

QString TForm1::ListFolder() const {
    return zk::platform::dataPath(AppFolder, zk::data::kLists);
}

void TForm1::ScanListFolder(const QString& folder) {
    zk::scanListFolder(toPath(folder), ListNames);
}

void TForm1::LoadCurrentList() {
    const QSignalBlocker blockEntries(ListImg);
    const QSignalBlocker blockNames(Rubrique);
    Rubrique->clear();
    QStringList names;
    for (const std::string& name : ListNames) {
        if (!name.empty())
            names.append(QString::fromStdString(name));
    }
    Rubrique->addItems(names);
    ListEntries.clear();
    CurrentListRefused = false;
    if (names.isEmpty()) {
        zk::ui::showEntries(ListImg, ListEntries);
        return;
    }

    // A saved index outside the lists found chooses the first list.
    settings.CurrentList = zk::validListIndex(settings.CurrentList, names.size());
    const std::string path =
        zk::listFilePath(toPath(ListFolder()), names[settings.CurrentList].toStdString());
    zk::ListFileContent content = zk::readListFile(path);
    // A file that is there but cannot be read shows no entries, and is never written over.
    CurrentListRefused = content.status == zk::ListFileRead::TooBig ||
                         content.status == zk::ListFileRead::Unreadable;
    ListEntries = std::move(content.entries);
    zk::ui::showEntries(ListImg, ListEntries);

    Rubrique->setCurrentIndex(settings.CurrentList);
    ListImg->setFocus();
    if (CurrentItem >= 0 && CurrentItem < ListImg->count()) {
        ListImg->setCurrentRow(CurrentItem);
    } else {
        ListImg->setCurrentRow(-1);
        ListImg->clearSelection();
    }
    if (content.status == zk::ListFileRead::TooBig)
        ShowError(kCannotOpen);
}

bool TForm1::SaveCurrentList() {
    const int current = settings.CurrentList;
    if (current < 0 || current >= Rubrique->count() || CurrentListRefused)
        return false;
    const std::string path =
        zk::listFilePath(toPath(ListFolder()), Rubrique->itemText(current).toStdString());
    const zk::WriteResult written = zk::writeListFile(path, ListEntries);
    if (written.ok())
        return true;
    if (written.status == zk::WriteStatus::CannotCreate)
        showWriteError(*this);
    else // the previous file is still whole
        zk::platform::dialogs().runtimeError(
            this, QString::fromStdString(zk::writeErrorMessage(written)));
    return false;
}

void TForm1::SetUpListNamePrompt() {
    // Return in the name presses "Ok".
    connect(EditMessListe, &QLineEdit::returnPressed, BoutMessOK, &QPushButton::click);
}

void TForm1::BoutImgNouvClick() {
    showListPrompt(*this, QStringLiteral("Nouvelle Liste"), 1);
}

void TForm1::BoutImgRenClick() {
    const int current = currentListIndex(*this);
    if (current < 0) {
        zk::platform::beep(); // no list to rename
        return;
    }
    EditMessListe->setText(Rubrique->itemText(current));
    showListPrompt(*this, QStringLiteral("Renommer la Liste"), 2);
}

void TForm1::BoutImgEffClick() {
    const int current = currentListIndex(*this);
    if (current < 0) {
        zk::platform::beep(); // no list to delete
        return;
    }
    EditMessListe->setText(Rubrique->itemText(current));
    showListPrompt(*this, QStringLiteral("Supprimer la Liste"), 3);
}

void TForm1::BoutMessAnnuleClick() {
    hideListPrompt(*this);
    ListPromptMode = 0;
}

void TForm1::BoutMessOKClick() {
    const QString name = EditMessListe->text();
    switch (ListPromptMode) {
    case 1:
        if (!name.isEmpty() && !createList(*this, name))
            return;
        break;
    case 2:
        if (!name.isEmpty() && !renameList(*this, name))
            return;
        break;
    case 3:
        if (name.isEmpty()) {
            zk::platform::informationSound();
            return;
        }
        if (!deleteList(*this))
            return;
        break;
    default:
        break;
    }
    closeListPrompt(*this);
}
