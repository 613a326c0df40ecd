#include "editors/comments.h"

#include <QDateTime>
#include <QLocale>
#include <vector>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "editors/editorcontext.h"
#include "editors/editorshost.h"
#include "editors/latin1text.h"
#include "link/eculink.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

namespace ostrel {

namespace {

constexpr int columns = 16;

constexpr int commentrows = 8;

// The comment's characters as codes, padded with blanks to its length.
std::vector<std::uint8_t> commentcodes(const QString& text, int length) {
  std::vector<std::uint8_t> codes = latin1codes(text);
  codes.resize(static_cast<std::size_t>(length), ' ');
  return codes;
}

// Writes the characters of the unguarded rows and gives those rows.
MapGuards::Rows writecomment(maps& mainmaps, const MapGuards& guards, int firstrow,
                             const std::vector<std::uint8_t>& codes) {
  MapGuards::Rows written = 0;
  const int length = static_cast<int>(codes.size());
  for (int k = 0; k < length; ++k) {
    const int row = firstrow + k / columns;
    if (setcell(mainmaps, guards, commentsmap, row, k % columns, codes[static_cast<std::size_t>(k)], true))
      written |= MapGuards::span(row, row);
  }
  return written;
}

// Whether the codes put anything but blanks into a guarded row.
bool writesguarded(const MapGuards& guards, int firstrow, const std::vector<std::uint8_t>& codes) {
  for (std::size_t k = 0; k < codes.size(); ++k)
    if (codes[k] != ' ' && guards.guarded(commentsmap, firstrow + static_cast<int>(k) / columns)) return true;
  return false;
}

QString padded(QString text, int length) {
  if (text.size() < length) text += QString(length - text.size(), QLatin1Char(' '));
  return text;
}

// The locale's time with seconds, as the system writes the time of day: its long format without the time zone.
QString timeformat(const QLocale& locale) {
  QString format = locale.timeFormat(QLocale::LongFormat);
  format.remove(QLatin1Char('t'));
  return format.trimmed();
}

}  // namespace

QString hardcomment(int versionminor, int revision, const QDateTime& now, const QLocale& locale) {
  QString text = QStringLiteral("2.%1d%2: ").arg(versionminor).arg(revision) +
                 locale.toString(now.time(), timeformat(locale)) + QStringLiteral(", ") +
                 locale.toString(now.date(), QLocale::ShortFormat);
  // Some locales separate with a no-break space that has no Latin-1 code.
  for (QChar& c : text)
    if (c.isSpace()) c = QLatin1Char(' ');
  return padded(tolatin1(text), hardcommentlength).left(hardcommentlength);
}

QString readcomment(const maps& mainmaps, int firstrow, int length) {
  std::vector<std::uint8_t> codes;
  for (int k = 0; k < length; ++k)
    codes.push_back(static_cast<std::uint8_t>(mainmaps.getdata(commentsmap, firstrow + k / columns, k % columns)));
  return fromlatin1(codes);
}

QString showncomment(const maps& mainmaps, const MapGuards& guards, int firstrow, int length) {
  const QString stored = readcomment(mainmaps, firstrow, length);
  QString text = stored;
  const auto hidden = [&](int k) {
    return k >= 0 && k < length && guards.guarded(commentsmap, firstrow + k / columns);
  };
  for (int k = 0; k < length; ++k)
    if (hidden(k)) text[k] = QLatin1Char(' ');
  // The half of a line break whose other half is hidden shows as a blank too: the box would turn it into a whole
  // CR LF, one character more, and move the text after it.
  for (int k = 0; k < length; ++k) {
    const bool crbeforehidden = stored[k] == QLatin1Char('\r') && hidden(k + 1) && stored[k + 1] == QLatin1Char('\n');
    const bool lfafterhidden = stored[k] == QLatin1Char('\n') && hidden(k - 1) && stored[k - 1] == QLatin1Char('\r');
    if (!hidden(k) && (crbeforehidden || lfafterhidden)) text[k] = QLatin1Char(' ');
  }
  return text;
}

bool softcommentguarded(const MapGuards& guards) {
  return (~guards.rows(commentsmap) & MapGuards::span(softcommentfirstrow, commentrows - 1)) == 0;
}

QString softcommentforbox(const QString& stored) {
  QString text = stored;
  while (text.endsWith(QLatin1Char(' '))) text.chop(1);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

QString softcommentforstore(const QString& boxtext) {
  QString text = boxtext;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return padded(tolatin1(text), softcommentlength).left(softcommentlength);
}

std::optional<MapGuards::Rows> commentssave(maps& mainmaps, const MapGuards& guards, const QString& hard,
                                            const QString& soft) {
  const std::vector<std::uint8_t> softcodes = commentcodes(soft, softcommentlength);
  if (writesguarded(guards, softcommentfirstrow, softcodes)) return std::nullopt;
  MapGuards::Rows written = 0;
  if (!cellsguarded(guards, commentsmap, 0, hardcommentlength - 1))
    written |= writecomment(mainmaps, guards, 0, commentcodes(hard, hardcommentlength));
  return written | writecomment(mainmaps, guards, softcommentfirstrow, softcodes);
}

bool savecomments(EditorContext& context, const QString& boxtext, const QDateTime& now) {
  const std::optional<MapGuards::Rows> written = commentssave(
      context.mainmaps, context.state.guards,
      hardcomment(context.host.versionminor(), context.host.revision(), now, QLocale()), softcommentforstore(boxtext));
  if (!written) {
    refuseguarded(context.prompts);
    return false;
  }
  if (!context.state.online) {
    context.prompts.message(commentsofflinetext, Prompts::Icon::Information, Prompts::Buttons::Ok);
    return true;
  }
  // One write of one row each, every one behind its own block table; a guarded row was not written and is not sent.
  // Queued before the message: the ticks go on while it is up, and rows waiting to be written hold the mismatch check
  // that would otherwise find the new comment missing from the ECU.
  for (std::uint8_t row = 0; row < commentrows; ++row)
    if ((*written >> row & 1U) != 0) context.link.queuemapwrite(commentsmap, row, row, 0, columns - 1);
  context.prompts.message(commentsonlinetext, Prompts::Icon::Information, Prompts::Buttons::Ok);
  return true;
}

}  // namespace ostrel
