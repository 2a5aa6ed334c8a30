// The preferences panel Panel9: its six tabs, filled from the state when it opens and copied
// back when one of its "Ok" buttons confirms it; the gradient swatches and colour commands
// and the signature colour and preview, which act at once; the about tab and its links.
// Nothing is written to disk here: the settings file keeps the values at shutdown.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "commands.h"

class QCheckBox;
class QComboBox;
class QEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class QVBoxLayout;
class QWebEngineView;
class QWidget;

namespace zk {
struct AppSettings;
struct NewOptions;
} // namespace zk
namespace zk::platform {
class WindowHost;
}

namespace zk::ui {

class GradientChoices;
class GradientSwatch;
class RadioGroup;

class PreferencesPanel final : public QObject {
    Q_OBJECT

public:
    // options: the options kept beside the settings file, which rows of "Général" and
    // "Dégradé" may show and set; window: the parent of Panel9, which the window parks,
    // places and stacks as one of its overlay panels (number 9). appFolder ends with "/".
    // The panel's controls are wired through the host's command builder.
    PreferencesPanel(zk::platform::WindowHost& host, zk::AppSettings& settings,
                     zk::NewOptions& options, QWidget* window, const QString& appFolder);

    static constexpr int kPanelNumber = 9;

    QWidget* Panel9 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* TabSheet4 = nullptr;
    QWidget* TabSheet5 = nullptr;
    QWidget* TabSheet6 = nullptr;
    QPushButton* BoutOKConf0 = nullptr;
    QPushButton* BoutOKConf1 = nullptr;
    QPushButton* BoutOKCong2 = nullptr;
    QPushButton* BoutOKConf3 = nullptr;
    QPushButton* BoutOKConf4 = nullptr;
    QPushButton* BoutOKConf5 = nullptr;
    // "Général"
    QCheckBox* CheckDemarrage = nullptr;
    QCheckBox* CheckReduire = nullptr;
    QCheckBox* CheckApercuNavIndep = nullptr;
    QCheckBox* CheckIntegre = nullptr;
    QCheckBox* CheckBulle = nullptr;
    // The options kept beside the settings: the live preview and the code's format.
    QCheckBox* CheckApercuDirect = nullptr;
    QComboBox* CombFormat = nullptr;
    QLabel* LabNoteBBCode = nullptr; // shown while BBCode is chosen
    QCheckBox* CheckCompact = nullptr;
    QCheckBox* CheckPourcent = nullptr; // enabled while BBCode is chosen
    QCheckBox* CheckCopieRiche = nullptr;
    QLabel* LabAjout = nullptr;
    QLineEdit* EditAjout = nullptr;
    QLabel* LabLimit1 = nullptr;
    QLineEdit* EditLimit = nullptr;
    QLabel* LabLimit2 = nullptr;
    // "Signature"
    QLabel* Lab1 = nullptr;
    QLineEdit* EditTextSign = nullptr;
    QToolButton* BoutTexteSignCoul = nullptr;
    QComboBox* CombTaille = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* EditImgSign = nullptr;
    QLineEdit* EditLinkImgSign = nullptr;
    RadioGroup* CheckTxtImg = nullptr;
    QToolButton* BoutApercuSign = nullptr;
    QWebEngineView* WebB3 = nullptr; // made when first needed: EnsureWebB3
    // "Dégradé": the swatches Grad0..Grad7 and their buttons Z0..Z7 are found by name
    GradientSwatch* Degrade = nullptr;
    QLabel* LabDeg = nullptr;
    QToolButton* BoutDeg1 = nullptr;
    QToolButton* BoutDeg2 = nullptr;
    QToolButton* BoutInverse = nullptr;
    QCheckBox* CheckDouble = nullptr;
    // The type, blend, colours and hues of the options file
    GradientChoices* Choices = nullptr;
    // "Scrolling", "Vagues"
    RadioGroup* CheckHoriz = nullptr;
    RadioGroup* CheckVert = nullptr;
    RadioGroup* CheckSpeed = nullptr;
    RadioGroup* CheckStyle = nullptr;
    RadioGroup* CheckVague = nullptr;
    // "A propos..."
    QLabel* ImageLogo = nullptr;
    QLabel* ZelkoInfo1 = nullptr;
    QLabel* ZelkoInfo2 = nullptr;
    QLabel* ZelkoInfo3 = nullptr;
    QLabel* ZelkoInfo4 = nullptr;
    QLabel* ZelkoInfo5 = nullptr;
    QLabel* ZelkoInfo6 = nullptr;

    // ---- Rows of the "Général" tab ----
    // The left column of "Général" holds one row per choice, top to bottom in the order
    // they are added; it scrolls when they outgrow the tab. A new option adds its row here
    // (in BuildGeneralTab, after the rows before it), fills it in BoutPreferencesClick and
    // stores it in ApplyPreferences.
    QCheckBox* AddGeneralCheck(const char* name, const QString& caption);
    // A caption followed by a drop-down list of items; the list is returned.
    QComboBox* AddGeneralChoice(const char* name, const QString& caption, const QStringList& items);
    // Any other widget as a row of its own (the column becomes its parent).
    void AddGeneralRow(QWidget* row);

    // ---- Opening, confirming ----
    // Opens the panel on tab PreferencesPage, or applies and closes it when it is open.
    void BoutPreferencesClick();
    void Prfrences1Click();
    // Copies the controls into the state and closes the panel.
    void ApplyPreferences();
    void BoutOKConf0Click();
    // A right button released over one of six toolbar buttons opens the panel on a tab.
    void BoutPreferencesMouseUp(Qt::MouseButton button);
    void BoutNavIntegreMouseUp(Qt::MouseButton button);
    void BoutSignMouseUp(Qt::MouseButton button);
    void BoutDegradeMouseUp(Qt::MouseButton button);
    void BoutScrollMouseUp(Qt::MouseButton button);
    void BoutVagueMouseUp(Qt::MouseButton button);
    // The BBCode note and the percentage sizes follow the chosen format.
    void CombFormatChange();
    // Typed characters other than backspace, carriage return and digits become 0 (dropped).
    void EditLimitKeyPress(QChar& key);

    // ---- Gradient colours ("Dégradé") ----
    void BoutDeg1Click();
    void BoutDeg2Click();
    void BoutInverseClick();
    void Z0Click(QToolButton* sender);
    // The preset swatch Grad0..Grad7 by number; null when there is none.
    GradientSwatch* PresetSwatch(int k) const;
    // Degrade from the current colours; preset swatch k from its table entries.
    void ShowCurrentGradient();
    void ShowPresetGradient(int k);
    // The current colours from the selected preset, shown, with the marker under it.
    void SelectPresetGradient();

    // ---- Signature ----
    void PreviewSignature();
    void BoutApercuSignClick();
    void BoutTexteSignCoulClick();
    QWebEngineView* EnsureWebB3();

    // ---- About ----
    void ZelkoInfo5Click();
    void ZelkoInfo6Click();

    // The rows of the commands the window places (the toolbar button and the editors' menu
    // item that open the panel: two commands, each recorded by its own name).
    static const zk::platform::Command<PreferencesPanel>& CommandRow(const char* name);

signals:
    // Confirming the panel turned the window's tooltips on or off.
    void hintsChosen(bool on);
    // Confirming the panel may have changed the options that shape the code (its format,
    // the live preview): the code is to be made and shown again.
    void codeOptionsChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildPanel(QWidget* window);
    void BuildGeneralTab();
    void BuildSignatureTab();
    void BuildGradientTab();
    void BuildScrollingTab();
    void BuildWavesTab();
    void BuildAboutTab();
    void OpenOnTab(Qt::MouseButton button, int page);
    // Connects the panel's own controls to their handlers through the host's builder.
    void WireCommands();

    zk::platform::WindowHost& host_;
    zk::AppSettings& settings_;
    zk::NewOptions& options_;
    QString appFolder_;
    QVBoxLayout* generalRows_ = nullptr;
};

} // namespace zk::ui
