#include "app/window/toolbar_images.h"

#include <array>
#include <map>
#include <stdexcept>
#include <string_view>

namespace toolbar_images {

namespace {

constexpr int Width = ButtonWidth;
constexpr int Height = ButtonHeight;

// One character per pixel; '.' is the button face.
using Picture = std::array<std::string_view, Height>;

COLORREF PaletteColour(char code)
{
    switch (code) {
    case '.':
        return BackgroundColour;
    case 'k':
        return RGB(0, 0, 0);
    case 'w':
        return RGB(255, 255, 255);
    case 'g':
        return RGB(128, 128, 128);
    case 'y':
        return RGB(255, 255, 0);
    case 'b':
        return RGB(0, 0, 128);
    case 'c':
        return RGB(0, 128, 128);
    case 'r':
        return RGB(128, 0, 0);
    case 'R':
        return RGB(255, 0, 0);
    default:
        throw std::logic_error("toolbar picture with an unknown colour code");
    }
}

// clang-format off
constexpr Picture NewPicture = {
    "................", "...kkkkkkk......", "...kwwwwwkk.....", "...kwwwwwkwk....", "...kwwwwwkkkk...",
    "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...",
    "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kkkkkkkkkk...", "................"};
constexpr Picture OpenPicture = {
    "................", "................", ".........kkk....", "........k...k.k.", ".............kk.",
    ".kkk........kkk.", "kyyykkkkkkk.....", "kyyyyyyyyyk.....", "kyyyykkkkkkkkkk.", "kyyykgggggggggk.",
    "kyykgggggggggk..", "kykgggggggggk...", "kkgggggggggk....", "kkkkkkkkkkk.....", "................"};
constexpr Picture SavePicture = {
    "................", ".kkkkkkkkkkkkkk.", ".kckwwwwwwwwkck.", ".kckwwwwwwwwkkk.", ".kckwwwwwwwwkck.",
    ".kckwwwwwwwwkck.", ".kcckkkkkkkkcck.", ".kcccccccccccck.", ".kcckkkkkkkkcck.", ".kcckkkkkkwkcck.",
    ".kcckkkkkkwkcck.", ".kcckkkkkkwkcck.", "..kkkkkkkkkkkkk.", "................", "................"};
constexpr Picture CutPicture = {
    "................", "....k.....k.....", "....k.....k.....", "....k.....k.....", "....kk...kk.....",
    ".....k...k......", ".....kk.kk......", "......kkk.......", ".......k........", "......b.b.......",
    "....bbb.bbb.....", "...b..b.b..b....", "...b..b.b..b....", "...b..b.b..b....", "....bb...bb....."};
constexpr Picture CopyPicture = {
    "................", "kkkkkk..........", "kwwwwkk.........", "kwkkwkwk........", "kwwwwkkkkkk.....",
    "kwkkkkwwwwkk....", "kwwwwkwkkwkwk...", "kwkkkkwwwwkkkk..", "kwwwwkwkkkkkwk..", "kkkkkkwwwwwwwk..",
    ".....kwkkkkkwk..", ".....kwwwwwwwk..", ".....kkkkkkkkk..", "................", "................"};
constexpr Picture PastePicture = {
    "................", "....kkkk........", ".kkkkyykkkk.....", "kygkyyyykgyk....", "kygkkkkkkgyk....",
    "kyggggggggyk....", "kyggggkkkkkkk...", "kygggkwwwwwkwk..", "kygggkwkkkwkkkk.", "kygggkwwwwwwwwk.",
    "kygggkwkkkkkkwk.", "kygggkwwwwwwwwk.", ".kkkkkwkkkkkkwk.", ".....kwwwwwwwwk.", ".....kkkkkkkkkk."};
constexpr Picture UndoPicture = {
    "................", "................", "................", "....k...........", "...kk...........",
    "..kbbkkkkkk.....", ".kbbbbbbbbbk....", "..kbbkkkkkkbk...", "...kk......kbk..", "....k.......kbk.",
    "............kbk.", "...........kbk..", "..........kbk...", "................", "................"};
constexpr Picture RedoPicture = {
    "................", "................", "................", "...........k....", "...........kk...",
    ".....kkkkkkbbk..", "....kbbbbbbbbbk.", "...kbkkkkkkbbk..", "..kbk......kk...", ".kbk.......k....",
    ".kbk............", "..kbk...........", "...kbk..........", "................", "................"};
constexpr Picture BoldPicture = {
    "................", "................", "...kkkkkkk......", "....kkk..kkk....", "....kkk..kkk....",
    "....kkk..kkk....", "....kkkkkkk.....", "....kkk..kkk....", "....kkk...kkk...", "....kkk...kkk...",
    "....kkk..kkk....", "...kkkkkkkk.....", "................", "................", "................"};
constexpr Picture ItalicPicture = {
    "................", "................", ".......kkkkk....", ".........kk.....", ".........kk.....",
    "........kk......", "........kk......", ".......kk.......", ".......kk.......", "......kk........",
    "......kk........", "....kkkkk.......", "................", "................", "................"};
constexpr Picture EnumerationPicture = {
    "................", "..k.............", ".kk...kkkkkkkk..", "..k.............", "..k.............",
    ".kkk............", "................", ".kk.............", "k..k..kkkkkkkk..", "..k.............",
    ".k..............", "kkkk............", "................", "................", "................"};
constexpr Picture ItemListPicture = {
    "................", "................", "..kk..kkkkkkkk..", "..kk............", "................",
    "................", "..kk..kkkkkkkk..", "..kk............", "................", "................",
    "..kk..kkkkkkkk..", "..kk............", "................", "................", "................"};
constexpr Picture NextItemPicture = {
    "................", "................", "..kk..kkkkkkkk..", "..kk............", "................",
    "................", "..kk..kkkkkkkk..", "..kk............", "................", ".........R......",
    "..RR.....RR.....", "..RRRRRRRRRR....", "..RR.....RR.....", ".........R......", "................"};
constexpr Picture InlineMathPicture = {
    "................", ".......k........", ".....kkkkk......", "....kk.k.kk.....", "....kk.k........",
    ".....kkk........", ".......kkk......", ".......k.kk.....", "....kk.k.kk.....", ".....kkkkk......",
    ".......k........", "................", "................", "................", "................"};
constexpr Picture DisplayedMathPicture = {
    "................", "................", "...kkkkkkkkk....", "...kk.....k.....", "....kk..........",
    ".....kk.........", "......kk........", ".....kk.........", "....kk..........", "...kk.....k.....",
    "...kkkkkkkkk....", "................", "................", "................", "................"};
constexpr Picture EquationPicture = {
    "................", "................", "................", "........k..k..k.", ".......k..kk...k",
    ".kkkkk.k...k...k", ".......k...k...k", ".kkkkk.k...k...k", ".......k...k...k", "........k.kkk.k.",
    "................", "................", "................", "................", "................"};
constexpr Picture TablePicture = {
    "................", "................", ".kkkkkkkkkkkkkk.", ".kbbbbbbbbbbbbk.", ".kkkkkkkkkkkkkk.",
    ".kwwwkwwwwkwwwk.", ".kkkkkkkkkkkkkk.", ".kwwwkwwwwkwwwk.", ".kkkkkkkkkkkkkk.", ".kwwwkwwwwkwwwk.",
    ".kkkkkkkkkkkkkk.", "................", "................", "................", "................"};
// clang-format on

// Letters of the output buttons in a 3 x 5 pixel font.
const std::map<char, std::string_view>& Letters()
{
    static const std::map<char, std::string_view> letters = {
        {'P', "###" "#.#" "###" "#.." "#.."},
        {'S', "###" "#.." "###" "..#" "###"},
        {'D', "##." "#.#" "#.#" "#.#" "##."},
        {'F', "###" "#.." "##." "#.." "#.."},
        {'H', "#.#" "#.#" "###" "#.#" "#.#"},
        {'T', "###" ".#." ".#." ".#." ".#."},
        {'M', "#.#" "###" "###" "#.#" "#.#"},
        {'L', "#.." "#.." "#.." "#.." "###"},
    };
    return letters;
}

class StripCanvas {
public:
    explicit StripCanvas(int buttons)
        : m_width(buttons * Width), m_pixels(static_cast<std::size_t>(m_width * Height), BackgroundColour)
    {
    }

    void Put(int button, int x, int y, COLORREF colour)
    {
        m_pixels[static_cast<std::size_t>(y * m_width + button * Width + x)] = colour;
    }

    void DrawPicture(int button, const Picture& picture)
    {
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                Put(button, x, y, PaletteColour(picture[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]));
    }

    // Draws `text` with its top-left corner at (left, top), one blank column between letters.
    void DrawText(int button, int left, int top, std::string_view text, COLORREF colour)
    {
        for (const char letter : text) {
            const auto glyph = Letters().at(letter);
            for (int row = 0; row < 5; ++row)
                for (int column = 0; column < 3; ++column)
                    if (glyph[static_cast<std::size_t>(row * 3 + column)] == '#')
                        Put(button, left + column, top + row, colour);
            left += 4;
        }
    }

    void FillBox(int button, const CRect& box, COLORREF fill, COLORREF border)
    {
        for (int y = box.top; y < box.bottom; ++y) {
            for (int x = box.left; x < box.right; ++x) {
                const bool edge = x == box.left || x == box.right - 1 || y == box.top || y == box.bottom - 1;
                Put(button, x, y, edge ? border : fill);
            }
        }
    }

    platform::BitmapResource Take() { return {m_width, Height, std::move(m_pixels)}; }

private:
    int m_width;
    std::vector<COLORREF> m_pixels;
};

enum class OutputButton { Create, View };

// A white page with the format's letters for the buttons that create output, a dark screen with
// the letters for the buttons that show it.
void DrawOutputButton(StripCanvas& canvas, int button, std::string_view format, OutputButton kind)
{
    const bool create = kind == OutputButton::Create;
    canvas.FillBox(button, CRect(1, 1, 15, 14), create ? RGB(255, 255, 255) : RGB(0, 0, 128), RGB(0, 0, 0));
    const COLORREF letterColour = create ? RGB(128, 0, 0) : RGB(255, 255, 0);
    if (format.size() <= 3) {
        const int textWidth = static_cast<int>(format.size()) * 4 - 1;
        canvas.DrawText(button, (Width - textWidth) / 2, 5, format, letterColour);
        return;
    }
    canvas.DrawText(button, 4, 2, format.substr(0, 2), letterColour);
    canvas.DrawText(button, 4, 8, format.substr(2), letterColour);
}

} // namespace

platform::BitmapResource DrawStrip()
{
    const std::array<const Picture*, 3> fileButtons = {&NewPicture, &OpenPicture, &SavePicture};
    const std::array<const Picture*, 5> editButtons = {&CutPicture, &CopyPicture, &PastePicture, &UndoPicture,
                                                       &RedoPicture};
    const std::array<const Picture*, 9> insertButtons = {&BoldPicture,       &ItalicPicture,        &EnumerationPicture,
                                                         &ItemListPicture,   &NextItemPicture,      &InlineMathPicture,
                                                         &DisplayedMathPicture, &EquationPicture, &TablePicture};
    constexpr std::array<std::string_view, 3> formats = {"PS", "PDF", "HTML"};

    StripCanvas canvas(ButtonCount);
    int button = 0;
    for (const auto* picture : fileButtons)
        canvas.DrawPicture(button++, *picture);
    for (const auto* picture : editButtons)
        canvas.DrawPicture(button++, *picture);
    for (const auto format : formats)
        DrawOutputButton(canvas, button++, format, OutputButton::Create);
    for (const auto* picture : insertButtons)
        canvas.DrawPicture(button++, *picture);
    for (const auto format : formats)
        DrawOutputButton(canvas, button++, format, OutputButton::View);
    return canvas.Take();
}

} // namespace toolbar_images
