#include "livewindows/pictureplan.h"

#include "platform/ui/picturesurface.h"

namespace ostrel {

namespace {

class Painter {
 public:
  explicit Painter(PictureSurface& picture) : picture(picture) {}

  void operator()(const PlanBox& box) { picture.fillbox(box.x1, box.y1, box.x2, box.y2, box.colour); }
  void operator()(const PlanLine& line) {
    picture.drawwidth = line.width;
    picture.line(line.x1, line.y1, line.x2, line.y2, line.colour);
  }
  void operator()(const PlanText& text) {
    picture.forecolor = text.colour;
    if (text.font != font || text.points != points || text.bold != bold) {
      picture.setfont(text.font, text.points, text.bold, false);
      font = text.font;
      points = text.points;
      bold = text.bold;
    }
    picture.currentx = text.x;
    picture.currenty = text.y;
    picture.print(text.text);
  }

 private:
  PictureSurface& picture;
  // The font last set, so that a run of texts in one font sets it once.
  QString font;
  int points = 0;
  bool bold = false;
};

}  // namespace

void paintplan(PictureSurface& picture, const PicturePlan& plan) {
  PictureSurface::Batch batch(picture);
  Painter painter(picture);
  for (const PlanShape& shape : plan) std::visit(painter, shape);
}

}  // namespace ostrel
