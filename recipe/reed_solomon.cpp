#include "recipe/reed_solomon.h"

#include <array>
#include <stdexcept>

namespace {

// Exponents and logarithms of the field, α = 2.
struct TField {
    std::array<uint8_t, 512> Exp{};
    std::array<int, 256> Log{};
    TField()
    {
        int x = 1;
        for (int i = 0; i < 255; ++i) {
            Exp[static_cast<size_t>(i)] = static_cast<uint8_t>(x);
            Log[static_cast<size_t>(x)] = i;
            x <<= 1;
            if (x & 0x100) x ^= 0x11d;
        }
        for (size_t i = 255; i < Exp.size(); ++i) Exp[i] = Exp[i - 255];
    }
    uint8_t Mul(uint8_t a, uint8_t b) const
    {
        return a && b ? Exp[static_cast<size_t>(Log[a] + Log[b])] : 0;
    }
    uint8_t Div(uint8_t a, uint8_t b) const
    {
        if (!b) throw std::domain_error("division by zero in GF(256)");
        return a ? Exp[static_cast<size_t>(Log[a] + 255 - Log[b])] : 0;
    }
    uint8_t Pow(int e) const { return Exp[static_cast<size_t>(((e % 255) + 255) % 255)]; }
};

const TField& Field()
{
    static const TField field;
    return field;
}

// A polynomial, highest power first, evaluated at x.
uint8_t Evaluate(const std::vector<uint8_t>& p, uint8_t x)
{
    const TField& f = Field();
    uint8_t y = 0;
    for (const uint8_t c : p) y = static_cast<uint8_t>(f.Mul(y, x) ^ c);
    return y;
}

// (x − α⁰)(x − α¹)…(x − α^(n−1)), highest power first.
std::vector<uint8_t> Generator(int n)
{
    const TField& f = Field();
    std::vector<uint8_t> g{1};
    for (int i = 0; i < n; ++i) {
        std::vector<uint8_t> next(g.size() + 1, 0);
        for (size_t j = 0; j < g.size(); ++j) {
            next[j] ^= g[j];
            next[j + 1] ^= f.Mul(g[j], f.Pow(i));
        }
        g = std::move(next);
    }
    return g;
}

}  // namespace

std::vector<uint8_t> ReedSolomonParity(const std::vector<uint8_t>& data, int parity)
{
    const TField& f = Field();
    const std::vector<uint8_t> g = Generator(parity);
    std::vector<uint8_t> rest(static_cast<size_t>(parity), 0);
    for (const uint8_t d : data) {
        const uint8_t factor = static_cast<uint8_t>(d ^ rest[0]);
        rest.erase(rest.begin());
        rest.push_back(0);
        for (size_t j = 0; j < rest.size(); ++j) rest[j] ^= f.Mul(g[j + 1], factor);
    }
    return rest;
}

std::optional<std::vector<uint8_t>> ReedSolomonCorrect(std::vector<uint8_t> block, int parity)
{
    const TField& f = Field();
    const int n = static_cast<int>(block.size());
    if (parity <= 0 || n > 255 || parity >= n) return std::nullopt;
    // Syndromes S_i = block(α^i).
    std::vector<uint8_t> syndromes(static_cast<size_t>(parity));
    bool clean = true;
    for (int i = 0; i < parity; ++i) {
        syndromes[static_cast<size_t>(i)] = Evaluate(block, f.Pow(i));
        clean = clean && syndromes[static_cast<size_t>(i)] == 0;
    }
    if (clean) return block;
    // Berlekamp–Massey: the error locator Λ, lowest power first.
    std::vector<uint8_t> locator{1}, previous{1};
    int errors = 0, shift = 1;
    uint8_t lastDiscrepancy = 1;
    for (int k = 0; k < parity; ++k) {
        uint8_t delta = syndromes[static_cast<size_t>(k)];
        for (int j = 1; j <= errors && j < static_cast<int>(locator.size()); ++j)
            delta ^= f.Mul(locator[static_cast<size_t>(j)], syndromes[static_cast<size_t>(k - j)]);
        if (delta == 0) {
            ++shift;
            continue;
        }
        std::vector<uint8_t> next = locator;
        const uint8_t scale = f.Div(delta, lastDiscrepancy);
        if (next.size() < previous.size() + static_cast<size_t>(shift)) next.resize(previous.size() + static_cast<size_t>(shift), 0);
        for (size_t j = 0; j < previous.size(); ++j) next[j + static_cast<size_t>(shift)] ^= f.Mul(scale, previous[j]);
        if (2 * errors <= k) {
            previous = locator;
            errors = k + 1 - errors;
            lastDiscrepancy = delta;
            shift = 1;
        } else {
            ++shift;
        }
        locator = std::move(next);
    }
    while (locator.size() > 1 && locator.back() == 0) locator.pop_back();
    if (static_cast<int>(locator.size()) - 1 != errors || 2 * errors > parity) return std::nullopt;
    // Chien search: position p (from the end) is wrong where Λ(α^−p) = 0.
    std::vector<int> positions;
    for (int p = 0; p < n; ++p) {
        uint8_t sum = 0;
        for (size_t j = 0; j < locator.size(); ++j) sum ^= f.Mul(locator[j], f.Pow(-p * static_cast<int>(j)));
        if (sum == 0) positions.push_back(p);
    }
    if (static_cast<int>(positions.size()) != errors) return std::nullopt;
    // Forney: Ω = S·Λ mod x^parity; the error at X = α^p is X·Ω(X⁻¹)/Λ'(X⁻¹).
    std::vector<uint8_t> omega(static_cast<size_t>(parity), 0);
    for (int i = 0; i < parity; ++i)
        for (size_t j = 0; j < locator.size() && static_cast<int>(j) <= i; ++j)
            omega[static_cast<size_t>(i)] ^= f.Mul(syndromes[static_cast<size_t>(i) - j], locator[j]);
    for (const int p : positions) {
        uint8_t numerator = 0, denominator = 0;
        for (int i = 0; i < parity; ++i) numerator ^= f.Mul(omega[static_cast<size_t>(i)], f.Pow(-p * i));
        for (size_t j = 1; j < locator.size(); j += 2) denominator ^= f.Mul(locator[j], f.Pow(-p * static_cast<int>(j - 1)));
        if (denominator == 0) return std::nullopt;
        const uint8_t magnitude = f.Mul(f.Pow(p), f.Div(numerator, denominator));
        block[static_cast<size_t>(n - 1 - p)] ^= magnitude;
    }
    for (int i = 0; i < parity; ++i)
        if (Evaluate(block, f.Pow(i)) != 0) return std::nullopt;
    return block;
}
