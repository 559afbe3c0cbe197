// Draws the camera's clock into a YUV 4:2:0 picture with the program's font
// (Inter, built in), through FreeType: light text on a dimmed box in the
// bottom-right corner, digits on a fixed pitch so that the text does not
// shift as the seconds change.
#pragma once

#include <stdint.h>

#include <map>
#include <vector>

struct AVFrame;

namespace nivra::recode {

class ClockPainter
{
public:
    ClockPainter();
    ~ClockPainter();
    ClockPainter(const ClockPainter &) = delete;
    ClockPainter &operator=(const ClockPainter &) = delete;

    // False when the font could not be loaded (the clock cannot be drawn).
    bool ready() const { return m_face != nullptr; }
    // Draws text (ASCII) into an 8-bit planar 4:2:0 picture; text size follows
    // the picture's height.
    void draw(AVFrame *picture, const char *text);

private:
    struct Glyph
    {
        std::vector<uint8_t> coverage;
        int width = 0, height = 0, left = 0, top = 0, advance = 0;
    };
    const Glyph &glyph(char c);
    void setSize(int pixels);

    void *m_library = nullptr; // FT_Library
    void *m_face = nullptr;    // FT_Face
    int m_pixels = 0;
    int m_digitAdvance = 0;
    std::map<char, Glyph> m_glyphs;
    std::vector<uint8_t> m_mask; // the text's coverage over its box
};

} // namespace nivra::recode
