// The cairo back end of the drawing floor: a primitive list becomes
// anti-aliased pixels for a canvas, or a PNG, SVG or PDF file of a chosen
// size. No window is needed, so the command line draws the same pictures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "draw/Primitives.h"
#include "wing/CpFiles.h"

namespace quarvel {

enum class PictureFormat { Png, Svg, Pdf };

// The format that a file name asks for by its extension (.png, .svg or .pdf,
// in any case); false for any other name.
bool pictureFormatOf(const std::string& path, PictureFormat& format);

// Draws the primitives, anti-aliased, over width x height pixels of
// premultiplied 0xAARRGGBB (rows of width pixels, as cairo's ARGB32).
// Text is drawn in a sans-serif font of kPictureFontPixels.
void paintPixels(std::uint32_t* pixels, int width, int height, const std::vector<PlotPrimitive>& primitives);
// Primitives first .. last - 1 only, over what the pixels hold; a draft
// draws its lines without anti-aliasing.
void paintPixels(std::uint32_t* pixels, int width, int height, const std::vector<PlotPrimitive>& primitives,
                 std::size_t first, std::size_t last, bool draft);
constexpr double kPictureFontPixels = 12.0;

// The bytes of a file of the picture, width x height pixels (points in a
// PDF, user units in an SVG, whose texts stay texts); empty when it cannot
// be made.
std::string encodePicture(PictureFormat format, const std::vector<PlotPrimitive>& primitives, int width,
                          int height);

// Writes the picture to path in the format its name asks for, whole or not
// at all; false with error set when the name asks for no known format or
// the file cannot be written.
bool writePicture(const std::string& path, const std::vector<PlotPrimitive>& primitives, int width, int height,
                  FileError* error);

}  // namespace quarvel
