#include "Preferences.h"
#include "Alert.h"
#include "NumericText.h"
#include "SettingsStore.h"
#include <limits>

namespace {
const int32_t firstBackDesign = 53;
const int32_t lastBackDesign = 65;

using Report = QString (*)(const QString &description);

QString initializeError(const QString &description)
{
    return QStringLiteral("initialize") + description;
}

QString formLoadError(const QString &description)
{
    return Alert::procedureError(QStringLiteral("Form_Load"), description);
}

// Reads one key. A text that fails to convert is reported and replaced by
// the key's default, so one bad key cannot spoil the keys after it.
template <typename Parse>
auto readKey(SettingsStore &store, Report report, const char *key, const char *defaultText, Parse parse)
{
    const QString fallback = QLatin1String(defaultText);
    try {
        return parse(store.read(QLatin1String(key), fallback));
    } catch (const ConversionError &error) {
        Alert::show(report(error.description));
        return parse(fallback);
    }
}

bool readBoolean(SettingsStore &store, const char *key)
{
    return store.read(QLatin1String(key), QStringLiteral("True")) != QLatin1String("False");
}

// Positions: numeric text converts (32 bits, twips), other text reads as 0.
int32_t parsePosition(const QString &text)
{
    return NumericText::isNumeric(text) ? NumericText::toInt32(text) : 0;
}

int32_t parseOutlineColor(const QString &text)
{
    const int32_t green = 65280;
    return NumericText::isNumeric(text) ? NumericText::toInt32(text) : green;
}

// 0 means "the default back"; anything else must name one of the designs
// the card library draws.
int32_t parseBackFace(const QString &text)
{
    const std::optional<double> number = NumericText::value(text);
    if (number && *number == 0)
        return lastBackDesign;
    const int32_t design = NumericText::toInt32(text);
    if (design < firstBackDesign || design > lastBackDesign)
        throw ConversionError{QStringLiteral("Invalid card back design")};
    return design;
}

// A delay beyond 32 bits reads as the nearest one the field holds: the
// table then measures a long one again with the message any delay too long
// gets, and a negative one reads as not measured, as any negative one does.
int32_t parseAnimationDelay(const QString &text)
{
    const std::optional<double> number = NumericText::value(text);
    if (number && *number > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (number && *number < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return NumericText::toInt32(text);
}

int16_t parseScrollValue(const QString &text)
{
    return text.isEmpty() ? int16_t(0) : NumericText::toInt16(text);
}
}

void Preferences::load(SettingsStore &store)
{
    if (!store.refusal().isEmpty())
        Alert::show(QStringLiteral("The settings file %1 cannot be read (%2); the default preferences are used.")
                        .arg(store.fileName(), store.refusal()));
    prfChartX = readKey(store, initializeError, "prfChartX", "-1", parsePosition);
    prfChartY = readKey(store, initializeError, "prfChartY", "-1", parsePosition);
    prfCardOutlineColor = readKey(store, initializeError, "prfCardOutlineColor", "&H0000FF00&", parseOutlineColor);
    prfPKBackFace = readKey(store, initializeError, "prfPKBackFace", "65", parseBackFace);
    prfAlwaysShowBestPlay = readBoolean(store, "prfAlwaysShowBestPlay");
    prfAutoDeal = readBoolean(store, "prfAutoDeal");
    prfAnimation = readBoolean(store, "prfAnimation");
    prfSound = readBoolean(store, "prfSound");
    prfAnimationDelay = readKey(store, initializeError, "prfAnimationDelay", "-1", parseAnimationDelay);
    delayUnmeasured = prfAnimationDelay < 0;
    prfBannerDelay = readKey(store, initializeError, "prfBannerDelay", "0", NumericText::toInt32);
    prfPKBackground = QStringLiteral("bjwood.jpg");
    prfScrollVal = readKey(store, initializeError, "prfScrollVal", "0", parseScrollValue);
}

Preferences::WindowPosition Preferences::loadMainScreen(SettingsStore &store)
{
    // Read while the main window loads, so a failure carries its name.
    WindowPosition position;
    position.x = readKey(store, formLoadError, "prfMainScreenX", "-1", parsePosition);
    position.y = readKey(store, formLoadError, "prfMainScreenY", "-1", parsePosition);
    return position;
}

bool Preferences::save(SettingsStore &store, std::optional<WindowPosition> chartWindow,
                       std::optional<WindowPosition> mainWindow) const
{
    auto writeNumber = [&store](const char *key, int32_t value) {
        store.write(QLatin1String(key), QString::number(value));
    };
    auto writeBoolean = [&store](const char *key, bool value) {
        store.write(QLatin1String(key), value ? QStringLiteral("True") : QStringLiteral("False"));
    };
    if (chartWindow) {
        writeNumber("prfChartX", chartWindow->x);
        writeNumber("prfChartY", chartWindow->y);
    }
    if (mainWindow) {
        writeNumber("prfMainScreenX", mainWindow->x);
        writeNumber("prfMainScreenY", mainWindow->y);
    }
    writeNumber("prfCardOutlineColor", prfCardOutlineColor);
    writeNumber("prfScrollVal", prfScrollVal);
    if (prfPKBackFace != 0)
        writeNumber("prfPKBackFace", prfPKBackFace);
    writeBoolean("prfAlwaysShowBestPlay", prfAlwaysShowBestPlay);
    writeBoolean("prfAutoDeal", prfAutoDeal);
    writeBoolean("prfAnimation", prfAnimation);
    writeBoolean("prfSound", prfSound);
    writeNumber("prfAnimationDelay", prfAnimationDelay);
    writeNumber("prfBannerDelay", prfBannerDelay);
    if (store.commit())
        return true;
    Alert::show(Alert::procedureError(QStringLiteral("Form_Unload"), QStringLiteral("Permission denied")));
    return false;
}
