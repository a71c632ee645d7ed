#include "core/template/template_stretch.h"

#include "core/preview/canvas.h"
#include "core/template/template_mapping.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace kalvo {

namespace {

// One target pixel's share of the source pixels along one axis.
struct TTap
{
    int First = 0;              // first source pixel
    std::vector<float> Weights; // for First, First + 1, ...
};

// The box each target pixel covers in the source, never narrower than one source pixel, so
// that shrinking averages and enlarging interpolates between neighbours. Weights sum to 1.
std::vector<TTap> AxisTaps(int sourceSize, int targetSize)
{
    std::vector<TTap> taps(static_cast<std::size_t>(targetSize));
    const double step = static_cast<double>(sourceSize) / targetSize;
    const double half = std::max(step, 1.0) / 2.0;
    for (int i = 0; i < targetSize; ++i) {
        const double centre = (i + 0.5) * step;
        const double lo = std::max(0.0, centre - half);
        const double hi = std::min(static_cast<double>(sourceSize), centre + half);
        const int first = std::clamp(static_cast<int>(std::floor(lo)), 0, sourceSize - 1);
        const int last = std::clamp(static_cast<int>(std::ceil(hi)) - 1, first, sourceSize - 1);
        TTap& tap = taps[static_cast<std::size_t>(i)];
        tap.First = first;
        double total = 0.0;
        for (int k = first; k <= last; ++k) {
            const double w = std::max(0.0, std::min(hi, k + 1.0) - std::max(lo, double(k)));
            tap.Weights.push_back(static_cast<float>(w));
            total += w;
        }
        if (total <= 0.0) {
            tap.Weights.assign(tap.Weights.size(), 0.0f);
            tap.Weights[0] = 1.0f;
            continue;
        }
        for (float& w : tap.Weights)
            w = static_cast<float>(w / total);
    }
    return taps;
}

TColour Channel(float value, int shift)
{
    return static_cast<TColour>(std::clamp(NearestInt(value), 0, 255)) << shift;
}

} // namespace

void StretchPicture(const TCanvas& picture, TCanvas& target)
{
    const int sw = picture.Width(), sh = picture.Height();
    const int tw = target.Width(), th = target.Height();
    if (sw <= 0 || sh <= 0 || tw <= 0 || th <= 0)
        return;
    const std::vector<TTap> columns = AxisTaps(sw, tw);
    const std::vector<TTap> rows = AxisTaps(sh, th);

    // Across first: every source row resampled to the target width, three channels.
    std::vector<float> across(static_cast<std::size_t>(tw) * sh * 3);
    for (int y = 0; y < sh; ++y) {
        const std::uint32_t* source = picture.Pixels() + static_cast<std::size_t>(y) * sw;
        float* out = across.data() + static_cast<std::size_t>(y) * tw * 3;
        for (int x = 0; x < tw; ++x) {
            const TTap& tap = columns[static_cast<std::size_t>(x)];
            float r = 0, g = 0, b = 0;
            for (std::size_t k = 0; k < tap.Weights.size(); ++k) {
                const TColour c = source[static_cast<std::size_t>(tap.First) + k];
                const float w = tap.Weights[k];
                r += w * static_cast<float>(c & 0xFF);
                g += w * static_cast<float>((c >> 8) & 0xFF);
                b += w * static_cast<float>((c >> 16) & 0xFF);
            }
            out[3 * x] = r;
            out[3 * x + 1] = g;
            out[3 * x + 2] = b;
        }
    }
    // Then down, straight into the target.
    for (int y = 0; y < th; ++y) {
        const TTap& tap = rows[static_cast<std::size_t>(y)];
        std::uint32_t* out = target.Pixels() + static_cast<std::size_t>(y) * tw;
        for (int x = 0; x < tw; ++x) {
            float r = 0, g = 0, b = 0;
            for (std::size_t k = 0; k < tap.Weights.size(); ++k) {
                const float* in = across.data() + ((static_cast<std::size_t>(tap.First) + k) * tw +
                                                   static_cast<std::size_t>(x)) *
                                                      3;
                const float w = tap.Weights[k];
                r += w * in[0];
                g += w * in[1];
                b += w * in[2];
            }
            out[x] = Channel(r, 0) | Channel(g, 8) | Channel(b, 16);
        }
    }
}

} // namespace kalvo
