// Writes a contact sheet of the tray's pictures as a PNG file: the menu
// pictures, then the 44 weather pictures, each enlarged four times, on a
// light and on a dark ground.
#include "launcher/PngImage.h"
#include "tray/TrayPictures.h"

#include <cstdio>
#include <fstream>
#include <vector>

namespace {

using namespace tramble;

constexpr int kScale = 4;
constexpr int kCell = TTrayCanvas::kSize * kScale + 8;
constexpr int kColumns = 11;

void Put(TRgbaImage& sheet, const TTrayCanvas& picture, int left, int top, uint32_t ground)
{
    for (int y = 0; y < TTrayCanvas::kSize * kScale; ++y) {
        for (int x = 0; x < TTrayCanvas::kSize * kScale; ++x) {
            const TArgb p = picture.Pixel(x / kScale, y / kScale);
            const uint32_t rgba = p >> 24 ? (p << 8 | 0xFF) : ground;
            sheet.SetPixel(left + x, top + y, rgba);
        }
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <sheet.png>\n", argv[0]);
        return 2;
    }
    std::vector<const TTrayCanvas*> pictures;
    for (const int n : {15, 16, 17, 20, 21, 22, 23, 28, 30, 35})
        pictures.push_back(&MenuPicture(n));
    const size_t menuCount = pictures.size();
    for (int i = 0; i < kWeatherPictureCount; ++i)
        pictures.push_back(&WeatherPicture(i));

    const int rows = 1 + (kWeatherPictureCount + kColumns - 1) / kColumns;
    TRgbaImage sheet(kColumns * kCell, rows * kCell * 2);
    for (int y = 0; y < sheet.Height; ++y) {
        for (int x = 0; x < sheet.Width; ++x)
            sheet.SetPixel(x, y, 0x808080FF);
    }
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int slot = i < menuCount ? static_cast<int>(i) : static_cast<int>(kColumns + i - menuCount);
        const int left = slot % kColumns * kCell + 4;
        const int top = slot / kColumns * kCell + 4;
        Put(sheet, *pictures[i], left, top, 0xF0F0F0FF);
        Put(sheet, *pictures[i], left, top + rows * kCell, 0x202830FF);
    }
    const std::string png = EncodePng(sheet);
    std::ofstream(argv[1], std::ios::binary) << png;
    return png.empty() ? 1 : 0;
}
