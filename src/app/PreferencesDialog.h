#pragma once
#include "Preferences.h"
#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;

// frmPreferences: switches, animation speed and card back. It edits the
// table's preference fields directly; only the animation delay changes
// before Save, as the slider moves.
class PreferencesDialog : public QDialog {
    Q_OBJECT
public:
    // cWidth, cHeight: the card size in pixels. drawDealDeck repaints the
    // deck pile after the card back has changed.
    PreferencesDialog(Preferences &prefs, int cWidth, int cHeight, std::function<void()> drawDealDeck,
                      QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildGeneralTab();
    QWidget *buildBlackjackTab();
    QWidget *buildCardBacksTab();
    void Form_Activate();
    void HScroll1_Change(int value);
    void Combo1_Click();
    void cmdSave_Click();

    Preferences &prefs;
    const int cWidth;
    const int cHeight;
    std::function<void()> drawDealDeck;

    QTabWidget *SSTab1 = nullptr;
    QCheckBox *ckSounds = nullptr;
    QCheckBox *ckAnimation = nullptr;
    QSlider *HScroll1 = nullptr;
    QLabel *Label4 = nullptr;
    QCheckBox *ckprfAutoDeal = nullptr;
    QRadioButton *opAlwaysShow = nullptr;
    QRadioButton *opShowOnError = nullptr;
    QComboBox *Combo1 = nullptr;
    QLabel *picBacks = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdCancel = nullptr;
};
