// Drawing helpers shared by every picture: colours, gradients, shapes, text
// and a cairo canvas that becomes an Image, plus the wheel emblem of the
// programs' icons.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "image.h"

namespace artwork {

constexpr double kPi = 3.14159265358979323846;

// 0xRRGGBB.
void setColour(cairo_t* cr, uint32_t rgb);
void setColour(cairo_t* cr, uint32_t rgb, double alpha);
void addStop(cairo_pattern_t* gradient, double offset, uint32_t rgb);

// A top-to-bottom gradient through the given colours, evenly spaced.
void setVerticalGradient(cairo_t* cr, double top, double bottom, std::initializer_list<uint32_t> colours);

// The path of a rectangle with rounded corners.
void roundedRectangle(cairo_t* cr, double x, double y, double w, double h, double radius);

// The path of a rectangle of whole units (a picture's area, its frame, a
// one-pixel slice) with its corners moved to the nearest pixel corner,
// halves up as zentra::skin::pictureInSet rounds. At 100 % it is the
// rectangle itself; in a scaled set it covers exactly the pixels the
// picture is read from, with no half-covered edge.
void pixelRectangle(cairo_t* cr, double x, double y, double w, double h);

enum class Align { Left, Centre, Right };

// Text in Liberation Sans with the baseline at y, set with fixed font
// options so that every machine renders it alike.
void drawText(cairo_t* cr, const std::string& text, double x, double y, double size, bool bold, Align align,
              double letterSpacing = 0);
double textWidth(cairo_t* cr, const std::string& text, double size, bool bold, double letterSpacing = 0);

// An ARGB32 surface and its context, freed together.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    cairo_t* cr() const { return cr_; }
    cairo_surface_t* surface() const { return surface_; }
    Image image() const { return imageFromSurface(surface_); }

private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// A canvas for one picture set: `width` x `height` pixels at 100 % become
// zentra::skin::pictureInSet of each at `percent`, and the drawing goes on
// in 100 % units (scaled by percent / 100), so that one drawing makes every
// set's picture.
class SetCanvas : public Canvas {
public:
    SetCanvas(int width, int height, int percent);
};

// The wheel of the programs' icons, on a 16-unit grid: the bright rim with
// its orange top marker, the dark blue to violet spokes and hub, the hub's
// light.
void drawWheelEmblem(cairo_t* cr);

}  // namespace artwork
