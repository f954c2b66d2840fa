#include "TRandom.h"

TRandom& GameRandom() {
    static TRandom generator;
    return generator;
}
