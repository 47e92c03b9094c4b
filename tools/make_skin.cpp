// Draws the program's skin: the header banner and the button glyphs, written
// as 24-bit BMP files into the folder given on the command line.
//
//   make_skin OUTPUT_FOLDER [SCALE]
//
// SCALE (1 when not given; 1.5 and 2 for displays at 150 and 200 %) draws
// every picture that many times larger from the same shapes, so that a
// window at that scale shows it sharp instead of enlarged.
//
// Every glyph sits on the button-face colour 240,240,240, the colour of the
// window background; the bottom-left pixel of each glyph file is that colour,
// so the window code may also use it as the transparent key. Files with two
// images hold them side by side: normal, then greyed.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Colour {
  double r, g, b;
};

constexpr Colour kButtonFace{240, 240, 240};
constexpr Colour kWhite{255, 255, 255};
constexpr Colour kDisabledGrey{160, 160, 160};
constexpr Colour kDisabledShadow{255, 255, 255};

Colour Mix(Colour a, Colour b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// A shape is a test whether a point (in pixel units) lies inside it.
using Shape = std::function<bool(double x, double y)>;

// The shapes are given in the units of the 1x picture; a canvas of a larger
// scale has that many more pixels per unit.
class Canvas {
 public:
  Canvas(int width, int height, Colour fill, double scale = 1.0)
      : width_(static_cast<int>(std::lround(width * scale))),
        height_(static_cast<int>(std::lround(height * scale))),
        scale_(scale),
        pixels_(static_cast<size_t>(width_ * height_), fill) {}

  int width() const { return width_; }
  int height() const { return height_; }
  Colour& at(int x, int y) { return pixels_[static_cast<size_t>(y * width_ + x)]; }

  // Paints the shape, anti-aliased by 4 x 4 samples per pixel, within the
  // box (in pixels).
  void Fill(const Shape& shape, Colour colour, double opacity = 1.0, int left = 0, int top = 0,
            int right = -1, int bottom = -1) {
    if (right < 0) right = width_;
    if (bottom < 0) bottom = height_;
    for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y)
      for (int x = std::max(left, 0); x < std::min(right, width_); ++x) {
        int hits = 0;
        for (int sy = 0; sy < 4; ++sy)
          for (int sx = 0; sx < 4; ++sx) hits += shape(Unit(x + (sx + 0.5) / 4), Unit(y + (sy + 0.5) / 4));
        if (hits) at(x, y) = Mix(at(x, y), colour, opacity * hits / 16.0);
      }
  }

  // Paints with a colour that depends on the position (gradients).
  void Shade(const Shape& shape, const std::function<Colour(double, double)>& colourAt) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        int hits = 0;
        for (int sy = 0; sy < 4; ++sy)
          for (int sx = 0; sx < 4; ++sx) hits += shape(Unit(x + (sx + 0.5) / 4), Unit(y + (sy + 0.5) / 4));
        if (hits) at(x, y) = Mix(at(x, y), colourAt(Unit(x + 0.5), Unit(y + 0.5)), hits / 16.0);
      }
  }

  bool WriteBmp(const std::string& path) const {
    const int rowBytes = (width_ * 3 + 3) & ~3;
    const uint32_t imageBytes = static_cast<uint32_t>(rowBytes * height_);
    std::vector<uint8_t> file;
    auto put16 = [&](uint32_t v) {
      file.push_back(static_cast<uint8_t>(v));
      file.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
      put16(v & 0xFFFF);
      put16(v >> 16);
    };
    file.push_back('B');
    file.push_back('M');
    put32(14 + 40 + imageBytes);  // file size
    put32(0);                     // reserved
    put32(14 + 40);               // offset of the pixels
    put32(40);                    // BITMAPINFOHEADER
    put32(static_cast<uint32_t>(width_));
    put32(static_cast<uint32_t>(height_));  // positive: rows bottom-up
    put16(1);                               // planes
    put16(24);                              // bits per pixel
    put32(0);                               // BI_RGB
    put32(imageBytes);
    put32(2835);  // 72 dpi
    put32(2835);
    put32(0);
    put32(0);
    auto byte = [](double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); };
    for (int y = height_ - 1; y >= 0; --y) {
      for (int x = 0; x < width_; ++x) {
        const Colour& c = pixels_[static_cast<size_t>(y * width_ + x)];
        file.push_back(byte(c.b));
        file.push_back(byte(c.g));
        file.push_back(byte(c.r));
      }
      for (int pad = width_ * 3; pad < rowBytes; ++pad) file.push_back(0);
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
  }

 private:
  double Unit(double pixel) const { return pixel / scale_; }

  int width_, height_;
  double scale_;
  std::vector<Colour> pixels_;
};

// ---- shapes ----

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// A stroke of the given width along a polyline, with round ends and joints.
Shape Stroke(std::vector<std::pair<double, double>> points, double width) {
  return [points = std::move(points), width](double x, double y) {
    for (size_t i = 1; i < points.size(); ++i)
      if (SegmentDistance(x, y, points[i - 1].first, points[i - 1].second, points[i].first,
                          points[i].second) <= width / 2)
        return true;
    return false;
  };
}

Shape Disc(double cx, double cy, double radius) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) <= radius; };
}

Shape RoundRect(double left, double top, double right, double bottom, double radius) {
  return [=](double x, double y) {
    const double dx = std::max({left + radius - x, 0.0, x - (right - radius)});
    const double dy = std::max({top + radius - y, 0.0, y - (bottom - radius)});
    return x >= left && x <= right && y >= top && y <= bottom && dx * dx + dy * dy <= radius * radius;
  };
}

Shape Rect(double left, double top, double right, double bottom) {
  return RoundRect(left, top, right, bottom, 0);
}

// Any simple polygon, by the crossing rule.
Shape Polygon(std::vector<std::pair<double, double>> points) {
  return [points = std::move(points)](double x, double y) {
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const auto [xi, yi] = points[i];
      const auto [xj, yj] = points[j];
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
  };
}

Shape Ring(double cx, double cy, double inner, double outer) {
  return [=](double x, double y) {
    const double d = std::hypot(x - cx, y - cy);
    return d >= inner && d <= outer;
  };
}

Shape Minus(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && !b(x, y); };
}

Shape Moved(Shape shape, double dx, double dy) {
  return [shape = std::move(shape), dx, dy](double x, double y) { return shape(x - dx, y - dy); };
}

// ---- glyphs ----

// A glyph paints itself at an offset with a colour chooser: the normal look
// uses its own colours, the greyed look passes every colour through `tone`.
using Tone = std::function<Colour(Colour)>;
using Glyph = std::function<void(Canvas&, double dx, double dy, const Tone& tone)>;

Colour Normal(Colour c) {
  return c;
}

// The classic greyed look: the shape in light grey over a white shadow.
void DrawGreyed(Canvas& canvas, const Glyph& glyph, double dx, double dy) {
  glyph(canvas, dx + 1, dy + 1, [](Colour) { return kDisabledShadow; });
  glyph(canvas, dx, dy, [](Colour c) {
    const double light = (0.3 * c.r + 0.59 * c.g + 0.11 * c.b) / 255.0;
    return Mix(Colour{120, 120, 120}, kDisabledGrey, light);
  });
}

void CheckMark(Canvas& c, double dx, double dy, const Tone& tone, double scale = 1.0) {
  auto p = [&](double x, double y) { return std::pair{dx + x * scale, dy + y * scale}; };
  c.Fill(Stroke({p(3, 8.5), p(6.5, 12), p(13, 4.5)}, 3.2 * scale), tone({20, 100, 30}));
  c.Fill(Stroke({p(3, 8.5), p(6.5, 12), p(13, 4.5)}, 1.8 * scale), tone({60, 175, 70}));
}

void Cross(Canvas& c, double dx, double dy, const Tone& tone) {
  for (auto colour : {std::pair{Colour{140, 20, 20}, 3.2}, std::pair{Colour{215, 55, 50}, 1.8}}) {
    c.Fill(Stroke({{dx + 4, dy + 4}, {dx + 12, dy + 12}}, colour.second), tone(colour.first));
    c.Fill(Stroke({{dx + 12, dy + 4}, {dx + 4, dy + 12}}, colour.second), tone(colour.first));
  }
}

// A small calendar sheet with a tick: apply the schedule to the chosen day.
void CalendarTick(Canvas& c, double dx, double dy, const Tone& tone) {
  c.Fill(Moved(RoundRect(1.5, 2.5, 13.5, 14.5, 1.5), dx, dy), tone({90, 90, 100}));
  c.Fill(Moved(Rect(2.5, 6, 12.5, 13.5), dx, dy), tone(kWhite));
  c.Fill(Moved(Rect(2.5, 3.5, 12.5, 6), dx, dy), tone({205, 60, 55}));
  for (double x : {4.5, 10.5}) c.Fill(Moved(Rect(x, 1.5, x + 1, 4.5), dx, dy), tone({70, 70, 80}));
  CheckMark(c, dx + 3.5, dy + 4, tone, 0.8);
}

// An eraser lying across the baseline: clears the chosen day.
void Eraser(Canvas& c, double dx, double dy, const Tone& tone) {
  auto at = [&](std::vector<std::pair<double, double>> pts) {
    for (auto& [x, y] : pts) x += dx, y += dy;
    return Polygon(std::move(pts));
  };
  c.Fill(Moved(Rect(1, 14, 15, 15), dx, dy), tone({150, 150, 160}));
  c.Fill(at({{1.5, 10}, {6, 14}, {10, 10}, {5.5, 6}}), tone({225, 105, 125}));     // rubber tip
  c.Fill(at({{5.5, 6}, {10, 10}, {14.5, 5.5}, {10, 1.5}}), tone({70, 115, 190}));  // sleeve
  c.Fill(Stroke({{dx + 1.5, dy + 10},
                 {dx + 6, dy + 14},
                 {dx + 14.5, dy + 5.5},
                 {dx + 10, dy + 1.5},
                 {dx + 1.5, dy + 10}},
                0.9),
         tone({60, 50, 70}), 0.8);
  c.Fill(Stroke({{dx + 5.5, dy + 6}, {dx + 10, dy + 10}}, 0.8), tone({60, 50, 70}), 0.8);
}

// A battery with a lightning bolt: the UPS that detection looks for.
void Battery(Canvas& c, double dx, double dy, const Tone& tone) {
  c.Fill(Moved(RoundRect(2, 9, 27, 24, 3), dx, dy), tone({55, 60, 70}));
  c.Fill(Moved(RoundRect(27, 13, 30.5, 20, 1.2), dx, dy), tone({55, 60, 70}));
  c.Fill(Moved(RoundRect(4, 11, 25, 22, 1.5), dx, dy), tone({235, 240, 235}));
  for (int cell = 0; cell < 3; ++cell) {
    const double left = 5 + cell * 6.6;
    c.Fill(Moved(RoundRect(left, 12, left + 5.8, 21, 0.8), dx, dy), tone({70, 180, 75}));
  }
  c.Fill(Polygon({{dx + 17, dy + 6},
                  {dx + 10.5, dy + 17.5},
                  {dx + 15, dy + 17.5},
                  {dx + 13, dy + 27},
                  {dx + 20.5, dy + 14.5},
                  {dx + 16, dy + 14.5},
                  {dx + 18.5, dy + 6}}),
         tone({250, 200, 40}));
  c.Fill(Stroke({{dx + 17, dy + 6},
                 {dx + 10.5, dy + 17.5},
                 {dx + 15, dy + 17.5},
                 {dx + 13, dy + 27},
                 {dx + 20.5, dy + 14.5},
                 {dx + 16, dy + 14.5},
                 {dx + 18.5, dy + 6},
                 {dx + 17, dy + 6}},
                0.9),
         tone({150, 95, 10}));
}

// A list sheet whose rows carry the three schedule colours: every event.
void ListSheet(Canvas& c, double dx, double dy, const Tone& tone) {
  c.Fill(Moved(RoundRect(3, 1.5, 21, 22.5, 1.5), dx, dy), tone({95, 100, 115}));
  c.Fill(Moved(Rect(4.2, 2.7, 19.8, 21.3), dx, dy), tone(kWhite));
  const Colour kinds[] = {{220, 40, 40}, {50, 200, 50}, {40, 80, 220}, {220, 40, 40}};
  for (int row = 0; row < 4; ++row) {
    const double y = 5.5 + row * 4.3;
    c.Fill(Disc(dx + 7, dy + y, 1.5), tone(kinds[row]));
    c.Fill(Moved(RoundRect(10, y - 0.8, 18, y + 0.8, 0.6), dx, dy), tone({130, 135, 150}));
  }
}

// A circular arrow: start the schedule again from nothing.
void CircularArrow(Canvas& c, double dx, double dy, const Tone& tone) {
  const double cx = dx + 12, cy = dy + 12.5, radius = 7;
  constexpr double kPi = 3.14159265358979;
  // The ring runs clockwise from the gap's right edge round to its left edge,
  // where the head points on into the gap (angles grow clockwise on screen).
  const double gapFrom = -kPi * 0.62, gapTo = -kPi * 0.28;
  Shape gap = [=](double x, double y) {
    const double angle = std::atan2(y - cy, x - cx);
    return angle > gapFrom && angle < gapTo;
  };
  c.Fill(Minus(Ring(cx, cy, radius - 1.8, radius + 1.8), gap), tone({35, 95, 175}));
  const double ex = cx + radius * std::cos(gapFrom), ey = cy + radius * std::sin(gapFrom);
  const double tx = -std::sin(gapFrom), ty = std::cos(gapFrom);  // along the ring
  const double nx = std::cos(gapFrom), ny = std::sin(gapFrom);   // away from the centre
  c.Fill(Polygon({{ex + tx * 5, ey + ty * 5},
                  {ex + nx * 4.5 - tx, ey + ny * 4.5 - ty},
                  {ex - nx * 4.5 - tx, ey - ny * 4.5 - ty}}),
         tone({35, 95, 175}));
}

// ---- files ----

bool WriteGlyph(const std::string& folder, double scale, const std::string& name, int width, int height,
                const Glyph& glyph, bool withGreyed) {
  Canvas canvas(withGreyed ? width * 2 : width, height, kButtonFace, scale);
  glyph(canvas, 0, 0, Normal);
  if (withGreyed) DrawGreyed(canvas, glyph, width, 0);
  // The transparent key stays in the bottom-left corner.
  canvas.at(0, canvas.height() - 1) = kButtonFace;
  return canvas.WriteBmp(folder + "/" + name);
}

// A banner: deep blue to teal, a shield holding a lightning bolt at the left,
// and a calm power wave running across.
bool WriteHeader(const std::string& folder, double scale) {
  Canvas banner(549, 65, kButtonFace, scale);
  const Colour left{16, 42, 96}, right{18, 128, 150};
  banner.Shade(Rect(0, 0, 549, 65), [&](double x, double y) {
    Colour across = Mix(left, right, x / 549.0);
    return Mix(across, Mix(across, {0, 0, 20}, 0.35), y / 65.0);
  });
  // Soft diagonal light bands.
  for (int band = 0; band < 6; ++band) {
    const double start = 120 + band * 75;
    banner.Fill(Polygon({{start, 0}, {start + 26, 0}, {start - 12, 65}, {start - 38, 65}}), kWhite, 0.04);
  }
  // The power wave: a sine line with a faint glow.
  auto wave = [](double x) { return 36 + 9 * std::sin((x - 90) / 34.0) * std::min(1.0, (x - 90) / 120.0); };
  std::vector<std::pair<double, double>> points;
  for (double x = 90; x <= 549; x += 1.5) points.emplace_back(x, wave(x));
  banner.Fill(Stroke(points, 7), {130, 220, 235}, 0.12);
  banner.Fill(Stroke(points, 2), {170, 235, 245}, 0.55);
  // The shield.
  auto shield = [](double grow) {
    return Polygon({{34, 6 - grow},
                    {55 + grow, 13 - grow * 0.5},
                    {54 + grow, 33},
                    {49 + grow * 0.7, 47 + grow * 0.3},
                    {34, 59 + grow},
                    {19 - grow * 0.7, 47 + grow * 0.3},
                    {14 - grow, 33},
                    {13 - grow, 13 - grow * 0.5}});
  };
  banner.Fill(Moved(shield(2.5), 1.5, 2), {0, 0, 20}, 0.35);  // shadow
  banner.Fill(shield(2.5), {225, 235, 245});
  banner.Shade(shield(0), [](double, double y) {
    return Mix({40, 110, 190}, {15, 50, 110}, (y - 6) / 53.0);
  });
  banner.Fill(Polygon({{37, 13}, {25, 36}, {33, 36}, {29, 53}, {44, 29}, {36, 29}, {41, 13}}),
              {255, 205, 45});
  // A thin light edge at the bottom, where the banner meets the page area.
  banner.Fill(Rect(0, 63, 549, 65), kWhite, 0.18);
  return banner.WriteBmp(folder + "/HeaderSetup.bmp");
}

}  // namespace

int main(int argc, char** argv) {
  const double scale = argc == 3 ? std::atof(argv[2]) : 1.0;
  if (argc < 2 || argc > 3 || scale < 1.0 || scale > 4.0) {
    std::cerr << "usage: make_skin OUTPUT_FOLDER [SCALE from 1 to 4]\n";
    return 2;
  }
  const std::string folder = argv[1];
  const Glyph tick = [](Canvas& c, double dx, double dy, const Tone& t) { CheckMark(c, dx, dy, t); };
  bool ok = WriteHeader(folder, scale);
  ok &= WriteGlyph(folder, scale, "SAVE_BUTTON.bmp", 16, 16, tick, false);
  ok &= WriteGlyph(folder, scale, "CANCEL_BUTTON.bmp", 16, 16, Cross, true);
  ok &= WriteGlyph(folder, scale, "EXIT_BUTTON.bmp", 16, 16, Eraser, false);
  ok &= WriteGlyph(folder, scale, "APPLY_BUTTON.bmp", 16, 16, CalendarTick, true);
  ok &= WriteGlyph(folder, scale, "BATTERY.BMP", 32, 32, Battery, false);
  ok &= WriteGlyph(folder, scale, "VIEWALL_BUTTON.bmp", 24, 24, ListSheet, false);
  ok &= WriteGlyph(folder, scale, "RESET_BUTTON.bmp", 24, 24, CircularArrow, false);
  if (!ok) {
    std::cerr << "make_skin: could not write into " << folder << "\n";
    return 1;
  }
  return 0;
}
