#pragma once

#include <cstdint>
#include <vector>

// SplitMix64: the same numbers on every platform and standard library, so a
// seed names one world everywhere (std:: distributions are not portable).
class Rng
{
public:
    explicit Rng(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // A number in [low, high], both included.
    int between(int low, int high)
    {
        const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low + 1);
        return static_cast<int>(low + static_cast<std::int64_t>(next() % span));
    }

    bool chance(int percent) { return between(1, 100) <= percent; }

    template <typename T> const T &pick(const std::vector<T> &items)
    {
        return items[static_cast<std::size_t>(between(0, static_cast<int>(items.size()) - 1))];
    }

    template <typename T> void shuffle(std::vector<T> &items)
    {
        for (std::size_t i = items.size(); i > 1; --i) {
            const auto j = static_cast<std::size_t>(next() % i);
            std::swap(items[i - 1], items[j]);
        }
    }

private:
    std::uint64_t m_state;
};
