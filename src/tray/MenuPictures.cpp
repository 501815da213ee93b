// The menu pictures the tray draws, as pixel art: one letter per pixel.
#include "tray/TrayPictures.h"

#include <array>
#include <map>

namespace tramble {
namespace {

TArgb PaletteColor(char letter)
{
    switch (letter) {
    case 'k': return 0xFF000000;
    case 'g': return 0xFF404040;
    case 'a': return 0xFF808080;
    case 's': return 0xFFC0C0C0;
    case 'w': return 0xFFFFFFFF;
    case 'r': return 0xFFE02020;
    case 'b': return 0xFF2A62D4;
    case 'B': return 0xFF1A3F8F;
    case 'n': return 0xFF22A04A;
    case 'e': return 0xFFD4A017;
    case 'm': return 0xFF2B2B2B;
    case 'R': return 0xFFF05050;
    case 'O': return 0xFFF8B040;
    case 'G': return 0xFF50C060;
    case 'C': return 0xFF40C0F0;
    default: return kTransparent;
    }
}

using TArt = std::array<const char*, TTrayCanvas::kSize>;

// clang-format off
const std::map<int, TArt> kArt{
    {15,
     {"................",
      "................",
      "................",
      "kkkkkkkkkkkkkk..",
      "kwwwwwrrwwwwwk..",
      "kwwwwrwwrwwwwk..",
      "kwwwwwwwrwwwwkkk",
      "kwwwwwwrwwwwwkkk",
      "kwwwwwrwwwwwwkkk",
      "kwwwwwwwwwwwwkkk",
      "kwwwwwrwwwwwwk..",
      "kwwwwwwwwwwwwk..",
      "kkkkkkkkkkkkkk..",
      "................",
      "................",
      "................"}},
    {16,
     {"................",
      "................",
      "................",
      "................",
      "................",
      "................",
      "................",
      "................",
      "................",
      ".kkkkkkkkkkkkkk.",
      "kssssssssssssssk",
      "kwwwwwwwwwwwwwwk",
      "kaaaaaaaaaaaaaak",
      "ksssssssssssnnsk",
      "kaaaaaaaaaaaaaak",
      ".kkkkkkkkkkkkkk."}},
    {17,
     {"....e.e..e.e....",
      "....e.e..e.e....",
      "..kkkkkkkkkkkk..",
      "..kmmmmmmmmmmk..",
      "eekmsmmmmmmmmkee",
      "..kmmmmmmmmmmk..",
      "eekmmmmmmmmmmkee",
      "..kmmmmmmmmmmk..",
      "..kmmmmmmmmmmk..",
      "eekmmmmmmmmmmkee",
      "..kmmmmmmmmmmk..",
      "eekmmmmmmmmmmkee",
      "..kmmmmmmmmmmk..",
      "..kkkkkkkkkkkk..",
      "....e.e..e.e....",
      "....e.e..e.e...."}},
    {20,
     {".....kkkkkk.....",
      "...kkbbbbbbkk...",
      "..kbbnnbbbbbbk..",
      ".kbnnnnnbbbnnbk.",
      ".kbnnnnbbbnnnbk.",
      "kbbbnnnbbbnnnnbk",
      "kbbbbnnbbbbnnbbk",
      "kbbbbbnbbbbbnbbk",
      "kbbbbbnnnbbbbbbk",
      "kbbbbbbnnnnbbbbk",
      "kbbbbbbnnnnbbbbk",
      ".kbbbbbbnnbbbbk.",
      ".kbbbbbbnbbbbbk.",
      "..kbbbbbbbbbbk..",
      "...kkbbbbbbkk...",
      ".....kkkkkk....."}},
    {21,
     {"................",
      "................",
      "................",
      "................",
      "kkkkkkkkkkkkkkkk",
      "knnnnnnnnnnnnnnk",
      "knmmnmmnmmnmmnnk",
      "knmmnmmnmmnmmnnk",
      "knmmnmmnmmnmmnnk",
      "knnnnnnnnnnnnnnk",
      "knenenenenenenek",
      "knenenenenenenek",
      "kkkkkkk..kkkkkkk",
      "................",
      "................",
      "................"}},
    {22,
     {"................",
      ".......rr.......",
      "......r..r......",
      ".........r......",
      "........r.......",
      ".......r........",
      "................",
      ".......r........",
      "................",
      ".kkkkkkkkkkkkkk.",
      "kssssssssssssssk",
      "kwwwwwwwwwwwwwwk",
      "kaaaaaaaaaaaaaak",
      "ksssssssssssnnsk",
      "kaaaaaaaaaaaaaak",
      ".kkkkkkkkkkkkkk."}},
    {23,
     {"....e.e..e.e....",
      "....e.e..e.e....",
      "..kkkkkkkkkkkk..",
      "..kmmmmmmmmmmk..",
      "eekmsmmwwmmmmkee",
      "..kmmmwmmwmmmk..",
      "eekmmmmmmwmmmkee",
      "..kmmmmmwmmmmk..",
      "..kmmmmwmmmmmk..",
      "eekmmmmmmmmmmkee",
      "..kmmmmwmmmmmk..",
      "eekmmmmmmmmmmkee",
      "..kmmmmmmmmmmk..",
      "..kkkkkkkkkkkk..",
      "....e.e..e.e....",
      "....e.e..e.e...."}},
    {28,
     {"................",
      "................",
      ".......aaaaa....",
      "......asssssa...",
      ".....assggsssa..",
      "....assgssgssa..",
      "..aassssssgssa..",
      "..assssssgssssa.",
      ".assssssgssssssa",
      ".asssssssssssssa",
      ".assssssgssssssa",
      ".asssssssssssssa",
      ".aaaaaaaaaaaaaaa",
      "................",
      "................",
      "................"}},
    {30,
     {".BBBBBBBBBBBBBB.",
      "BbbbbbbbbbbbbbbB",
      "BbwwwwwwwwwwwwbB",
      "BbwwwwwwwwwwwwbB",
      "BbbbbbwwwwbbbbbB",
      "BbbbbbwwwwbbbbbB",
      "BbbbbbwwwwbbbbbB",
      "BbbbbbwwwwbbbbbB",
      "BbbbbbwwwwbbbbbB",
      "BbbbbbwwwwbbbbbB",
      "BbbbbbwwwwbbbbbB",
      "BbRRROOOGGGCCCbB",
      "BbRRROOOGGGCCCbB",
      "BbbbbbbbbbbbbbbB",
      "BbbbbbbbbbbbbbbB",
      ".BBBBBBBBBBBBBB."}},
    {35,
     {"................",
      "................",
      "................",
      "................",
      "................",
      "................",
      "................",
      "................",
      "................",
      "..e.e.e..e.e.e..",
      ".kkkkkkkkkkkkkk.",
      ".kmsmmmmmmmmmmk.",
      ".kmmmmmmmmmmmmk.",
      ".kkkkkkkkkkkkkk.",
      "..e.e.e..e.e.e..",
      "..e.e.e..e.e.e.."}},
};
// clang-format on

TTrayCanvas FromArt(const TArt& art)
{
    TTrayCanvas picture(kTransparent);
    for (int y = 0; y < TTrayCanvas::kSize; ++y) {
        for (int x = 0; x < TTrayCanvas::kSize && art[y][x] != '\0'; ++x)
            picture.SetPixel(x, y, PaletteColor(art[y][x]));
    }
    return picture;
}

} // namespace

bool HasMenuPicture(int number)
{
    return kArt.contains(number);
}

const TTrayCanvas& MenuPicture(int number)
{
    static const std::map<int, TTrayCanvas> pictures = [] {
        std::map<int, TTrayCanvas> made;
        for (const auto& [n, art] : kArt)
            made.emplace(n, FromArt(art));
        return made;
    }();
    static const TTrayCanvas empty(kTransparent);
    const auto found = pictures.find(number);
    return found == pictures.end() ? empty : found->second;
}

} // namespace tramble
