#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

class QPainter;

namespace ostrel {

// A picture box that keeps what was drawn on it: every drawing call paints into a persistent image, and the widget
// shows that image. Positions are twips (15 to a pixel, converted per coordinate), colours 0x00BBGGRR, fonts in
// points at 96 dpi. Like the picture boxes the program was drawn for, it carries a fore colour, a line width, a
// font and a current position that later calls use, and text is printed with its top-left corner at the current
// position.
class PictureSurface : public QWidget {
  Q_OBJECT

 public:
  explicit PictureSurface(QWidget* parent = nullptr);
  ~PictureSurface() override;

  // Size of the picture in twips.
  int widthtwips() const;
  int heighttwips() const;
  const QImage& image() const { return image_; }

  // Colour of the picture where nothing was drawn yet (also what a grown picture is filled with).
  void setbackcolor(std::uint32_t bgr);
  std::uint32_t backcolor() const { return backcolor_; }

  // Drawing state that later calls use.
  std::uint32_t forecolor = 0;
  int drawwidth = 1;  // pixels
  double currentx = 0;
  double currenty = 0;
  // The font for print. A face that is missing falls back to a sans-serif face, narrowed where needed to the
  // digit width of Arial (of Arial Narrow for that face), so that texts placed for Arial keep to their columns.
  void setfont(const QString& family, int points, bool bold, bool italic);
  const QFont& font() const { return font_; }

  // A box filled in the colour, both corners included, so that boxes laid edge to edge leave no seam.
  void fillbox(double x1, double y1, double x2, double y2, std::uint32_t bgr);
  // A straight line in the colour, drawwidth pixels wide.
  void line(double x1, double y1, double x2, double y2, std::uint32_t bgr);
  // The outline of a circle in the colour, drawwidth pixels wide; centre and radius in twips.
  void circle(double x, double y, double radius, std::uint32_t bgr);
  // A picture with its top-left corner at (x, y).
  void paintpicture(const QImage& picture, double x, double y);
  // Text in the fore colour and font, top-left corner at the current position; afterwards the current position is
  // the start of the next line (x 0, y one line lower).
  void print(const QString& text);

  // Drawing calls made while a Batch lives share one painter, which is much cheaper for a run of small shapes.
  class Batch {
   public:
    explicit Batch(PictureSurface& surface);
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    PictureSurface& surface_;
  };

 signals:
  // The picture received the input focus.
  void focusreceived();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  QPainter& painter();
  void release();
  void touched(const QRect& pixels);

  QImage image_;
  std::uint32_t backcolor_ = 0xFFFFFF;
  QFont font_;
  std::unique_ptr<QPainter> painter_;  // open while a Batch lives or during one call
  int batches_ = 0;
  QRect dirty_;  // pixels drawn since the last repaint request
};

}  // namespace ostrel
