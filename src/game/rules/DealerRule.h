#pragma once

// The dealer stands on every 17 (soft 17 too), draws at 15 or less, and at 16
// draws only when standing would lose to the player's total.
bool dealerDraws(int dealerTotal, int playerTotal);
