#include "gauge/gaugepaint.h"

#include <utility>

namespace nox {

namespace {

constexpr bgr white = 0xFFFFFF;
constexpr bgr overrangecolor = 0x3080FF;

// The shading ring: 16 arcs in the first colour, 51 in the second, 6 in the third, each 2 twips inside
// the one before, from arcStart to arcEnd. The arcs of one colour overlap into one band, drawn as one shape (a
// thousand separate arcs made a full repaint slow); the radius lines of an arc with a negative end angle are still
// drawn one by one, since their overlapping edges are what makes them show.
void shadering(SurfacePainter& pic, const Dial& dial, const GaugeState& st, bgr outer, bgr middle, bgr inner) {
  struct Run {
    int count;
    bgr colour;
  };
  const Run runs[] = {{16, outer}, {51, middle}, {6, inner}};
  constexpr double step = 2;
  const bool radiuslines = st.arcStart < 0 || st.arcEnd < 0;
  double r = dial.radius(0.37);
  for (const Run& run : runs) {
    pic.band(dial.centre(), r, r - step * (run.count - 1), run.colour, st.arcStart, st.arcEnd);
    for (int k = 0; k < run.count; ++k) {
      if (radiuslines) pic.radiuslines(dial.centre(), r, run.colour, st.arcStart, st.arcEnd);
      r -= step;
    }
  }
}

void drawbackground(SurfacePainter& pic, GaugeSurface& surface, const Dial& dial, GaugeState& st) {
  const double w = dial.w;
  const double h = dial.h;
  const bgr back = st.backColor;
  const bgr face = st.faceColor;
  const auto band = [&](int i) {
    pic.box(0, i * h / 10 + 130, w, (i + 1) * h / 10 + 130, blendColor(back, white, 100.0f - 1.5f * i));
  };

  pic.box(0, 0, w, h, back);
  for (int i = 0; i <= 9; ++i) band(i);

  // Dial, then the lower bands again to give it a flat bottom.
  const bgr rim = blendColor(back, face, 40);
  surface.drawwidth = 2;
  surface.fillsolid = true;
  surface.fillcolor = back;
  const double rr = dial.radius(0.4);
  pic.circle(dial.centre(), rr, rim);
  for (int i = 7; i <= 9; ++i) band(i);

  // Graduations outside the rim, labels around them.
  st.arcStart = 1.065f;
  st.arcEnd = 5.205f;
  surface.drawwidth = 2;
  for (const Graduation& g : graduations(st.labelCount, st.intergraduations)) {
    const double outer = g.labelled ? 1.1 : 1.07;
    pic.line(dial.point(rr, g.angle), dial.point(outer * rr, g.angle), rim);
    if (!g.labelled) continue;
    const QString& text = st.labels.at(static_cast<std::size_t>(g.label));
    const QPointF at = dial.point(1.24 * rr, g.angle);
    pic.print(at.x() - 45.0 * text.size(), at.y() - 80, text, rim, 8, true);
  }

  // Highlight on the upper left, then shading passes round the bottom and right, each shorter and brighter.
  surface.fillsolid = true;
  surface.drawwidth = 2;
  st.arcStart = 1.5f;
  st.arcEnd = 3.0f;
  shadering(pic, dial, st, blendColor(back, face, 90), blendColor(back, face, 60), blendColor(back, face, 40));
  std::swap(st.arcStart, st.arcEnd);
  for (int j = 0; j <= 12; ++j) {
    shadering(pic, dial, st, blendColor(back, face, 90.0f - 5 * j), blendColor(back, face, 60.0f - 4 * j),
              blendColor(back, face, 40.0f - 3 * j));
    st.arcStart += 0.13f;
    st.arcEnd -= 0.13f;
  }
}

void drawinnerdial(SurfacePainter& pic, GaugeSurface& surface, const Dial& dial, const GaugeState& st) {
  const double h = dial.h;
  const QPointF c = dial.centre();
  const bgr back = st.backColor;
  const bgr face = st.faceColor;
  const bgr hub = st.needleCenterColor;
  const bgr needle = st.needleColor;

  // Inner disc: covers the previous needle.
  const bgr disc = blendColor(back, face, 5);
  surface.fillcolor = disc;
  pic.circle(c, dial.radius(0.32), disc);

  // Zone bands: pie slices from just above 3 o'clock back to each zone's start, hollowed out; later
  // bands overdraw earlier ones.
  const std::pair<std::uint8_t, bgr> zones[] = {
      {st.zoneLowStart, st.lowZoneColor}, {st.zoneMidStart, st.midZoneColor}, {st.zoneHighStart, st.highZoneColor}};
  surface.drawwidth = 1;
  for (const auto& [start, colour] : zones) {
    const auto end = static_cast<float>(-zoneedgeangle(start));
    surface.fillcolor = blendColor(face, colour, 20);
    pic.arc(c, dial.radius(0.31), blendColor(face, colour, 70), -0.01f, end);
    surface.fillcolor = blendColor(back, face, 5);
    pic.arc(c, dial.radius(0.25), blendColor(face, colour, 70), -0.01f, end);
  }

  // Fixed over-range band below 3 o'clock.
  surface.fillcolor = blendColor(face, overrangecolor, 1);
  pic.arc(c, dial.radius(0.31), blendColor(face, overrangecolor, 70), -5.75f, -6.28f);
  surface.fillcolor = blendColor(back, face, 1);
  pic.arc(c, dial.radius(0.25), blendColor(face, overrangecolor, 70), -5.75f, -6.28f);

  // Face rings.
  surface.drawwidth = 5;
  const std::pair<double, float> rings[] = {{0.23, 5.0f}, {0.19, 3.0f}, {0.11, 0.0f}};
  for (const auto& [k, backshare] : rings) {
    const bgr colour = blendColor(back, face, backshare);
    surface.fillcolor = colour;
    pic.circle(c, dial.radius(k), colour);
  }

  pic.print(dial.w / 2 - 68.0 * st.title.size(), 130 + 0.69 * h, st.title, blendColor(back, face, 70), 10, true);

  // Hub.
  surface.drawwidth = 2;
  const bgr hubouter = blendColor(face, hub, 50);
  surface.fillcolor = hubouter;
  pic.circle(c, h / 15, hubouter);
  const bgr hubinner = blendColor(face, hub, 10);
  surface.fillcolor = hubinner;
  pic.circle(c, h / 18, hubinner);

  // Needle: a fan of lines from tip to tail, then the two closing lines of its outline.
  const double a = valueToAngle(st.setpoint);
  const double rt = dial.radius(0.29);
  const double rb = dial.radius(0.1);
  std::array<QPointF, needlelines.size()> tips;
  std::array<QPointF, needlelines.size()> tails;
  for (std::size_t i = 0; i < needlelines.size(); ++i) {
    const NeedleLine& l = needlelines[i];
    tips[i] = dial.point(rt, a + l.d);
    tails[i] = dial.point(rb, a + l.d + needlepi + l.e);
    surface.drawwidth = l.width;
    pic.line(tips[i], tails[i], blendColor(hub, needle, l.hubshare));
  }
  const bgr outline = blendColor(hub, needle, 70);
  surface.drawwidth = 1;
  pic.line(tips[8], tips[7], outline);
  pic.line(tails[7], tails[8], outline);
}

}  // namespace

void drawgauge(GaugeSurface& surface, GaugeState& state, bool repaint) {
  SurfacePainter pic(surface);
  // Size read afresh: the surface is what the gauge is drawn for.
  const Dial dial{surface.width(), surface.height()};
  if (repaint) drawbackground(pic, surface, dial, state);
  drawinnerdial(pic, surface, dial, state);
}

}  // namespace nox
