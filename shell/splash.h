#pragma once

#include <QWidget>

class QTimer;

namespace ostrel {

inline constexpr int versionmajor = 2;
inline constexpr int versionminor = 64;
inline constexpr int revision = 8;

// "VELKOR OSTREL V2.64 revision 8" as the captions show it.
QString versiontext();

// The splash window: centred across and a third from the top, its caption gaining a dot and the window creeping
// 10 twips down on every tick of its 100 ms timer, which runs from its creation.
class frmSplash : public QWidget {
  Q_OBJECT

 public:
  static constexpr int tickinterval = 100;
  static constexpr int creeptwips = 10;

  explicit frmSplash(QWidget* parent = nullptr);

  QTimer* Timer1 = nullptr;

  // Timer1's step; the timer calls it, tests may too.
  void tick();
  int ticks() const { return ticks_; }
  int lefttwips() const { return lefttwips_; }
  int toptwips() const { return toptwips_; }

 signals:
  void ticked(int count);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void place();

  int ticks_ = 0;
  int lefttwips_ = 0;
  int toptwips_ = 0;
};

}  // namespace ostrel
