#pragma once
#include <QLatin1String>

// The web pages the menus, the banner strip, the splash and the About box
// open. They lead to strategy advice and help with problem gambling, never
// to a gambling operator.
struct SponsorPage {
    QLatin1String caption; // the Casinos menu entry that opens it
    QLatin1String address;
};

namespace SponsorPages {
inline constexpr SponsorPage page1{QLatin1String("Basic Strategy Guide"),
                                   QLatin1String("https://en.wikipedia.org/wiki/Blackjack#Basic_strategy")};
inline constexpr SponsorPage page2{QLatin1String("Play Responsibly"),
                                   QLatin1String("https://www.begambleaware.org/")};
inline constexpr SponsorPage page3{QLatin1String("Problem Gambling Help"),
                                   QLatin1String("https://www.ncpgambling.org/")};

// The two Specials entries; both open page 3.
inline constexpr QLatin1String bonusCaption("Sign up Bonus Up to  $200");
inline constexpr QLatin1String secondSpecialCaption("Free Confidential Help");

// The address shown and opened by the About box.
inline constexpr QLatin1String aboutLink("https://en.wikipedia.org/wiki/Blackjack");
}
