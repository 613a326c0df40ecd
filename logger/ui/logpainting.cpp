#include "logger/ui/logpainting.h"

#include "platform/ui/picturesurface.h"

namespace ostrel {

namespace {

void drawline(PictureSurface& picture, const TraceLine& line) {
  picture.line(line.from.x(), line.from.y(), line.to.x(), line.to.y(), line.colour);
}

void fill(PictureSurface& picture, const QRectF& area, std::uint32_t colour) {
  picture.fillbox(area.left(), area.top(), area.right(), area.bottom(), colour);
}

}  // namespace

void paintvalueboxes(PictureSurface& picture, const std::vector<ValueBox>& boxes) {
  PictureSurface::Batch batch(picture);
  // Looking a face up is dear; the font changes only where the monitor's raw bytes begin.
  int current = -1;
  for (const ValueBox& b : boxes) {
    fill(picture, b.box, valueboxcolour);
    if (current != static_cast<int>(b.raw)) {
      if (b.raw)
        picture.setfont(QStringLiteral("Arial"), 10, false, false);
      else
        picture.setfont(QStringLiteral("Arial Narrow"), 9, false, false);
      current = static_cast<int>(b.raw);
    }
    picture.forecolor = b.colour;
    picture.currentx = b.textpos.x();
    picture.currenty = b.textpos.y();
    picture.print(b.text);
  }
}

void painttracestep(PictureSurface& picture, const TraceStep& step) {
  PictureSurface::Batch batch(picture);
  if (step.newpage) {
    fill(picture, step.page, tracebackgroundcolour);
    for (const TraceLine& line : step.grid) drawline(picture, line);
  }
  for (const TraceLine& line : step.segments) drawline(picture, line);
  fill(picture, step.cursorstrip, tracebackgroundcolour);
  for (const TraceLine& line : step.cursor) drawline(picture, line);
}

}  // namespace ostrel
