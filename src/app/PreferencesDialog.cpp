#include "PreferencesDialog.h"
#include "Alert.h"
#include "CardLibrary.h"
#include "CloseKeys.h"
#include "Twips.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
// Position in the list + 53 is the card library's design number.
const char *const designNames[] = {"Hatch",    "Plaid",    "Weave", "Robot",  "Roses",
                                   "IvyBlack", "IvyBlue",  "FishCyan", "FishBlue", "Shell",
                                   "Castle",   "Beach",    "Sleeve"};
constexpr int designCount = int(std::size(designNames));
static_assert(CardLibrary::firstBackDesign + designCount - 1 == CardLibrary::lastBackDesign);

const QString slowerFaster = QStringLiteral("Slower                      Faster");

// Each tab's controls sit in one frame.
QGroupBox *frameWith(QLayout *content)
{
    auto *frame = new QGroupBox;
    frame->setLayout(content);
    return frame;
}

QWidget *tabHolding(QGroupBox *frame)
{
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(frame);
    return tab;
}

template <typename Control>
Control *named(Control *control, const char *name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}
}

PreferencesDialog::PreferencesDialog(Preferences &prefs, int cWidth, int cHeight,
                                     std::function<void()> drawDealDeck, QWidget *parent)
    : QDialog(parent), prefs(prefs), cWidth(cWidth), cHeight(cHeight), drawDealDeck(std::move(drawDealDeck))
{
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));
    CloseKeys::attach(this);

    SSTab1 = named(new QTabWidget, "SSTab1");
    SSTab1->setUsesScrollButtons(false); // the dialog grows to show every tab
    SSTab1->addTab(buildGeneralTab(), QStringLiteral("General"));
    SSTab1->addTab(buildBlackjackTab(), QStringLiteral("Blackjack"));
    SSTab1->addTab(buildCardBacksTab(), QStringLiteral("Card Backs"));

    cmdSave = named(new QPushButton(QStringLiteral("Save")), "cmdSave");
    cmdSave->setDefault(true);
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    connect(cmdSave, &QPushButton::clicked, this, &PreferencesDialog::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addLayout(buttons);
}

QWidget *PreferencesDialog::buildGeneralTab()
{
    ckSounds = named(new QCheckBox(QStringLiteral("Enable sounds")), "ckSounds");
    ckAnimation = named(new QCheckBox(QStringLiteral("Enable animation")), "ckAnimation");
    Label4 = named(new QLabel(QStringLiteral("100")), "Label4");

    HScroll1 = named(new QSlider(Qt::Horizontal), "HScroll1");
    HScroll1->setRange(0, 1000);
    HScroll1->setSingleStep(10);
    HScroll1->setPageStep(100);
    connect(HScroll1, &QSlider::valueChanged, this, &PreferencesDialog::HScroll1_Change);

    // The slider spans exactly the caption beneath it, so "Slower" sits
    // under the low end and "Faster" under the high end.
    auto *ends = new QLabel(slowerFaster);
    HScroll1->setFixedWidth(ends->fontMetrics().horizontalAdvance(slowerFaster));

    auto *delayCaption = new QHBoxLayout;
    delayCaption->addWidget(new QLabel(QStringLiteral("Animation Delay")));
    delayCaption->addWidget(Label4);
    delayCaption->addStretch();

    auto *content = new QVBoxLayout;
    content->addWidget(ckSounds);
    content->addWidget(ckAnimation);
    content->addSpacing(8);
    content->addLayout(delayCaption);
    content->addWidget(HScroll1);
    content->addWidget(ends);
    content->addStretch();
    return tabHolding(frameWith(content));
}

QWidget *PreferencesDialog::buildBlackjackTab()
{
    ckprfAutoDeal = named(new QCheckBox(QStringLiteral("Auto Deal")), "ckprfAutoDeal");
    opAlwaysShow = named(new QRadioButton(QStringLiteral("Always Show Best Play ")), "opAlwaysShow");
    opShowOnError = named(new QRadioButton(QStringLiteral("Show Best Play after Error")), "opShowOnError");
    opAlwaysShow->setChecked(true);

    auto *content = new QVBoxLayout;
    content->addWidget(ckprfAutoDeal);
    content->addSpacing(8);
    content->addWidget(opAlwaysShow);
    content->addWidget(opShowOnError);
    content->addStretch();
    return tabHolding(frameWith(content));
}

QWidget *PreferencesDialog::buildCardBacksTab()
{
    Combo1 = named(new QComboBox, "Combo1");
    for (const char *name : designNames)
        Combo1->addItem(QLatin1String(name));
    // Nothing chosen until the dialog is filled, so a stored design the list
    // does not hold is never replaced by the first entry on Save.
    Combo1->setCurrentIndex(-1);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &PreferencesDialog::Combo1_Click);
    picBacks = named(new QLabel, "picBacks");
    picBacks->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Sized here rather than when filled, so that the dialog has room for
    // the picture whichever tab is shown first: the card plus 30 twips.
    const QScreen *where = screen();
    const auto twipsToFit = [where](int pixels) {
        return Twips::toPixels(Twips::fromPixels(pixels, where) + 30, where);
    };
    picBacks->setFixedSize(twipsToFit(cWidth), twipsToFit(cHeight));
    // Lined up with the picture, but never so narrow that a name is cut.
    Combo1->setFixedWidth(qMax(picBacks->width(), Combo1->sizeHint().width()));

    auto *content = new QVBoxLayout;
    content->addWidget(new QLabel(QStringLiteral("Select Card Image")));
    content->addWidget(Combo1, 0, Qt::AlignLeft);
    content->addWidget(picBacks, 0, Qt::AlignLeft);
    content->addStretch();
    return tabHolding(frameWith(content));
}

void PreferencesDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

void PreferencesDialog::Form_Activate()
{
    HScroll1->setValue(prefs.prfScrollVal);
    ckprfAutoDeal->setChecked(prefs.prfAutoDeal);
    (prefs.prfAlwaysShowBestPlay ? opAlwaysShow : opShowOnError)->setChecked(true);
    ckAnimation->setChecked(prefs.prfAnimation);
    ckSounds->setChecked(prefs.prfSound);

    const int position = prefs.prfPKBackFace - CardLibrary::firstBackDesign;
    if (position < 0 || position >= designCount) {
        Alert::show(Alert::procedureError(QStringLiteral("Form_Activate"), QStringLiteral("Invalid property value")));
        return;
    }
    if (Combo1->currentIndex() == position)
        Combo1_Click(); // no change signal, but the preview must still be painted
    else
        Combo1->setCurrentIndex(position);
}

void PreferencesDialog::HScroll1_Change(int value)
{
    prefs.prfAnimationDelay = value >= 500 ? 1000 - value : 6000 - 11 * value;
    Label4->setText(QString::number(prefs.prfAnimationDelay));
}

void PreferencesDialog::Combo1_Click()
{
    const int position = Combo1->currentIndex();
    if (position < 0 || position >= designCount)
        return;
    QPixmap back(picBacks->size());
    back.fill(palette().color(QPalette::Window));
    cdtDraw(&back, 0, 0, position + CardLibrary::firstBackDesign, 1, 0xFFFFFF);
    picBacks->setPixmap(back);
}

void PreferencesDialog::cmdSave_Click()
{
    prefs.prfAutoDeal = ckprfAutoDeal->isChecked();
    prefs.prfAlwaysShowBestPlay = opAlwaysShow->isChecked();
    prefs.prfAnimation = ckAnimation->isChecked();
    prefs.prfSound = ckSounds->isChecked();
    const int position = Combo1->currentIndex();
    if (position >= 0 && position < designCount && position + CardLibrary::firstBackDesign != prefs.prfPKBackFace) {
        prefs.prfPKBackFace = position + CardLibrary::firstBackDesign;
        if (drawDealDeck)
            drawDealDeck();
    }
    prefs.prfScrollVal = int16_t(HScroll1->value());
    accept();
}
