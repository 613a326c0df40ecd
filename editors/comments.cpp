#include "editors/comments.h"

#include <QDateTime>
#include <QLocale>
#include <vector>

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

void writecomment(maps& mainmaps, int firstrow, const QString& text, int length) {
  std::vector<std::uint8_t> codes = latin1codes(text);
  codes.resize(static_cast<std::size_t>(length), ' ');
  for (int k = 0; k < length; ++k)
    mainmaps.setdata(commentsmap, firstrow + k / columns, k % columns, codes[static_cast<std::size_t>(k)], true);
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

void commentssave(maps& mainmaps, const QString& hard, const QString& soft) {
  writecomment(mainmaps, 0, hard, hardcommentlength);
  writecomment(mainmaps, softcommentfirstrow, soft, softcommentlength);
}

void savecomments(EditorContext& context, const QString& boxtext, const QDateTime& now) {
  commentssave(context.mainmaps, hardcomment(context.host.versionminor(), context.host.revision(), now, QLocale()),
               softcommentforstore(boxtext));
  if (!context.state.online) {
    context.prompts.message(commentsofflinetext, Prompts::Icon::Information, Prompts::Buttons::Ok);
    return;
  }
  context.prompts.message(commentsonlinetext, Prompts::Icon::Information, Prompts::Buttons::Ok);
  // Eight writes of one row each, every one behind its own block table.
  for (std::uint8_t row = 0; row < 8; ++row) context.link.queuemapwrite(commentsmap, row, row, 0, columns - 1);
}

}  // namespace ostrel
