#include "reader/digit_network.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {

// Ink between pixel centres (bilinear), 0 outside.
float InkAt(const std::vector<float>& ink, int32_t w, int32_t h, double x, double y)
{
    const double fx = x - 0.5, fy = y - 0.5;
    const int32_t x0 = static_cast<int32_t>(std::floor(fx)), y0 = static_cast<int32_t>(std::floor(fy));
    const double ax = fx - x0, ay = fy - y0;
    auto at = [&](int32_t px, int32_t py) -> double {
        return px < 0 || py < 0 || px >= w || py >= h ? 0.0 : ink[static_cast<size_t>(py) * static_cast<size_t>(w) + static_cast<size_t>(px)];
    };
    return static_cast<float>((1 - ay) * ((1 - ax) * at(x0, y0) + ax * at(x0 + 1, y0)) +
                              ay * ((1 - ax) * at(x0, y0 + 1) + ax * at(x0 + 1, y0 + 1)));
}

// 3 × 3 convolution with a padding of 1, then ReLU, then 2 × 2 max pooling.
std::vector<float> ConvReluPool(const std::vector<float>& in, int channels, int side, const std::vector<float>& weights,
                                const std::vector<float>& bias, int out)
{
    std::vector<float> conv(static_cast<size_t>(out * side * side));
    for (int o = 0; o < out; ++o)
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                float sum = bias[static_cast<size_t>(o)];
                for (int c = 0; c < channels; ++c) {
                    const float* w = &weights[static_cast<size_t>(((o * channels) + c) * 9)];
                    const float* plane = &in[static_cast<size_t>(c * side * side)];
                    for (int ky = 0; ky < 3; ++ky) {
                        const int sy = y + ky - 1;
                        if (sy < 0 || sy >= side) continue;
                        for (int kx = 0; kx < 3; ++kx) {
                            const int sx = x + kx - 1;
                            if (sx < 0 || sx >= side) continue;
                            sum += w[ky * 3 + kx] * plane[sy * side + sx];
                        }
                    }
                }
                conv[static_cast<size_t>((o * side + y) * side + x)] = std::max(sum, 0.0f);
            }
    const int half = side / 2;
    std::vector<float> pooled(static_cast<size_t>(out * half * half));
    for (int o = 0; o < out; ++o)
        for (int y = 0; y < half; ++y)
            for (int x = 0; x < half; ++x) {
                const float* p = &conv[static_cast<size_t>((o * side + 2 * y) * side + 2 * x)];
                pooled[static_cast<size_t>((o * half + y) * half + x)] = std::max({p[0], p[1], p[side], p[side + 1]});
            }
    return pooled;
}

std::vector<float> Dense(const std::vector<float>& in, const std::vector<float>& weights, const std::vector<float>& bias, bool relu)
{
    std::vector<float> out(bias.size());
    for (size_t o = 0; o < out.size(); ++o) {
        float sum = bias[o];
        for (size_t i = 0; i < in.size(); ++i) sum += weights[o * in.size() + i] * in[i];
        out[o] = relu ? std::max(sum, 0.0f) : sum;
    }
    return out;
}

// Channels in and out of each layer: three convolutions, two dense layers.
constexpr int kShapes[5][2] = {{1, 8}, {8, 16}, {16, 32}, {32 * 3 * 3, 64}, {64, 11}};

}  // namespace

TDigitImage NormaliseDigit(const std::vector<float>& ink, int32_t width, int32_t height)
{
    TDigitImage out{};
    int32_t x0 = width, x1 = -1, y0 = height, y1 = -1;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            if (ink[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] > 0.2f) {
                x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    if (x1 < 0) return out;
    ++x1, ++y1;
    const double s = 20.0 / std::max(x1 - x0, y1 - y0);
    double total = 0, cx = 0, cy = 0;
    for (int32_t y = y0; y < y1; ++y)
        for (int32_t x = x0; x < x1; ++x) {
            const double v = ink[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
            total += v, cx += (x + 0.5) * v, cy += (y + 0.5) * v;
        }
    cx /= total, cy /= total;
    const int n = std::min(4, std::max(1, static_cast<int>(std::ceil(1 / s))));
    for (int oy = 0; oy < kDigitSide; ++oy)
        for (int ox = 0; ox < kDigitSide; ++ox) {
            double sum = 0;
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < n; ++j) {
                    const double sx = ox + (j + 0.5) / n, sy = oy + (i + 0.5) / n;
                    sum += InkAt(ink, width, height, cx + (sx - kDigitSide / 2.0) / s, cy + (sy - kDigitSide / 2.0) / s);
                }
            out[static_cast<size_t>(oy * kDigitSide + ox)] = static_cast<float>(std::clamp(sum / (n * n), 0.0, 1.0));
        }
    return out;
}

TDigitNetwork::TDigitNetwork(const std::vector<uint8_t>& weights)
{
    size_t at = 0;
    auto word = [&]() {
        if (at + 4 > weights.size()) throw std::runtime_error("数字を読む重みのファイルが途中で切れています");
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= uint32_t{weights[at + static_cast<size_t>(i)]} << (8 * i);
        at += 4;
        return v;
    };
    if (weights.size() < 8 || std::memcmp(weights.data(), "TVDN", 4) != 0) throw std::runtime_error("数字を読む重みのファイルではありません");
    at = 4;
    if (word() != 1) throw std::runtime_error("数字を読む重みのファイルの版が違います");
    for (size_t l = 0; l < layers_.size(); ++l) {
        TLayer& layer = layers_[l];
        layer.In = kShapes[l][0];
        layer.Out = kShapes[l][1];
        const size_t expected[2] = {static_cast<size_t>(layer.Out) * static_cast<size_t>(layer.In) * (l < 3 ? 9u : 1u),
                                    static_cast<size_t>(layer.Out)};
        for (int part = 0; part < 2; ++part) {
            const uint32_t count = word();
            if (count != expected[part] || at + count * 4u > weights.size())
                throw std::runtime_error("数字を読む重みのファイルの形が違います");
            std::vector<float>& values = part == 0 ? layer.Weights : layer.Bias;
            values.resize(count);
            for (uint32_t i = 0; i < count; ++i) {
                const uint32_t bits = word();
                std::memcpy(&values[i], &bits, 4);
            }
        }
    }
}

TDigitOdds TDigitNetwork::Classify(const TDigitImage& image) const
{
    std::vector<float> x(image.begin(), image.end());
    int side = kDigitSide;
    for (size_t l = 0; l < 3; ++l) {
        x = ConvReluPool(x, layers_[l].In, side, layers_[l].Weights, layers_[l].Bias, layers_[l].Out);
        side /= 2;
    }
    x = Dense(x, layers_[3].Weights, layers_[3].Bias, true);
    x = Dense(x, layers_[4].Weights, layers_[4].Bias, false);
    TDigitOdds odds{};
    const float top = *std::max_element(x.begin(), x.end());
    float sum = 0;
    for (size_t i = 0; i < odds.size(); ++i) sum += odds[i] = std::exp(x[i] - top);
    for (float& p : odds) p /= sum;
    return odds;
}
