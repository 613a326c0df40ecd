#include "logger/logdisplay.h"

#include "logger/logsamples.h"

namespace ostrel {

namespace {

constexpr std::uint8_t loggerselector = 1;
constexpr std::uint8_t monitorselector = 4;
constexpr double chartleft = 150.0, chartright = 13170.0;
constexpr double striptop = 992.0, stripbottom = 1060.0, cursortop = 1000.0;

QRectF box(int channel) {
  const int r = channel / 8, c = channel % 8;
  return QRectF(QPointF(30.0 + 1650.0 * c, 80.0 + 500.0 * r), QPointF(1650.0 + 1650.0 * c, 330.0 + 500.0 * r));
}

}  // namespace

int tracecolumn(std::int32_t logindex) {
  return logindex >= 0 ? static_cast<int>(logindex % tracepagecolumns) : 0;
}

TraceStep drawdatastep(std::int32_t logindex, std::uint8_t livemode, const std::array<std::uint8_t, 16>& logcolour,
                       const logsamples& store, double width, double height) {
  TraceStep step;
  step.column = tracecolumn(logindex);
  step.newpage = step.column == 0;
  const double base = height - 200.0;
  const double s = tracescale(height);
  if (step.newpage) {
    step.page = QRectF(QPointF(0.0, striptop), QPointF(width, height));
    step.grid.reserve(101 + 17);
    for (int k = 0; k <= tracepagecolumns; ++k)
      step.grid.push_back({{tracex(k), base}, {tracex(k), base - 256.0 * s}, tracegridcolour});
    for (int k = 0; k <= 16; ++k)
      step.grid.push_back({{chartleft, base - 16.0 * k * s}, {chartright, base - 16.0 * k * s}, tracegridcolour});
  }
  for (int i = 0; i < logchannelcount; ++i) {
    const std::uint32_t colour = logpalettecolour(logcolour[static_cast<std::size_t>(i)]);
    const bool monitored = livemode == monitorselector && i >= 12;
    if (colour == tracewhite && !monitored) continue;
    const int cur = store.getlogdata(logindex - 1, i);
    const int prev = logindex > 2 ? store.getlogdata(logindex - 2, i) : cur;
    step.segments.push_back(
        {{tracex(step.column), tracey(prev, height)}, {tracex(step.column + 1), tracey(cur, height)}, colour});
  }
  step.cursorstrip = QRectF(QPointF(0.0, striptop), QPointF(width, stripbottom));
  const double x = tracex(tracecursorcolumn(logindex));
  step.cursor = {TraceLine{{x - 30.0, cursortop}, {x, stripbottom}, tracecursorcolour},
                 TraceLine{{x + 30.0, cursortop}, {x, stripbottom}, tracecursorcolour}};
  return step;
}

std::vector<ValueBox> logtypedatastep(std::int32_t logindex, std::uint8_t livemode, const LogColumns& columns,
                                      const logsamples& store, const RxFrame& lastreply) {
  std::vector<ValueBox> boxes;
  const int scaled = livemode == loggerselector ? 16 : 12;
  for (int i = 0; i < scaled; ++i) {
    const LogColumn& column = columns[static_cast<std::size_t>(i)];
    const std::uint8_t raw = store.getlogdata(logindex - 1, i);
    ValueBox b;
    b.channel = i;
    b.box = box(i);
    b.text = column.name + QLatin1Char(' ') + column.texts[raw] + QLatin1Char(' ') + column.units;
    b.textpos = QPointF((24.0 - b.text.size()) * 40.0 + 1650.0 * (i % 8) + 60.0, 500.0 * (i / 8) + 100.0);
    b.colour = logpalettecolour(column.colourcode);
    boxes.push_back(b);
  }
  if (livemode == monitorselector) {
    for (int i = 12; i < 16; ++i) {
      ValueBox b;
      b.channel = i;
      b.box = box(i);
      b.text = QString::number(lastreply[static_cast<std::size_t>(i)]);
      b.textpos = QPointF(1650.0 * (i % 8) + 720.0, 500.0 * (i / 8) + 100.0);
      b.colour = tracewhite;
      b.raw = true;
      boxes.push_back(b);
    }
  }
  return boxes;
}

}  // namespace ostrel
