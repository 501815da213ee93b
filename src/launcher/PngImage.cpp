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

} // namespace tramble
