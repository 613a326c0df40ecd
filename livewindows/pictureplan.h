#pragma once

#include <QString>
#include <cstdint>
#include <variant>
#include <vector>

namespace ostrel {

class PictureSurface;

// What a window draws on its picture, planned apart from the widget so that the geometry can be tested headless.
// Positions in twips, colours 0x00BBGGRR; shapes are drawn in the order of the plan.
struct PlanBox {  // a filled box
  double x1, y1, x2, y2;
  std::uint32_t colour;
  bool operator==(const PlanBox&) const = default;
};
struct PlanLine {
  double x1, y1, x2, y2;
  std::uint32_t colour;
  int width;  // pixels
  bool operator==(const PlanLine&) const = default;
};
struct PlanText {  // text with its top-left corner at (x, y)
  double x, y;
  QString text;
  std::uint32_t colour;
  QString font;
  int points;
  bool bold;
  bool operator==(const PlanText&) const = default;
};
using PlanShape = std::variant<PlanBox, PlanLine, PlanText>;
using PicturePlan = std::vector<PlanShape>;

// Draws the plan on the picture in one batch.
void paintplan(PictureSurface& picture, const PicturePlan& plan);

}  // namespace ostrel
