#include "core/preview/dib.h"

#include "core/preview/canvas.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace kalvo {

namespace {

std::array<TColour, 256> MakePalette()
{
    std::array<TColour, 256> palette{};
    for (int i = 0; i < 256; ++i) {
        // Truncated: 7 * 36.5 = 255.5 gives 255.
        const auto red = static_cast<TColour>((i % 8) * 36.5);
        const auto green = static_cast<TColour>(((i / 8) % 8) * 36.5);
        const auto blue = static_cast<TColour>((i / 64) * 85);
        palette[i] = red | (green << 8) | (blue << 16);
    }
    return palette;
}

} // namespace

TDIB& TDIB::operator=(TDIB&& other) noexcept
{
    if (this != &other) {
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        hasColour_ = std::exchange(other.hasColour_, false);
        hasDepth_ = std::exchange(other.hasDepth_, false);
        pixels_ = std::move(other.pixels_);
        depth_ = std::move(other.depth_);
    }
    return *this;
}

void TDIB::Allocate(int width, int height, bool withColour, bool withDepth)
{
    pixels_.reset();
    depth_.reset();
    width_ = width;
    height_ = height;
    hasColour_ = false;
    hasDepth_ = false;
    if (width < 0 || height < 0)
        return;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    // A buffer that cannot be had stays absent; every operation on it then does nothing.
    if (withColour) {
        try {
            pixels_ = std::make_unique_for_overwrite<std::uint8_t[]>(count);
            hasColour_ = true;
        } catch (const std::bad_alloc&) {
        }
    }
    if (withDepth) {
        try {
            depth_ = std::make_unique_for_overwrite<float[]>(count);
            hasDepth_ = true;
        } catch (const std::bad_alloc&) {
        }
    }
}

void TDIB::Release()
{
    pixels_.reset();
    depth_.reset();
    hasColour_ = false;
    hasDepth_ = false;
}

void TDIB::SetSize(int width, int height, bool withColour, bool withDepth)
{
    if (width == width_ && height == height_ && withColour == hasColour_ && withDepth == hasDepth_)
        return;
    Release();
    Allocate(width, height, withColour, withDepth);
}

void TDIB::Fill(TColour colour)
{
    if (!hasColour_)
        return;
    const int red = colour & 0xFF;
    const int green = (colour >> 8) & 0xFF;
    const int blue = (colour >> 16) & 0xFF;
    const auto index = static_cast<std::uint8_t>(red / 36 + 8 * (green / 36) + 64 * (blue / 85));
    std::memset(pixels_.get(), index, static_cast<std::size_t>(width_) * height_);
}

void TDIB::SetPixel(int x, int y, TColour colour)
{
    if (!hasColour_ || !Inside(x, y))
        return;
    pixels_[At(x, y)] = DitheredIndex(x, y, colour);
}

std::uint8_t TDIB::GetIndex(int x, int y) const
{
    if (!hasColour_ || !Inside(x, y))
        return 0;
    return pixels_[At(x, y)];
}

// One value set, then copied forward in doubling blocks: a handful of block copies whatever
// the optimiser does with a plain loop.
void TDIB::ClearDepth()
{
    if (!hasDepth_)
        return;
    const std::size_t count = static_cast<std::size_t>(width_) * height_;
    if (count == 0)
        return;
    float* depth = depth_.get();
    depth[0] = -1.0f;
    std::size_t done = 1;
    while (done < count) {
        const std::size_t block = std::min(done, count - done);
        std::memcpy(depth + done, depth, block * sizeof(float));
        done += block;
    }
}

double TDIB::GetDepth(int x, int y) const
{
    if (!hasDepth_ || !Inside(x, y))
        return 0.0;
    return depth_[At(x, y)];
}

void TDIB::SetDepth(int x, int y, double value)
{
    if (!hasDepth_ || !Inside(x, y))
        return;
    depth_[At(x, y)] = static_cast<float>(value);
}

void TDIB::Draw(TCanvas& canvas, int x, int y, int width, int height) const
{
    if (!hasColour_)
        return;
    const std::array<TColour, 256>& palette = Palette();
    const long long left = std::max<long long>({x, 0LL});
    const long long top = std::max<long long>({y, 0LL});
    const long long right =
        std::min<long long>({static_cast<long long>(x) + width, width_, canvas.Width()});
    const long long bottom =
        std::min<long long>({static_cast<long long>(y) + height, height_, canvas.Height()});
    std::uint32_t* out = canvas.Pixels();
    for (long long row = top; row < bottom; ++row) {
        const std::uint8_t* in = pixels_.get() + row * width_;
        std::uint32_t* dest = out + row * canvas.Width();
        for (long long column = left; column < right; ++column)
            dest[column] = palette[in[column]];
    }
}

const std::array<TColour, 256>& TDIB::Palette()
{
    static const std::array<TColour, 256> palette = MakePalette();
    return palette;
}

} // namespace kalvo
