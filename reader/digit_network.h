// The digit reader's network: a digit's ink, normalised as it was trained
// (NormaliseDigit), to the probabilities of 0 to 9 and of "not a digit".
// Its weights ship in the program (reader/model/digits.weights, made by
// reader/model/train_digits.py); the forward pass is here. Pure C++.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

inline constexpr int kDigitSide = 28;
inline constexpr int kNotADigit = 10;
using TDigitImage = std::array<float, kDigitSide * kDigitSide>;
using TDigitOdds = std::array<float, 11>;

// A digit's ink (0 paper to 1 ink, `width` × `height`, row by row) scaled so
// that its ink box is 20 pixels on its longer side, its centre of mass in
// the middle of 28 × 28; all 0 without ink.
TDigitImage NormaliseDigit(const std::vector<float>& ink, int32_t width, int32_t height);

class TDigitNetwork {
public:
    // The network of these weights (the file's bytes); std::runtime_error
    // for bytes that are not the weights of this network.
    explicit TDigitNetwork(const std::vector<uint8_t>& weights);
    // The network that ships with the program.
    static const TDigitNetwork& Shipped();
    // The probabilities of 0 … 9 and of kNotADigit, summing to 1.
    TDigitOdds Classify(const TDigitImage& image) const;

private:
    struct TLayer {
        int In, Out;
        std::vector<float> Weights, Bias;
    };
    std::array<TLayer, 5> layers_;
};
