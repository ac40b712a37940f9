#include "WideTable.h"

// A test at the three sizes: 10, 100 and 500 pixels.
#define SIZED(name, family, op, mode, says)                                                        \
    {name ".10", family, WideOp::op, 10, mode, says},                                              \
        {name ".100", family, WideOp::op, 100, mode, says}, {                                      \
        name ".500", family, WideOp::op, 500, mode, says                                           \
    }

const WideTest WIDE_TABLE[WIDE_COUNT + 1] = {
    {"", "", WideOp::SetPixel, 0, 0, ""},
    // points
    {"SetPixel", "points", WideOp::SetPixel, 1, 0, "one pixel of a fixed colour, anywhere"},
    {"SetPixelV", "points", WideOp::SetPixelV, 1, 0,
     "one pixel of a fixed colour, anywhere, not asking the colour set"},
    {"GetPixel", "points", WideOp::GetPixel, 1, 0, "one pixel read back, anywhere"},
    // lines
    SIZED("Line", "lines", Line, PEN_THIN, "a line of that length, 1-pixel solid pen"),
    SIZED("Line.width5", "lines", Line, PEN_WIDTH5, "a line of that length, 5-pixel pen"),
    SIZED("Line.width20", "lines", Line, PEN_WIDTH20, "a line of that length, 20-pixel pen"),
    SIZED("Line.dash", "lines", Line, PEN_DASH, "a line of that length, dashed pen"),
    SIZED("Line.dot", "lines", Line, PEN_DOT, "a line of that length, dotted pen"),
    SIZED("Polyline", "lines", Polyline, PEN_THIN, "a polyline of 32 points in a square that wide"),
    SIZED("PolyBezier", "lines", PolyBezier, PEN_THIN,
          "ten joined Bezier curves (31 points) in a square that wide"),
    // filled shapes
    SIZED("Rectangle", "shapes", Rectangle, BRUSH_SOLID, "a square, solid brush, thin pen"),
    {"Rectangle.hatch.100", "shapes", WideOp::Rectangle, 100, BRUSH_HATCH,
     "a square, cross-hatched brush, thin pen"},
    {"Rectangle.pattern.100", "shapes", WideOp::Rectangle, 100, BRUSH_PATTERN,
     "a square, 8x8 pattern brush, thin pen"},
    SIZED("FillRect", "shapes", FillRect, BRUSH_SOLID, "a square filled, solid brush"),
    {"FillRect.hatch.100", "shapes", WideOp::FillRect, 100, BRUSH_HATCH,
     "a square filled, cross-hatched brush"},
    {"FillRect.pattern.100", "shapes", WideOp::FillRect, 100, BRUSH_PATTERN,
     "a square filled, 8x8 pattern brush"},
    SIZED("PatBlt.PATCOPY", "shapes", PatBlt, ROP_PATCOPY, "a square of the brush, PATCOPY"),
    SIZED("PatBlt.PATINVERT", "shapes", PatBlt, ROP_PATINVERT, "a square of the brush, PATINVERT"),
    SIZED("PatBlt.DSTINVERT", "shapes", PatBlt, ROP_DSTINVERT, "a square inverted, DSTINVERT"),
    SIZED("Ellipse", "shapes", Ellipse, BRUSH_SOLID, "a circle, solid brush, thin pen"),
    SIZED("RoundRect", "shapes", RoundRect, BRUSH_SOLID,
          "a square with corners a quarter of its side, solid brush"),
    SIZED("Pie", "shapes", Pie, BRUSH_SOLID, "a quarter-circle wedge, solid brush"),
    SIZED("Chord", "shapes", Chord, BRUSH_SOLID, "a circle cut by a chord, solid brush"),
    SIZED("Arc", "shapes", Arc, BRUSH_SOLID, "three quarters of a circle's outline, thin pen"),
    SIZED("Polygon.star.alternate", "shapes", Polygon, FILL_ALTERNATE,
          "a five-pointed star, alternate fill (its centre empty)"),
    SIZED("Polygon.star.winding", "shapes", Polygon, FILL_WINDING,
          "a five-pointed star, winding fill (its centre filled)"),
    SIZED("PolyPolygon", "shapes", PolyPolygon, FILL_ALTERNATE,
          "four triangles in one call, in a square that wide"),
    // copies
    SIZED("BitBlt.SRCCOPY", "copies", BitBlt, ROP_SRCCOPY,
          "a square from a memory bitmap, SRCCOPY"),
    SIZED("BitBlt.SRCAND", "copies", BitBlt, ROP_SRCAND,
          "a square from a memory bitmap onto bands, SRCAND"),
    SIZED("BitBlt.SRCPAINT", "copies", BitBlt, ROP_SRCPAINT,
          "a square from a memory bitmap onto bands, SRCPAINT"),
    SIZED("BitBlt.SRCINVERT", "copies", BitBlt, ROP_SRCINVERT,
          "a square from a memory bitmap onto bands, SRCINVERT"),
    SIZED("BitBlt.NOTSRCCOPY", "copies", BitBlt, ROP_NOTSRCCOPY,
          "a square from a memory bitmap, NOTSRCCOPY"),
    SIZED("Scroll", "copies", Scroll, ROP_SRCCOPY, "a square of the surface moved on the surface"),
    SIZED("BitBlt.MonoToColour", "copies", MonoToColour, ROP_SRCCOPY,
          "a square of a monochrome bitmap in the text and background colours"),
    SIZED("BitBlt.ColourToMono", "copies", ColourToMono, ROP_SRCCOPY,
          "a square of the surface into a monochrome bitmap"),
    SIZED("StretchBlt.COLORONCOLOR.half", "copies", StretchBlt, STRETCH_COLOR_HALF,
          "a square shrunk from twice its side, COLORONCOLOR"),
    SIZED("StretchBlt.COLORONCOLOR.2x", "copies", StretchBlt, STRETCH_COLOR_DOUBLE,
          "a square grown from half its side, COLORONCOLOR"),
    SIZED("StretchBlt.HALFTONE.half", "copies", StretchBlt, STRETCH_HALFTONE_HALF,
          "a square shrunk from twice its side, HALFTONE"),
    SIZED("StretchBlt.HALFTONE.2x", "copies", StretchBlt, STRETCH_HALFTONE_DOUBLE,
          "a square grown from half its side, HALFTONE"),
    SIZED("StretchDIBits", "copies", StretchDIBits, ROP_SRCCOPY,
          "a 32-bit image in memory put as a square, StretchDIBits"),
    SIZED("SetDIBitsToDevice", "copies", SetDIBitsToDevice, ROP_SRCCOPY,
          "a 32-bit image in memory put as a square, SetDIBitsToDevice"),
    SIZED("GetDIBits", "copies", GetDIBits, ROP_SRCCOPY,
          "a square bitmap of the surface's format read back as 32-bit"),
    SIZED("MaskBlt", "copies", MaskBlt, ROP_SRCCOPY,
          "a square from a memory bitmap through a monochrome mask"),
    SIZED("TransparentBlt", "copies", TransparentBlt, ROP_SRCCOPY,
          "a square from a memory bitmap, its white left out"),
    SIZED("AlphaBlend", "copies", AlphaBlend, ROP_SRCCOPY,
          "a square from a memory bitmap, blended half and half"),
    // text (sizes in points)
    {"TextOut.4", "text", WideOp::TextOut, 12, TEXT_SHORT, "4 characters, Arial 12"},
    {"TextOut.64", "text", WideOp::TextOut, 12, TEXT_LONG, "64 characters, Arial 12"},
    {"ExtTextOut.opaque", "text", WideOp::ExtTextOut, 12, TEXT_OPAQUE,
     "16 characters on a filled box, Arial 12"},
    {"ExtTextOut.clipped", "text", WideOp::ExtTextOut, 12, TEXT_CLIPPED,
     "16 characters clipped to half their box, Arial 12"},
    {"DrawText.wordbreak", "text", WideOp::DrawText, 12, TEXT_LONG,
     "64 characters broken into lines in a 100-pixel box, Arial 12"},
    {"Text.Arial.8", "text", WideOp::ExtTextOut, 8, TEXT_PLAIN, "16 characters, Arial 8"},
    {"Text.Arial.12", "text", WideOp::ExtTextOut, 12, TEXT_PLAIN, "16 characters, Arial 12"},
    {"Text.Arial.24", "text", WideOp::ExtTextOut, 24, TEXT_PLAIN, "16 characters, Arial 24"},
    {"Text.Arial.8.bold", "text", WideOp::ExtTextOut, 8, TEXT_BOLD, "16 characters, Arial 8 bold"},
    {"Text.Arial.12.bold", "text", WideOp::ExtTextOut, 12, TEXT_BOLD,
     "16 characters, Arial 12 bold"},
    {"Text.Arial.24.bold", "text", WideOp::ExtTextOut, 24, TEXT_BOLD,
     "16 characters, Arial 24 bold"},
    {"Text.Arial.8.italic", "text", WideOp::ExtTextOut, 8, TEXT_ITALIC,
     "16 characters, Arial 8 italic"},
    {"Text.Arial.12.italic", "text", WideOp::ExtTextOut, 12, TEXT_ITALIC,
     "16 characters, Arial 12 italic"},
    {"Text.Arial.24.italic", "text", WideOp::ExtTextOut, 24, TEXT_ITALIC,
     "16 characters, Arial 24 italic"},
    {"Text.Arial.12.opaque", "text", WideOp::ExtTextOut, 12, TEXT_BACKGROUND,
     "16 characters on the background colour, Arial 12"},
    // regions and clipping
    SIZED("FillRgn.rect", "regions", FillRgn, REGION_RECT, "a square region filled with a brush"),
    SIZED("FillRgn.ellipse", "regions", FillRgn, REGION_ELLIPSE,
          "a circular region filled with a brush"),
    SIZED("PaintRgn.rect", "regions", PaintRgn, REGION_RECT,
          "a square region painted with the DC's brush"),
    SIZED("PaintRgn.ellipse", "regions", PaintRgn, REGION_ELLIPSE,
          "a circular region painted with the DC's brush"),
    {"Clip.Line.100", "regions", WideOp::ClipLines, 100, PEN_THIN,
     "a line of length 100 through a clip region of 16 rectangles"},
};

const char *const WIDE_FAMILIES[6] = {"points", "lines", "shapes", "copies", "text", "regions"};

int WideReach(const WideTest &test) {
    switch (test.Op) {
    case WideOp::TextOut:
    case WideOp::ExtTextOut:
    case WideOp::DrawText:
        return 0;
    case WideOp::Line: // a wide pen reaches half its width beyond the line's ends
        return test.Size + (test.Mode == PEN_WIDTH20 ? 20 : test.Mode == PEN_WIDTH5 ? 5 : 0);
    default:
        return test.Size;
    }
}

bool OnHandheld(const WideTest &test) {
    switch (test.Op) {
    // Not in the device's GDI.
    case WideOp::SetPixelV:
    case WideOp::PolyBezier:
    case WideOp::Pie:
    case WideOp::Chord:
    case WideOp::Arc:
    case WideOp::PolyPolygon:
    case WideOp::GetDIBits:
    case WideOp::TextOut:
    case WideOp::PaintRgn:
        return false;
    case WideOp::Line:
        return test.Mode != PEN_DOT;
    case WideOp::Rectangle:
    case WideOp::FillRect:
        return test.Mode != BRUSH_HATCH;
    case WideOp::Polygon: // its fill mode cannot be set there
        return test.Mode == FILL_ALTERNATE;
    case WideOp::StretchBlt:
        return test.Mode == STRETCH_COLOR_HALF || test.Mode == STRETCH_COLOR_DOUBLE;
    case WideOp::FillRgn: // its regions are rectangles
        return test.Mode == REGION_RECT;
    default:
        return true;
    }
}

std::uint32_t WideSeed(const WideTest &test) {
    // FNV-1a: a test keeps its start when others are added or moved.
    std::uint32_t hash = 2166136261u;
    for (const char *c = test.Name; *c != 0; c++) {
        hash = (hash ^ static_cast<unsigned char>(*c)) * 16777619u;
    }
    return hash;
}

int WideIndex(const std::string &name) {
    for (int i = 1; i <= WIDE_COUNT; i++) {
        if (name == WIDE_TABLE[i].Name) {
            return i;
        }
    }
    return 0;
}
