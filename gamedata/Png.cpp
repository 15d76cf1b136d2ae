#include "gamedata/Png.h"

#include "gamedata/Tcache.h"

#include <algorithm>
#include <array>
#include <climits>
#include <stb_image.h>
#include <stb_image_write.h>

namespace gamedata {

namespace {
void append(void* context, void* data, int size)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

constexpr std::array<std::uint8_t, 8> PngSignature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr int Channels = 4;
} // namespace

std::vector<std::uint8_t> encodePng(std::int32_t width, std::int32_t height,
                                    const std::vector<std::uint8_t>& rgba)
{
    std::vector<std::uint8_t> png;
    if (width <= 0 || height <= 0 ||
        rgba.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4)
        return png;
    if (!stbi_write_png_to_func(append, &png, width, height, Channels, rgba.data(),
                                width * Channels))
        png.clear();
    return png;
}

PngRead decodePng(shipfile::Bytes file)
{
    if (file.size() < PngSignature.size() || file.size() > INT_MAX ||
        !std::equal(PngSignature.begin(), PngSignature.end(), file.begin()))
        return {PngFailure::NotPng, {}};
    const int length = static_cast<int>(file.size());
    int width = 0;
    int height = 0;
    int channels = 0;
    if (!stbi_info_from_memory(file.data(), length, &width, &height, &channels))
        return {PngFailure::NotPng, {}};
    if (width <= 0 || height <= 0 || width > MaxTextureSide || height > MaxTextureSide ||
        std::int64_t{width} * height > MaxTexturePixels)
        return {PngFailure::TooLarge, {}};

    stbi_uc* pixels =
        stbi_load_from_memory(file.data(), length, &width, &height, &channels, Channels);
    if (!pixels)
        return {PngFailure::NotPng, {}};
    PngRead out;
    out.picture.width = width;
    out.picture.height = height;
    const std::size_t size =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * Channels;
    out.picture.rgba.assign(pixels, pixels + size);
    stbi_image_free(pixels);
    return out;
}

} // namespace gamedata
