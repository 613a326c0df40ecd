#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "calibration/maps.h"
#include "common/oldcalfile.h"
#include "editorsfixture.h"

namespace ostrel::test {

// Donor calibrations for the map fragment import, written by the program's own writers into a folder of the test.
struct DonorFiles {
  QTemporaryDir dir;

  QString path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

  QString write(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(bytes);
    return path(name);
  }

  // A version 2.6 donor: every cell of every map set from its map, row and column, so no two maps look alike.
  QString current(const QString& name, maps& donor) const {
    for (int map = 0; map < mapcount; ++map)
      for (int row = 0; row < donor.getmaprows(map); ++row)
        for (int col = 0; col < donor.getmapcols(map); ++col)
          donor.setdata(map, row, col, map == 0 ? 4000 + 97 * row + col : (map * 7 + row * 3 + col) % 256, false);
    donor.savefile(path(name));
    return path(name);
  }

  QString old(const QString& name, const OldCalibration& cal) const { return write(name, olds20(cal)); }
};

}  // namespace ostrel::test
