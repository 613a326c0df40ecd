#include "editors/throttlecalibration.h"

#include "platform/programstate.h"

namespace ostrel {

QString zerotpstext(std::uint8_t livetps, const QString& current) {
  return livetps < 254 ? QString::number(livetps + 2) : current;
}

void takelivereadings(ProgramState& state, std::uint8_t tps, std::uint8_t pps) {
  state.livetps = tps;
  state.livepps = pps;
  state.livereadingticks = 0;
}

void agelivereadings(ProgramState& state) {
  if (!state.livetps && !state.livepps) return;
  if (++state.livereadingticks > livereadingmaxticks) state.clearlivereadings();
}

std::optional<QString> throttlecalibrationtext(int cell, const ProgramState& state, const QString& current) {
  switch (cell) {
    case throttlecells::zerotps:
      if (state.livetps) return zerotpstext(*state.livetps, current);
      break;
    case throttlecells::zeropps:
      if (state.livepps) return QString::number(*state.livepps);
      break;
    case throttlecells::fulltps:
      if (state.livetps) return QString::number(*state.livetps);
      break;
    default:
      break;
  }
  return std::nullopt;
}

}  // namespace ostrel
