#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace ostrel {

class PictureSurface;

// The interpolate, copy, learn and auto-tune tools' work copy of a map: raw values indexed (i, j) like the map's
// cells (a 2-D table uses its entries (0, c)). The graphs draw it in place of the map's values when given one.
using WorkCopy = std::array<std::array<std::int32_t, 32>, 32>;

// Text colours of the graphs (0x00BBGGRR): titles and legend, and the mixture text.
inline constexpr std::uint32_t titlecolor = 0x0030B0B0;    // red 176, green 176, blue 48
inline constexpr std::uint32_t mixturecolor = 0x0070F0F0;  // red 240, green 240, blue 112
inline constexpr auto graphfont = "Arial Narrow";

// The title a graph shows for a map definition "group:name;units_multiplier|offset": the text between the first
// ":" and the first "_" (the name with its axes and units). A definition without either, or with the "_" first,
// gives an empty title.
QString graphtitle(const QString& definition);

// One drawing step of a graph, in twips and 0x00BBGGRR.
struct GraphShape {
  enum class Kind : std::uint8_t { box, line, circle, text };
  Kind kind = Kind::line;
  std::uint8_t width = 1;  // pixels, for lines and circles
  std::uint32_t color = 0;
  // Box: two corners. Line: the two ends. Circle: centre (x1, y1), radius x2. Text: top-left corner (x1, y1).
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int text = -1;  // index into GraphScene::texts
};

struct GraphText {
  QString text;
  int points = 8;
  bool bold = false;
};

// What one call of a graph draws, in order, before it reaches a picture: the graphs plan into a scene and the
// scene is painted, so every step can be checked without a window. A scene is reused from call to call, so that a
// live refresh allocates nothing once it has grown.
struct GraphScene {
  std::vector<GraphShape> shapes;
  std::vector<GraphText> texts;
  // The back colour the picture (and the window around it) take; set by a drawing that clears the picture.
  bool setsbackcolor = false;
  std::uint32_t backcolor = 0;

  void clear();
  void box(double x1, double y1, double x2, double y2, std::uint32_t color);
  void line(double x1, double y1, double x2, double y2, std::uint32_t color, int width = 1);
  void circle(double x, double y, double radius, std::uint32_t color);
  // Text in the graphs' font at the given size, top-left corner at (x, y).
  void print(double x, double y, const QString& text, int points, bool bold, std::uint32_t color);

  // The shapes of one kind, in order (for checks).
  std::vector<GraphShape> of(GraphShape::Kind kind) const;
};

// Paints the scene onto the picture in one batch.
void paintscene(PictureSurface& picture, const GraphScene& scene);

}  // namespace ostrel
