#include "livewindows/fastverify.h"

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "link/eculink.h"
#include "platform/programstate.h"

namespace ostrel {

namespace {
const QString crlf = QStringLiteral("\r\n");
}

FastVerify::FastVerify(ProgramState& state, const EcuLink& link, const maps& mainmaps)
    : state_(state), link_(link), mainmaps_(mainmaps) {}

void FastVerify::start() {
  state_.curmap = 0;
  fvfailures_ = 0;
  mismatchticks_ = 0;
  progress_ = 0;
  lines_.fill(QString());
  report_ = QStringLiteral("Verify status:") + crlf;
  failures_ = report_;
}

QString FastVerify::shortname(const QString& definition) {
  const qsizetype semicolon = definition.indexOf(QLatin1Char(';'));
  return semicolon < 0 ? definition : definition.left(semicolon);
}

QString FastVerify::endmessage(End end) {
  switch (end) {
    case End::terminated:
      return QStringLiteral(
          "More than 5 maps/settings groups loaded in the PC software are different as those in the ECU. The fast "
          "verify has been terminated");
    case End::notsame:
      return QStringLiteral("Not all maps/settings groups loaded in the PC software are the same as those in the ECU");
    case End::none:
    case End::passed:
      break;
  }
  return {};
}

void FastVerify::addline(const QString& line) {
  for (int i = 0; i + 1 < reportlines; ++i) lines_[i] = lines_[i + 1];
  lines_[reportlines - 1] = line;
  report_.clear();
  for (const QString& l : lines_) report_ += l;
}

FastVerify::End FastVerify::step() {
  if (state_.curmap == 0) lines_.fill(QString());
  const std::uint8_t map = state_.curmap;
  const QString name = shortname(shownmapname(mainmaps_, state_.guards, map));
  progress_ = map;

  // Only a checksum that answers a request for this very map counts: right after the step to the next map the
  // link still holds the previous map's, which must not pass a map that happens to have the same contents.
  const bool same = link_.ecuchecksumcurrent() && mainmaps_.getchecksum(map) == link_.live().ecuchecksum;
  if (!same) {
    if (++mismatchticks_ < failticks) return End::none;
    const QString line = name + QStringLiteral(": fast verify failed") + crlf;
    failures_ += line;
    addline(line);
    if (state_.curmap < lastmap) ++state_.curmap;
    mismatchticks_ = 0;
    state_.syncerrticks = 0;
    ++fvfailures_;
    // A sixth failure at the last map ends with this message alone.
    if (fvfailures_ > maxfailures) return End::terminated;
    if (state_.curmap == lastmap) return End::notsame;
    return End::none;
  }

  mismatchticks_ = 0;
  state_.syncerrticks = 0;
  addline(name + QStringLiteral(": fast verified") + crlf);
  if (state_.curmap < lastmap) ++state_.curmap;
  if (state_.curmap == lastmap) return fvfailures_ > 0 ? End::notsame : End::passed;
  return End::none;
}

}  // namespace ostrel
