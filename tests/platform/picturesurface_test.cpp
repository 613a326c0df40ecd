#include "platform/ui/picturesurface.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cstddef>
#include <cstring>
#include <new>

#include "platform/colors.h"

using namespace ostrel;

namespace {

// Pixels of the rectangle that are not the colour.
int pixelsnot(const QImage& image, const QRect& rect, std::uint32_t bgr) {
  const QRgb want = bgrtocolor(bgr).rgb();
  int count = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x) count += image.pixel(x, y) != want;
  return count;
}

}  // namespace

TEST(PictureSurface, AFreshPictureIsAllBackColourWhateverTheMemoryHeldBefore) {
  // Built over memory full of a pattern, so that a member read before it is set shows up as the pattern's colour.
  alignas(PictureSurface) std::byte storage[sizeof(PictureSurface)];
  std::memset(storage, 0x5A, sizeof storage);
  auto* surface = new (storage) PictureSurface;
  const QImage image = surface->image();
  EXPECT_EQ(surface->backcolor(), 0xFFFFFFu);
  EXPECT_FALSE(image.isNull());
  EXPECT_EQ(pixelsnot(image, image.rect(), 0xFFFFFF), 0);
  surface->~PictureSurface();
}

TEST(PictureSurface, AGrownPictureKeepsItsDrawingAndFillsTheRestWithTheBackColour) {
  PictureSurface surface;
  surface.resize(40, 30);
  surface.show();  // a hidden widget takes its new size only when shown
  surface.fillbox(0, 0, 39 * 15, 29 * 15, 0x0000FF);
  surface.setbackcolor(0x00FF00);
  surface.resize(60, 50);
  const QImage image = surface.image();
  ASSERT_EQ(image.size(), QSize(60, 50));
  EXPECT_EQ(pixelsnot(image, QRect(0, 0, 40, 30), 0x0000FF), 0);
  EXPECT_EQ(pixelsnot(image, QRect(40, 0, 20, 50), 0x00FF00), 0);
  EXPECT_EQ(pixelsnot(image, QRect(0, 30, 40, 20), 0x00FF00), 0);
}
