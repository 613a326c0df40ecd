#include "editors/pagefont.h"

#include <QFontInfo>
#include <QStringList>

namespace ostrel {

QFont pagefont() {
  const QStringList arialwide{QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                              QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")};
  QFont font;
  font.setFamilies(arialwide);
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(8);
  if (!arialwide.contains(QFontInfo(font).family())) font.setStretch(QFont::SemiCondensed);
  return font;
}

}  // namespace ostrel
