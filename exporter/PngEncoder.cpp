#include "exporter/PngEncoder.h"

#include <stb_image_write.h>

namespace exporter {

namespace {
void append(void* context, void* data, int size)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}
} // namespace

std::vector<std::uint8_t> encodePng(std::int32_t width, std::int32_t height,
                                    const std::vector<std::uint8_t>& rgba)
{
    std::vector<std::uint8_t> png;
    constexpr int Channels = 4;
    if (width <= 0 || height <= 0 ||
        rgba.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4)
        return png;
    if (!stbi_write_png_to_func(append, &png, width, height, Channels, rgba.data(),
                                width * Channels))
        png.clear();
    return png;
}

} // namespace exporter
