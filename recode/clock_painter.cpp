#include "recode/clock_painter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cctype>
#include <cstring>

// The font's bytes, linked in by clock_font.cpp.
extern "C" const unsigned char nivra_clock_font[];
extern "C" const unsigned char nivra_clock_font_end[];

namespace nivra::recode {

namespace {

FT_Face face(void *p)
{
    return static_cast<FT_Face>(p);
}

} // namespace

ClockPainter::ClockPainter()
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return;
    m_library = library;
    FT_Face f = nullptr;
    const long size = long(nivra_clock_font_end - nivra_clock_font);
    if (size > 0 && FT_New_Memory_Face(library, nivra_clock_font, size, 0, &f) == 0)
        m_face = f;
}

ClockPainter::~ClockPainter()
{
    if (m_face)
        FT_Done_Face(face(m_face));
    if (m_library)
        FT_Done_FreeType(static_cast<FT_Library>(m_library));
}

void ClockPainter::setSize(int pixels)
{
    if (pixels == m_pixels)
        return;
    m_pixels = pixels;
    m_glyphs.clear();
    FT_Set_Pixel_Sizes(face(m_face), 0, FT_UInt(pixels));
    m_digitAdvance = 0;
    for (char c = '0'; c <= '9'; ++c)
        m_digitAdvance = std::max(m_digitAdvance, glyph(c).advance);
}

const ClockPainter::Glyph &ClockPainter::glyph(char c)
{
    auto found = m_glyphs.find(c);
    if (found != m_glyphs.end())
        return found->second;
    Glyph &g = m_glyphs[c];
    FT_Face f = face(m_face);
    if (FT_Load_Char(f, FT_ULong(static_cast<unsigned char>(c)), FT_LOAD_RENDER) != 0)
        return g;
    const FT_Bitmap &b = f->glyph->bitmap;
    g.width = int(b.width);
    g.height = int(b.rows);
    g.left = f->glyph->bitmap_left;
    g.top = f->glyph->bitmap_top;
    g.advance = int(f->glyph->advance.x >> 6);
    g.coverage.resize(size_t(g.width) * size_t(g.height));
    for (int y = 0; y < g.height; ++y)
        memcpy(g.coverage.data() + size_t(y) * size_t(g.width), b.buffer + ptrdiff_t(y) * b.pitch,
               size_t(g.width));
    return g;
}

void ClockPainter::draw(AVFrame *picture, const char *text)
{
    const AVPixFmtDescriptor *d = av_pix_fmt_desc_get(AVPixelFormat(picture->format));
    if (!m_face || !d || !(d->flags & AV_PIX_FMT_FLAG_PLANAR) || d->nb_components < 3 ||
        d->comp[0].depth != 8 || d->log2_chroma_w != 1 || d->log2_chroma_h != 1)
        return;
    const int W = picture->width, H = picture->height;
    setSize(std::max(10, H / 30));
    const FT_Size_Metrics &metrics = face(m_face)->size->metrics;
    const int ascent = int(metrics.ascender >> 6), descent = int(-metrics.descender >> 6);
    const int pad = std::max(2, m_pixels / 3);

    int textWidth = 0;
    for (const char *p = text; *p; ++p)
        textWidth += std::isdigit(static_cast<unsigned char>(*p)) ? m_digitAdvance : glyph(*p).advance;
    const int boxW = std::min(W, textWidth + 2 * pad) & ~1;
    const int boxH = std::min(H, ascent + descent + 2 * pad) & ~1;
    const int margin = std::max(2, H / 40) & ~1;
    const int x0 = std::max(0, W - boxW - margin) & ~1;
    const int y0 = std::max(0, H - boxH - margin) & ~1;

    m_mask.assign(size_t(boxW) * size_t(boxH), 0);
    int pen = pad;
    for (const char *p = text; *p; ++p) {
        const Glyph &g = glyph(*p);
        const bool digit = std::isdigit(static_cast<unsigned char>(*p));
        // Digits centred in their fixed cell.
        const int gx = pen + g.left + (digit ? (m_digitAdvance - g.advance) / 2 : 0);
        const int gy = pad + ascent - g.top;
        for (int y = 0; y < g.height; ++y) {
            const int my = gy + y;
            if (my < 0 || my >= boxH)
                continue;
            for (int x = 0; x < g.width; ++x) {
                const int mx = gx + x;
                if (mx >= 0 && mx < boxW)
                    m_mask[size_t(my) * size_t(boxW) + size_t(mx)] =
                        std::max(m_mask[size_t(my) * size_t(boxW) + size_t(mx)],
                                 g.coverage[size_t(y) * size_t(g.width) + size_t(x)]);
            }
        }
        pen += digit ? m_digitAdvance : g.advance;
    }

    // Luma: the box dimmed to a third, the text blended towards white.
    const bool full = picture->color_range == AVCOL_RANGE_JPEG || picture->format == AV_PIX_FMT_YUVJ420P;
    const int black = full ? 0 : 16, white = full ? 255 : 235;
    for (int y = 0; y < boxH; ++y) {
        uint8_t *row = picture->data[0] + ptrdiff_t(y0 + y) * picture->linesize[0] + x0;
        const uint8_t *mask = m_mask.data() + size_t(y) * size_t(boxW);
        for (int x = 0; x < boxW; ++x) {
            const int dim = black + (row[x] - black) / 3;
            row[x] = uint8_t(dim + (white - dim) * mask[x] / 255);
        }
    }
    // Chroma: towards grey, so that neither the box nor the text is tinted.
    for (int plane = 1; plane <= 2; ++plane) {
        for (int y = 0; y < boxH / 2; ++y) {
            uint8_t *row = picture->data[plane] + ptrdiff_t(y0 / 2 + y) * picture->linesize[plane] + x0 / 2;
            for (int x = 0; x < boxW / 2; ++x)
                row[x] = uint8_t(128 + (row[x] - 128) / 3);
        }
    }
}

} // namespace nivra::recode
