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
    // "&Type", their letters underlined as keyboard access); the chosen path, or empty when
    // cancelled. A name that does not exist is returned too: the caller reports it.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter);

    // The save-file dialog (buttons "&Enregistrer", "&Annuler", fields as above); the
    // chosen file need not exist, and the dialog asks nothing about an existing one: the
    // caller knows the name really written (confirmReplace). selectedFilter, when not null,
    // names on entry the filter entry to preselect and on return the entry chosen, written as
    // in filter (for the bar-separated form, its description). Empty when cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter, QString* selectedFilter);

    // Asks, in French, whether the existing file at path may be replaced; true for yes.
    virtual bool confirmReplace(QWidget* parent, const QString& path);

    // The runtime's standard error box: a modal critical message box with an "OK" button,
    // titled with the application's name alone.
    virtual void runtimeError(QWidget* parent, const QString& message);
};

// Loads the toolkit's own French translations, so that its standard dialogs and buttons
// speak French; false when they are not installed. Call once the application exists.
bool loadToolkitTranslations();

// The current service: the real dialogs unless a test installed another.
Dialogs& dialogs();

// Installs d as the current service (not owned); nullptr restores the real dialogs.
void setDialogs(Dialogs* d);

} // namespace zk::platform
