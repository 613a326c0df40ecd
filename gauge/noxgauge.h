#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

#if defined(NOXGAUGE_LIBRARY)
#define NOXGAUGE_EXPORT Q_DECL_EXPORT
#else
#define NOXGAUGE_EXPORT Q_DECL_IMPORT
#endif

class QPaintEvent;

namespace nox {

// The name under which hosts know the gauge.
inline constexpr char noxgaugeclassname[] = "NoxVirtualGauge.NoxGauge";

// A needle gauge with a 0..100 scale, three coloured zones, up to ten scale labels and a title. The host
// sets it up with the setters, draws it once in full with paintGauge(true) and then moves the needle with
// setNoxGaugeSetPointAndDraw, which redraws only the inner dial. Colours are 0x00BBGGRR.
class NOXGAUGE_EXPORT NoxGauge : public QWidget {
  Q_OBJECT

 public:
  explicit NoxGauge(QWidget* parent = nullptr);
  ~NoxGauge() override;

  // Moves the needle to setpoint (0..100 on the scale, rounded half to even) and redraws the inner dial.
  // redraw is accepted for the host's sake; the inner dial is always what is redrawn. A setpoint outside
  // 0..255 changes nothing, draws nothing and returns false.
  bool setNoxGaugeSetPointAndDraw(float setpoint, bool redraw);

  // Draws the gauge: everything when repaint is true, else only the inner dial.
  void paintGauge(bool repaint);

  // Stores the seven colours; draws nothing.
  void setNoxGaugeColors(std::uint32_t backColor, std::uint32_t faceColor, std::uint32_t needleColor,
                         std::uint32_t needleCenterColor, std::uint32_t lowZoneColor, std::uint32_t midZoneColor,
                         std::uint32_t highZoneColor);

  // Reads ten comma-terminated scale labels, lowest value first ("X" for an unused one), and then the title,
  // e.g. "0,10,20,30,40,50,60,70,80,X,RPM". A text with fewer than ten commas gives the labels 0 to 100 and
  // the title "Brackwen". Draws nothing.
  void setNoxGaugeStrings(const QString& str);

  // Stores the three zone starts (each limited to 1..80) and the number of minor graduations between two
  // labels. Draws nothing. A value outside 0..255 after rounding changes nothing and returns false.
  bool setNoxGaugeSetZones(float zonelowstart, float zonemidstart, float zonehighstart, float intergraduations);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool setPointValue(float value);

  struct Parts;
  std::unique_ptr<Parts> d_;
};

}  // namespace nox
