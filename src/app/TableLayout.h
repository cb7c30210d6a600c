#pragma once
#include <QRect>

// Where the table's fixed controls lie, in pixels of the window's client
// area. The table picture is painted to match: its button faces sit under
// the action labels, so both read these numbers.
namespace TableLayout {
constexpr int pictureWidth = 640;
constexpr int pictureHeight = 400;
constexpr int statusBarHeight = 64;   // a 468 x 60 banner inside a thin frame
constexpr int bannerWidth = 468;
constexpr int bannerHeight = 60;
constexpr int borderThickness = 12;   // each of the four border strips

constexpr QRect hitButton{484, 176, 124, 34};
constexpr QRect standButton{484, 218, 124, 34};
constexpr QRect doubleButton{484, 260, 124, 34};
constexpr QRect splitButton{484, 302, 124, 34};
// A casino table's fifth action, above the other four, and the line that
// names its rules across the foot of its felt.
constexpr QRect surrenderButton{484, 134, 124, 34};
constexpr QRect feltCaption{30, 356, 580, 14};

constexpr QRect status{40, 200, 420, 30};
constexpr QRect bankCaption{470, 40, 150, 18};
constexpr QRect bank{470, 58, 150, 34};
constexpr QRect dealerCaption{30, 96, 86, 18};
constexpr QRect dealerTotal{30, 114, 86, 34};
constexpr QRect dealerStake{30, 150, 86, 20};
constexpr QRect playerCaption{334, 262, 110, 18};
constexpr QRect playerTotal{334, 280, 110, 34};
constexpr QRect playerStake{334, 316, 110, 20};
}
