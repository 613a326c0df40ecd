#include "common/testrig.h"

#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>

#include "platform/installfolder.h"

namespace ostrel::test {

bool writecomports(const QString& device) {
  QFile file(installpath(QStringLiteral("comports.txt")));
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(device.toUtf8() + "\n") > 0;
}

PtyLine::PtyLine(ecusim::EcuSimulator& sim) : server(sim) {
  opened = server.open(&error);
  if (opened && !writecomports(device())) {
    opened = false;
    error = "comports.txt could not be written";
  }
}

RigParts::RigParts(std::uint32_t seed, StartImage start) : RigBase(seed) {
  if (start == StartImage::blank) return;
  if (!mainmaps.openfile(sourcepath(QStringLiteral("data/lastsaved.s26")), true, false))
    ADD_FAILURE() << "the shipped calibration did not open";
  sim.setimage(mainmaps.getimage());
}

bool RigParts::writecomports(const QString& device) const {
  return test::writecomports(device);
}

std::vector<std::uint8_t> RigParts::simrow(int row) const {
  return {sim.image().begin() + 16 * row, sim.image().begin() + 16 * row + 16};
}

std::vector<std::uint8_t> RigParts::modelrow(int row) const {
  std::vector<std::uint8_t> bytes;
  for (int j = 0; j < 16; ++j) bytes.push_back(mainmaps.getmapbufferbyte(row, j));
  return bytes;
}

bool RigParts::simholdsmodel() const {
  const CalibrationImage mine = mainmaps.getimage();
  return std::equal(mine.begin(), mine.end(), sim.image().begin());
}

void Rig::connect() {
  link.openport();
  tick(5);
}

void Rig::tick(int ticks) {
  for (int i = 0; i < ticks; ++i) {
    link.tick();
    port.step();
  }
}

bool PtyRig::tick() {
  const int requests = sim.requests();
  const auto sent = link.framessent();
  link.tick();
  if (!state.online || !answering) return true;
  return server.answertick(requests, link.framessent() != sent);
}

bool PtyRig::tick(int ticks) {
  for (int i = 0; i < ticks; ++i)
    if (!tick()) return false;
  return true;
}

}  // namespace ostrel::test
