#include "draw/CairoPicture.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "wing/AtomicFile.h"
#include "wing/Numbers.h"

namespace quarvel {

namespace {

// Bytes that are not UTF-8 (a title read from a file may hold any) become
// '?': cairo refuses the whole text otherwise, and XML the whole file.
std::string validText(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xe ? 3 : (c >> 3) == 0x1e ? 4 : 0;
        bool ok = n > 0 && i + n <= s.size() && (c >= 0x20 || c == '\t') && c != 0x7f;
        for (int j = 1; ok && j < n; ++j) ok = (static_cast<unsigned char>(s[i + j]) >> 6) == 0x2;
        if (ok && n == 2) ok = c >= 0xc2;  // no overlong forms
        if (ok) {
            out.append(s, i, n);
            i += n;
        } else {
            out += '?';
            ++i;
        }
    }
    return out;
}

void setColour(cairo_t* cr, const PlotPrimitive& p) {
    const int rgb = rgbOf(p);
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0);
}

// A pixel of the toolkit is the unit square whose corner is its number: a
// line of odd width runs through the middle of its pixels.
double centreOffset(int lineWidth) { return lineWidth % 2 ? 0.5 : 0.0; }

void ellipsePath(cairo_t* cr, const PlotPrimitive& p, double offset) {
    if (p.x2 <= 0 || p.y2 <= 0) return;
    cairo_save(cr);
    cairo_translate(cr, p.x1 + p.x2 / 2.0 + offset, p.y1 + p.y2 / 2.0 + offset);
    cairo_scale(cr, p.x2 / 2.0, p.y2 / 2.0);
    cairo_new_path(cr);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 6.283185307179586);
    cairo_restore(cr);
}

void draw(cairo_t* cr, const std::vector<PlotPrimitive>& primitives, std::size_t first = 0,
          std::size_t last = std::size_t(-1), bool draft = false) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, kPictureFontPixels);
    static const double dashes[] = {4.0, 4.0};
    // A draft (while something is dragged) draws its lines without
    // anti-aliasing.
    const cairo_antialias_t smooth = draft ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_DEFAULT;
    cairo_set_antialias(cr, smooth);
    // Segments in one pen are stroked as one path, joined where one starts
    // at the end of the one before: a curve of a thousand points is one
    // stroke, and its dashes run on across its points. Lines along the pixel
    // grid cover whole pixels (odd widths run through pixel middles): drawn
    // without anti-aliasing they look the same and take cairo's fast path.
    const PlotPrimitive* pen = nullptr;
    int lastX = 0, lastY = 0;
    auto alongGrid = [](const PlotPrimitive& p) { return p.x1 == p.x2 || p.y1 == p.y2; };
    auto samePen = [&](const PlotPrimitive& a, const PlotPrimitive& b) {
        return rgbOf(a) == rgbOf(b) && a.lineWidth == b.lineWidth && a.dashed == b.dashed &&
               alongGrid(a) == alongGrid(b);
    };
    auto flush = [&] {
        if (!pen) return;
        cairo_stroke(cr);
        cairo_set_antialias(cr, smooth);
        pen = nullptr;
    };
    last = std::min(last, primitives.size());
    for (std::size_t i = first; i < last; ++i) {
        const PlotPrimitive& p = primitives[i];
        const int lineWidth = std::max(1, p.lineWidth);
        const double o = centreOffset(lineWidth);
        if (p.kind == PlotPrimitive::Segment && pen && samePen(*pen, p)) {
            if (p.x1 != lastX || p.y1 != lastY) cairo_move_to(cr, p.x1 + o, p.y1 + o);
            cairo_line_to(cr, p.x2 + o, p.y2 + o);
            lastX = p.x2;
            lastY = p.y2;
            continue;
        }
        flush();
        setColour(cr, p);
        cairo_set_line_width(cr, lineWidth);
        cairo_set_dash(cr, dashes, p.dashed ? 2 : 0, 0.0);
        switch (p.kind) {
        case PlotPrimitive::Segment:
            cairo_set_antialias(cr, alongGrid(p) ? CAIRO_ANTIALIAS_NONE : smooth);
            cairo_move_to(cr, p.x1 + o, p.y1 + o);
            cairo_line_to(cr, p.x2 + o, p.y2 + o);
            lastX = p.x2;
            lastY = p.y2;
            pen = &p;
            break;
        case PlotPrimitive::Fill:
            cairo_rectangle(cr, p.x1, p.y1, p.x2, p.y2);
            cairo_fill(cr);
            break;
        case PlotPrimitive::Ellipse:
            ellipsePath(cr, p, o);
            cairo_stroke(cr);
            break;
        case PlotPrimitive::FilledEllipse:
            ellipsePath(cr, p, 0.0);
            cairo_fill(cr);
            break;
        case PlotPrimitive::Text:
            cairo_move_to(cr, p.x1, p.y1);
            cairo_show_text(cr, validText(p.text).c_str());
            cairo_new_path(cr);
            break;
        }
    }
    flush();
}

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

std::string xmlEscaped(const std::string& s) {
    std::string out;
    for (char c : validText(s)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string hexColour(const PlotPrimitive& p) {
    char s[8];
    std::snprintf(s, sizeof s, "#%06x", rgbOf(p) & 0xffffff);
    return s;
}

std::string number(double v) { return formatFixed(v, 1); }

// An SVG written from the primitives themselves, so that every text of the
// picture stays a text (cairo's SVG surface turns texts into outlines).
std::string svgOf(const std::vector<PlotPrimitive>& primitives, int width, int height) {
    const std::string w = std::to_string(width), h = std::to_string(height);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
                      "\" viewBox=\"0 0 " + w + " " + h + "\">\n"
                      "<g font-family=\"sans-serif\" font-size=\"" + number(kPictureFontPixels) +
                      "\" stroke-linecap=\"butt\">\n";
    for (const PlotPrimitive& p : primitives) {
        const std::string colour = hexColour(p);
        const int lw = std::max(1, p.lineWidth);
        const double o = centreOffset(lw);
        const std::string stroke = "fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"" + std::to_string(lw) +
                                   "\"" + (p.dashed ? " stroke-dasharray=\"4 4\"" : "");
        switch (p.kind) {
        case PlotPrimitive::Segment:
            out += "<line x1=\"" + number(p.x1 + o) + "\" y1=\"" + number(p.y1 + o) + "\" x2=\"" + number(p.x2 + o) +
                   "\" y2=\"" + number(p.y2 + o) + "\" " + stroke + "/>\n";
            break;
        case PlotPrimitive::Fill:
            if (p.x2 > 0 && p.y2 > 0)
                out += "<rect x=\"" + std::to_string(p.x1) + "\" y=\"" + std::to_string(p.y1) + "\" width=\"" +
                       std::to_string(p.x2) + "\" height=\"" + std::to_string(p.y2) + "\" fill=\"" + colour + "\"/>\n";
            break;
        case PlotPrimitive::Ellipse:
        case PlotPrimitive::FilledEllipse: {
            if (p.x2 <= 0 || p.y2 <= 0) break;
            const double c = p.kind == PlotPrimitive::Ellipse ? o : 0.0;
            out += "<ellipse cx=\"" + number(p.x1 + p.x2 / 2.0 + c) + "\" cy=\"" + number(p.y1 + p.y2 / 2.0 + c) +
                   "\" rx=\"" + number(p.x2 / 2.0) + "\" ry=\"" + number(p.y2 / 2.0) + "\" " +
                   (p.kind == PlotPrimitive::Ellipse ? stroke : "fill=\"" + colour + "\"") + "/>\n";
            break;
        }
        case PlotPrimitive::Text:
            out += "<text x=\"" + std::to_string(p.x1) + "\" y=\"" + std::to_string(p.y1) + "\" fill=\"" + colour +
                   "\" xml:space=\"preserve\">" + xmlEscaped(p.text) + "</text>\n";
            break;
        }
    }
    return out + "</g>\n</svg>\n";
}

}  // namespace

bool pictureFormatOf(const std::string& path, PictureFormat& format) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return false;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "png") format = PictureFormat::Png;
    else if (ext == "svg") format = PictureFormat::Svg;
    else if (ext == "pdf") format = PictureFormat::Pdf;
    else return false;
    return true;
}

void paintPixels(std::uint32_t* pixels, int width, int height, const std::vector<PlotPrimitive>& primitives) {
    paintPixels(pixels, width, height, primitives, 0, primitives.size(), false);
}

void paintPixels(std::uint32_t* pixels, int width, int height, const std::vector<PlotPrimitive>& primitives,
                 std::size_t first, std::size_t last, bool draft) {
    if (!pixels || width < 1 || height < 1 || first >= last) return;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(pixels), CAIRO_FORMAT_ARGB32, width, height, width * 4);
    cairo_t* cr = cairo_create(surface);
    draw(cr, primitives, first, last, draft);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
}

std::string encodePicture(PictureFormat format, const std::vector<PlotPrimitive>& primitives, int width,
                          int height) {
    if (width < 1 || height < 1) return {};
    if (format == PictureFormat::Svg) return svgOf(primitives, width, height);
    std::string bytes;
    cairo_surface_t* surface = format == PictureFormat::Pdf
                                   ? cairo_pdf_surface_create_for_stream(appendBytes, &bytes, width, height)
                                   : cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    draw(cr, primitives);
    const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    if (format == PictureFormat::Png && drawn) {
        cairo_surface_flush(surface);
        if (cairo_surface_write_to_png_stream(surface, appendBytes, &bytes) != CAIRO_STATUS_SUCCESS) bytes.clear();
    }
    cairo_surface_finish(surface);
    const bool ok = drawn && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok ? bytes : std::string();
}

bool writePicture(const std::string& path, const std::vector<PlotPrimitive>& primitives, int width, int height,
                  FileError* error) {
    PictureFormat format;
    if (!pictureFormatOf(path, format)) {
        if (error) *error = FileError{path, 0, "the name must end in .png, .svg or .pdf"};
        return false;
    }
    const std::string bytes = encodePicture(format, primitives, width, height);
    if (bytes.empty()) {
        if (error) *error = FileError{path, 0, "the picture could not be drawn"};
        return false;
    }
    return writeFileAtomically(path, bytes, error);
}

}  // namespace quarvel
