#pragma once

#include <QColor>
#include <QString>
#include <optional>

class QWidget;

namespace zk::platform {

// Every modal dialog of the window goes through this service, so tests can install a
// fake that answers them. The base class shows the real dialogs.
//
// File filters are accepted in the toolkit's form ("Texte (*.txt);;Tous (*)") or in the
// bar-separated form "Fichiers texte (*.txt)|*.txt|Fichiers html (*.html)|*.html"
// (description, patterns separated by ';', description, ...).
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The colour dialog, fully opened, preset to initial; nullopt when cancelled.
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial);

    // The open-file dialog (buttons "&Ouvrir", "&Annuler"; fields "&Dossier", "&Fichier",
    // "&Type"); the chosen path, or empty when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter);

    // The save-file dialog (buttons "&Enregistrer", "&Annuler", fields as above); the
    // chosen file need not exist, and replacing an existing one is confirmed first. selectedFilter,
    // when not null, names on entry the filter entry to preselect and on return the entry chosen,
    // written as in filter (for the bar-separated form, its description). Empty when cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter, QString* selectedFilter);

    // The runtime's standard error box: a modal critical message box with an "OK" button.
    virtual void runtimeError(QWidget* parent, const QString& message);
};

// The current service: the real dialogs unless a test installed another.
Dialogs& dialogs();

// Installs d as the current service (not owned); nullptr restores the real dialogs.
void setDialogs(Dialogs* d);

} // namespace zk::platform
