#include "DealerRule.h"

bool dealerDraws(int dealerTotal, int playerTotal)
{
    if (dealerTotal >= 17)
        return false;
    if (dealerTotal == 16)
        return playerTotal > 16;
    return true;
}
