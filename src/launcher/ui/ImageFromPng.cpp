#include "launcher/ui/ImageFromPng.h"

#include "launcher/PngImage.h"

namespace tramble {

QImage ImageFromPng(std::string_view png)
{
    const std::optional<TRgbaImage> image = DecodePng(png);
    if (!image)
        return {};
    return QImage(image->Pixels.data(), image->Width, image->Height, QImage::Format_RGBA8888).copy();
}

} // namespace tramble
