#include "logger/logchannels.h"


#include "calibration/maps.h"
#include "calibration/settings.h"
#include "platform/numbers.h"
#include "platform/programstate.h"

namespace ostrel {

namespace {

constexpr int airfuelvariable = 1;
constexpr int externalairfuelvariable = 37;
constexpr int airfuelmap = 19;

}  // namespace

LogVariables parselogvariables(const QString& list) {
  LogVariables result;
  const int semicolon = list.indexOf(QLatin1Char(';'));
  if (semicolon < 0) return result;
  const int total = list.left(semicolon).trimmed().toInt();
  const int wanted = std::min(static_cast<int>(roundclamp(total * 0.5, 0, 255)), loglivevariables);
  int from = semicolon + 1;
  for (int k = 0; k < wanted; ++k) {
    const int colon = list.indexOf(QLatin1Char(':'), from);
    if (colon < 0) break;
    const QString item = list.mid(from, std::max(0, colon - from - 2));
    from = colon + 1;
    const auto i = static_cast<std::size_t>(k);
    result.items[i] = item;
    const int paren = item.indexOf(QLatin1Char('('));
    if (paren >= 0) {
      result.names[i] = item.left(std::max(0, paren - 1));
      result.units[i] = item.mid(paren);
    } else {
      result.names[i] = item;
      result.units[i] = QStringLiteral("( )");
    }
    result.count = k + 1;
  }
  return result;
}

LogVariables logvariables(const settings& tables) {
  return parselogvariables(tables.getvarsstring());
}

std::uint8_t nextlogcolour(const std::array<std::uint8_t, 16>& logcolour, int channel) {
  const auto next = [](int c) { return c + 1 >= 17 ? 0 : c + 1; };
  int c = next(logcolour[static_cast<std::size_t>(channel)]);
  for (int j = 0; j < 16;) {
    if (logcolour[static_cast<std::size_t>(j)] == c && c < 16) {
      c = next(c);
      j = 0;
    } else {
      ++j;
    }
  }
  return static_cast<std::uint8_t>(c);
}

ChannelScale channelscale(const settings& tables, const maps& model, int variable, bool metric, int fueltype) {
  ChannelScale scale;
  scale.multiplier = tables.getvarsmul(variable, metric);
  if (variable == airfuelvariable || variable == externalairfuelvariable)
    scale.multiplier = static_cast<float>(model.getspecialmul(airfuelmap, fueltype) * 0.01);
  scale.offset = tables.getvarsoffset(variable, metric);
  scale.decimals = decimalsforscale(scale.multiplier);
  return scale;
}

QString logvaluetext(float value, int decimals) {
  return formatfixed(value, decimals);
}

LogColumns logcolumns(const ProgramState& state, const settings& tables, const maps& model,
                      const LogVariables& variables, int fixeddecimals) {
  LogColumns columns;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    LogColumn& column = columns[c];
    column.variable = state.logvar[c] < loglivevariables ? state.logvar[c] : 0;
    column.name = variables.names[column.variable];
    column.units = variables.units[column.variable];
    column.scale =
        channelscale(tables, model, column.variable, state.preferences.metricunits, state.preferences.fueltype);
    if (fixeddecimals >= 0) column.scale.decimals = fixeddecimals;
    column.colourcode = state.logcolour[c];
    for (int raw = 0; raw < 256; ++raw)
      column.texts[static_cast<std::size_t>(raw)] =
          logvaluetext(column.scale.value(static_cast<std::uint8_t>(raw)), column.scale.decimals);
  }
  return columns;
}

std::optional<QString> logdurationtext(std::int32_t position) {
  if (position < 0) return std::nullopt;
  const std::int32_t minutes = (position + 1) / 800;
  return QStringLiteral("%1 minutes logged, %2 minutes remaining").arg(minutes).arg(60 - minutes);
}

int logfillbar(std::int32_t position) {
  return position < 0 ? 0 : static_cast<int>(roundclamp(position / 100.0, 0, 480));
}

LogRequestTable logrequesttable(const LogRequestTable& current, const settings& tables,
                                const std::array<std::uint8_t, 16>& logvar, bool metric, std::uint8_t livemode) {
  LogRequestTable table = current;
  const int channels = livemode == 1 ? 16 : 12;
  for (int i = 0; i < channels; ++i) {
    const std::int32_t address = tables.getvarsaddress(logvar[static_cast<std::size_t>(i)], metric);
    setrequestaddress(table, i, static_cast<std::uint16_t>(address & 0xFFFF));
  }
  return table;
}

std::optional<std::uint16_t> parsemonitoraddress(const QString& text) {
  const QString digits = text.trimmed();
  if (digits.isEmpty()) return std::nullopt;
  std::uint32_t value = 0;
  for (QChar ch : digits) {
    const char16_t u = ch.unicode();
    std::uint32_t digit = 0;
    if (u >= u'0' && u <= u'9')
      digit = u - u'0';
    else if (u >= u'a' && u <= u'f')
      digit = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
      digit = u - u'A' + 10;
    else
      return std::nullopt;
    value = value * 16 + digit;
    if (value > 0xFFFF) return std::nullopt;
  }
  return static_cast<std::uint16_t>(value);
}

LogRequestTable monitorrequesttable(const LogRequestTable& current, const std::array<QString, 4>& texts) {
  LogRequestTable table = current;
  for (int k = 0; k < 4; ++k)
    if (const auto address = parsemonitoraddress(texts[static_cast<std::size_t>(k)]))
      setrequestaddress(table, 12 + k, *address);
  return table;
}

}  // namespace ostrel
