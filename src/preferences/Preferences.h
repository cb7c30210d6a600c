#pragma once
#include <QString>
#include <cstdint>
#include <optional>

class SettingsStore;

// The player's stored preferences, read when the table is created and
// written back when it closes. Window positions are twips; they are held
// in 32 bits so that any screen position survives a round trip.
struct Preferences {
    int32_t prfChartX = 0;
    int32_t prfChartY = 0;
    int32_t prfPKBackFace = 0;
    bool prfAnimation = false;
    bool prfSound = false;
    int32_t prfAnimationDelay = 0;
    int16_t prfScrollVal = 0;
    bool prfAutoDeal = false;
    bool prfAlwaysShowBestPlay = false;
    QString prfPKBackground;
    int32_t prfCardOutlineColor = 0;
    int32_t prfBannerDelay = 0;

    bool delayUnmeasured = false; // no animation delay measured yet

    // Reads every key but the main window's position, in the stored order.
    // A key that fails shows "initialize" + description and takes its
    // default; the other keys are still read. A stored file the store
    // left unread is reported here, once. An animation delay beyond 32 bits
    // reads as the nearest value the field holds, without a message.
    void load(SettingsStore &store);

    struct WindowPosition { int32_t x; int32_t y; };
    // The main window's stored position (twips); -1 means none. A value
    // that is not numeric reads as 0; one out of range shows
    // "Error  in  Form_Load (  Overflow  )" and reads as -1.
    static WindowPosition loadMainScreen(SettingsStore &store);

    // Writes at exit. A position is written only when its window was in the
    // normal state (pass std::nullopt otherwise). Returns false, after
    // showing "Error  in  Form_Unload (  ...  )", when the store could not be
    // written; what was stored before stays stored.
    bool save(SettingsStore &store, std::optional<WindowPosition> chartWindow,
              std::optional<WindowPosition> mainWindow) const;
};
