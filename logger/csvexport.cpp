#include "logger/csvexport.h"

#include <cmath>

#include "logger/logsamples.h"
#include "platform/numbers.h"

namespace ostrel {

namespace {

constexpr std::int32_t secondsaday = 86400;
// Seconds the time of day must fall by to be midnight, or rise by to be a step back across midnight.
constexpr std::int32_t midnightfall = secondsaday / 2;
const QByteArray separator = QByteArrayLiteral(", ");
const QByteArray lineend = QByteArrayLiteral("\r\n");

}  // namespace

QByteArray csvtimetext(float time) {
  double v = time;
  if (std::fabs(v) < 1e7) return QByteArray::number(v, 'g', 7);
  // Seven significant digits without the exponent that the general form would switch to.
  const double scale = std::pow(10.0, std::floor(std::log10(std::fabs(v))) - 6.0);
  v = roundhalfeven(v / scale) * scale;
  return QByteArray::number(v, 'f', 0);
}

CsvExport::CsvExport(const logsamples& store, const LogColumns& columns) : store_(store) {
  header_ = QByteArrayLiteral("timestamp");
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const LogColumn& column = columns[c];
    header_ += separator + (column.name + QLatin1Char(' ') + column.units).toUtf8();
    for (int raw = 0; raw < 256; ++raw)
      texts_[c][static_cast<std::size_t>(raw)] =
          logvaluetext(column.scale.value(static_cast<std::uint8_t>(raw)), 2).toLatin1();
  }
  header_ += lineend;
  const std::int32_t first = store.getlogseconds(0);
  if (first >= 0) {
    origin_ = static_cast<float>(first * 1000);
    lastseconds_ = first;
  }
}

QByteArray CsvExport::header() const {
  return header_;
}

void CsvExport::line(std::int32_t sample, float time, QByteArray& out) const {
  out += csvtimetext(time);
  const std::uint8_t* bytes = store_.sampledata(sample);
  for (std::size_t c = 0; c < texts_.size(); ++c) {
    out += separator;
    out += texts_[c][bytes[c]];
  }
  out += lineend;
}

bool CsvExport::step(int count, QByteArray& out) {
  const std::int32_t end = std::min(next_ + count, logsamplecountforcsv);
  for (; next_ < end; ++next_) {
    if (stopped_) continue;
    const std::int32_t i = next_;
    const std::int32_t seconds = store_.getlogseconds(i);
    if (seconds < 0) {
      stopped_ = true;
      continue;
    }
    // Past midnight the time of day starts again. A smaller fall is the clock set back (the end of summer time,
    // by hand, by the network): the times step back with it rather than jumping a day ahead. A large rise is the
    // clock set back across midnight, so the day it had counted comes off again.
    if (lastseconds_ - seconds > midnightfall)
      ++days_;
    else if (seconds - lastseconds_ > midnightfall)
      --days_;
    lastseconds_ = seconds;
    const float ms = static_cast<float>((static_cast<double>(seconds) + double(days_) * secondsaday) * 1000.0);
    if (ms == secondstart_) {
      current_ = current_ + samplestep_;
    } else {
      // The look-ahead stops at the last sample of the store or at one not recorded.
      for (int k = 1; k <= lookahead && i + k < logsamplecountforcsv; ++k) {
        const std::int32_t other = store_.getlogseconds(i + k);
        if (other != seconds) break;
        samplestep_ = static_cast<float>(1000.0 / (k + 1));
      }
      current_ = ms;
      secondstart_ = current_;
    }
    const float time = current_ - origin_;
    line(i, time, out);
  }
  return !finished();
}

QByteArray CsvExport::exporttext(const logsamples& store, const LogColumns& columns) {
  CsvExport exporter(store, columns);
  QByteArray out = exporter.header();
  out.reserve(48000 * 110);
  while (exporter.step(logsamplecountforcsv, out)) {
  }
  return out;
}

}  // namespace ostrel
