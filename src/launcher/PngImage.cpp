#include "launcher/PngImage.h"

#include <png.h>

namespace tramble {

std::string EncodePng(const TRgbaImage& image)
{
    if (image.Width <= 0 || image.Height <= 0)
        return {};
    png_image info{};
    info.version = PNG_IMAGE_VERSION;
    info.width = static_cast<png_uint_32>(image.Width);
    info.height = static_cast<png_uint_32>(image.Height);
    info.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(info, size, 0, image.Pixels.data(), 0, nullptr))
        return {};
    std::string out(size, '\0');
    if (!png_image_write_to_memory(&info, out.data(), &size, 0, image.Pixels.data(), 0, nullptr))
        return {};
    out.resize(size);
    return out;
}

std::optional<TRgbaImage> DecodePng(std::string_view png)
{
    png_image info{};
    info.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&info, png.data(), png.size()))
        return std::nullopt;
    info.format = PNG_FORMAT_RGBA;
    if (info.width == 0 || info.height == 0 || info.width > 4096 || info.height > 4096) {
        png_image_free(&info);
        return std::nullopt;
    }
    TRgbaImage image(static_cast<int>(info.width), static_cast<int>(info.height));
    if (!png_image_finish_read(&info, nullptr, image.Pixels.data(), 0, nullptr)) {
        png_image_free(&info);
        return std::nullopt;
    }
    return image;
}

} // namespace tramble
