#include "randomsource.h"

RandomSource::RandomSource(quint64 seed)
    : engine(seed)
{
}

double RandomSource::unit()
{
    return double(engine() >> 11) * 0x1.0p-53;
}

quint64 RandomSource::below(quint64 bound)
{
    // Multiplying the unit value keeps the mapping exact for the small bounds
    // used here; a bound above 2^53 would leave some values out.
    return bound == 0 ? 0 : quint64(unit() * double(bound));
}

qint64 RandomSource::between(qint64 low, qint64 high)
{
    return low + qint64(below(quint64(high - low) + 1));
}
