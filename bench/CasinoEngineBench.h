#pragma once

// Casino engine figures: the CPU of a derived chart for 1, 2, 6 and 8 decks,
// and the live odds (every play's value) of hands from a 6-deck shoe with up
// to 150 cards gone: first two-card hands, and later decisions.
void benchCasinoEngine();
