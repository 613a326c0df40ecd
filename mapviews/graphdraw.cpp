#include "mapviews/graphdraw.h"

#include "platform/ui/picturesurface.h"

namespace ostrel {

QString graphtitle(const QString& definition) {
  const int colon = definition.indexOf(QLatin1Char(':'));
  const int underscore = definition.indexOf(QLatin1Char('_'));
  if (colon < 0 || underscore <= colon) return {};
  return definition.mid(colon + 1, underscore - colon - 1);
}

void GraphScene::clear() {
  shapes.clear();
  texts.clear();
  setsbackcolor = false;
}

void GraphScene::box(double x1, double y1, double x2, double y2, std::uint32_t color) {
  shapes.push_back({GraphShape::Kind::box, 1, color, x1, y1, x2, y2, -1});
}

void GraphScene::line(double x1, double y1, double x2, double y2, std::uint32_t color, int width) {
  shapes.push_back({GraphShape::Kind::line, static_cast<std::uint8_t>(width), color, x1, y1, x2, y2, -1});
}

void GraphScene::circle(double x, double y, double radius, std::uint32_t color) {
  shapes.push_back({GraphShape::Kind::circle, 1, color, x, y, radius, 0, -1});
}

void GraphScene::print(double x, double y, const QString& text, int points, bool bold, std::uint32_t color) {
  shapes.push_back({GraphShape::Kind::text, 1, color, x, y, 0, 0, static_cast<int>(texts.size())});
  texts.push_back({text, points, bold});
}

std::vector<GraphShape> GraphScene::of(GraphShape::Kind kind) const {
  std::vector<GraphShape> out;
  for (const GraphShape& s : shapes)
    if (s.kind == kind) out.push_back(s);
  return out;
}

void paintscene(PictureSurface& picture, const GraphScene& scene) {
  if (scene.setsbackcolor) picture.setbackcolor(scene.backcolor);
  PictureSurface::Batch batch(picture);
  for (const GraphShape& s : scene.shapes) {
    switch (s.kind) {
      case GraphShape::Kind::box:
        picture.fillbox(s.x1, s.y1, s.x2, s.y2, s.color);
        break;
      case GraphShape::Kind::line:
        picture.drawwidth = s.width;
        picture.line(s.x1, s.y1, s.x2, s.y2, s.color);
        break;
      case GraphShape::Kind::circle:
        picture.drawwidth = s.width;
        picture.circle(s.x1, s.y1, s.x2, s.color);
        break;
      case GraphShape::Kind::text: {
        const GraphText& t = scene.texts[static_cast<std::size_t>(s.text)];
        picture.setfont(QString::fromLatin1(graphfont), t.points, t.bold, false);
        picture.forecolor = s.color;
        picture.currentx = s.x1;
        picture.currenty = s.y1;
        picture.print(t.text);
        break;
      }
    }
  }
  picture.drawwidth = 1;
}

}  // namespace ostrel
