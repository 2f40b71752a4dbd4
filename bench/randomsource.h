#pragma once

#include <QtGlobal>

#include <random>

// Random choices for the document generator that come out the same with every
// compiler and standard library: the raw output of mt19937_64 is fixed by the
// C++ standard, the standard distributions are not, so the mapping onto
// ranges is our own.
class RandomSource
{
public:
    explicit RandomSource(quint64 seed);

    quint64 bits64() { return engine(); }
    // Uniform in [0, 1), with 53 random bits.
    double unit();
    // Uniform in [0, bound); 0 when bound is 0.
    quint64 below(quint64 bound);
    // In [low, high], both included.
    qint64 between(qint64 low, qint64 high);
    bool chance(double probability) { return unit() < probability; }

    template<typename T, size_t N> const T &pick(const T (&items)[N]) { return items[below(N)]; }

private:
    std::mt19937_64 engine;
};
