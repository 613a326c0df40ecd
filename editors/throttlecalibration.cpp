#include "editors/throttlecalibration.h"

namespace ostrel {

QString zerotpstext(std::uint8_t livetps, const QString& current) {
  return livetps < 254 ? QString::number(livetps + 2) : current;
}

}  // namespace ostrel
