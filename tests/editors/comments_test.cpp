// The comments map: the hard comment, the soft comment's padding and line breaks, saving with and without the ECU,
// and the comments window offscreen.
#include "editors/comments.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>

#include "calibration/cellguards.h"
#include "editors/frmcomments.h"
#include "editorsfixture.h"

namespace ostrel::test {
namespace {

const QDateTime saved(QDate(2026, 12, 8), QTime(14, 3, 27));

QString spaces(int n) {
  return QString(n, QLatin1Char(' '));
}

TEST(HardComment, VersionTimeAndDateInTheSystemsFormats) {
  const QLocale british(QLocale::English, QLocale::UnitedKingdom);
  EXPECT_EQ(hardcomment(64, 8, saved, british), QStringLiteral("2.64d8: 14:03:27, 08/12/2026") + spaces(4));
  // Whatever the locale, 32 characters with a Latin-1 code each, starting with the version.
  for (const QLocale& locale : {QLocale(), QLocale(QLocale::English, QLocale::UnitedStates),
                                QLocale(QLocale::Arabic, QLocale::Egypt), QLocale(QLocale::Chinese, QLocale::China)}) {
    const QString text = hardcomment(64, 8, saved, locale);
    EXPECT_EQ(text.size(), hardcommentlength) << locale.name().toStdString();
    EXPECT_TRUE(text.startsWith(QStringLiteral("2.64d8: "))) << text.toStdString();
    for (const QChar c : text) EXPECT_LE(c.unicode(), 0xFF) << text.toStdString();
  }
}

TEST(SoftComment, PaddedCutAndLineBreaksAsCrLf) {
  const struct {
    QString box, stored;
  } cases[] = {
      {QString(), spaces(96)},
      {QStringLiteral("abc  "), QStringLiteral("abc") + spaces(93)},
      {QStringLiteral("one\ntwo"), QStringLiteral("one\r\ntwo") + spaces(88)},
      {QString(120, QLatin1Char('x')), QString(96, QLatin1Char('x'))},
      {QStringLiteral("\u20ac5 caf\u00e9"), QStringLiteral("?5 caf\u00e9") + spaces(89)},
      {QString(95, QLatin1Char('x')) + QStringLiteral("\nlost"), QString(95, QLatin1Char('x')) + QStringLiteral("\r")},
  };
  for (const auto& c : cases) {
    const QString stored = softcommentforstore(c.box);
    EXPECT_EQ(stored, c.stored) << c.box.toStdString();
    EXPECT_EQ(stored.size(), softcommentlength);
  }
  // Back in the box: no trailing spaces, line breaks as the box keeps them.
  EXPECT_EQ(softcommentforbox(spaces(96)), QString());
  EXPECT_EQ(softcommentforbox(QStringLiteral("one\r\ntwo  ") + spaces(86)), QStringLiteral("one\ntwo"));
  for (const QString& text : {QStringLiteral("a\nb\n\nc"), QStringLiteral("  indented\n  twice"), QStringLiteral("x")})
    EXPECT_EQ(softcommentforbox(softcommentforstore(text)), text);
}

class CommentsTest : public ::testing::Test {
 protected:
  QString stored() const { return readcomment(rig.mainmaps, 0, 128); }
  std::vector<int> commentrows() const {
    std::vector<int> rows;
    for (int r = 0; r < 8; ++r) rows.push_back(rig.mainmaps.getbufferrow(commentsmap, r, 0));
    return rows;
  }
  EditorRig rig;
};

TEST_F(CommentsTest, SavingWritesBothCommentsAndQueuesEightRowsOnlyWhileConnected) {
  savecomments(rig.context, QStringLiteral("Line one\nLine two"), saved);
  const QString text = stored();
  EXPECT_TRUE(text.startsWith(QStringLiteral("2.64d8: "))) << text.toStdString();
  EXPECT_EQ(text.mid(32), QStringLiteral("Line one\r\nLine two") + spaces(78));
  EXPECT_EQ(rig.mainmaps.getdata(commentsmap, 2, 8), 13);
  EXPECT_EQ(rig.mainmaps.getdata(commentsmap, 2, 9), 10);
  for (int r = 0; r < 8; ++r) EXPECT_TRUE(rig.mainmaps.getchange(commentsmap, r, 15)) << r;
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{commentsofflinetext});
  EXPECT_TRUE(queuedwrites(rig.link).rows.empty());

  // The hard comment is rewritten at every save, also with the same soft comment.
  const QLocale previous;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
  savecomments(rig.context, QStringLiteral("Line one\nLine two"), saved.addSecs(60));
  QLocale::setDefault(previous);
  EXPECT_EQ(stored().left(32), QStringLiteral("2.64d8: 14:04:27, 08/12/2026") + spaces(4));

  rig.prompts.clear();
  rig.state.online = true;
  rig.state.curmap = 0;  // the rows are map 104's whatever map is current
  savecomments(rig.context, QString(), saved);
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{commentsonlinetext});
  const QueuedWrites q = queuedwrites(rig.link);
  EXPECT_EQ(q.rows, commentrows());
  EXPECT_EQ(q.blocktables, 8) << "each row behind its own block table";
  EXPECT_EQ(stored().mid(32), spaces(96));
}

TEST_F(CommentsTest, TheWindowShowsEditsAndSavesOrLeavesTheMap) {
  commentssave(rig.mainmaps, rig.state.guards, QStringLiteral("2.64d8: 09:15:00, 01/02/2026"),
               softcommentforstore(QStringLiteral("Tuned on the dyno.\nInjectors 550 cc.   ")));
  rig.mainmaps.clearchange();
  const CalibrationImage before = rig.mainmaps.getimage();

  {
    frmComments window(rig.context);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Comments"));
    EXPECT_EQ(window.hardComments->text(), QStringLiteral("2.64d8: 09:15:00, 01/02/2026") + spaces(4));
    EXPECT_EQ(window.softComments->toPlainText(), QStringLiteral("Tuned on the dyno.\nInjectors 550 cc."));
    savescreenshot(&window, QStringLiteral("comments_editor"));
    window.softComments->setPlainText(QStringLiteral("something else"));
    window.mnuCommentsExit->trigger();
    EXPECT_FALSE(window.isVisible());
  }
  EXPECT_EQ(rig.mainmaps.getimage(), before) << "left without saving";
  EXPECT_TRUE(rig.prompts.records.empty());

  rig.state.online = true;
  frmComments window(rig.context);
  window.show();
  window.softComments->setPlainText(QStringLiteral("Second line follows\nhere"));
  window.mnuCommentsSave->trigger();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(readcomment(rig.mainmaps, 2, 96), softcommentforstore(QStringLiteral("Second line follows\nhere")));
  EXPECT_EQ(queuedwrites(rig.link).rows, commentrows());

  frmComments again(rig.context);
  EXPECT_EQ(again.softComments->toPlainText(), QStringLiteral("Second line follows\nhere"));
}

// --- Under a password guard ----------------------------------------------------------------------------------------

// Six lines of 16 characters, one per row of the soft comment, so that a row is a line.
QString sixlines(const QStringList& lines) {
  QString text;
  for (const QString& line : lines) text += line.leftJustified(16, QLatin1Char(' '), true);
  return text;
}

const QString stamp = QStringLiteral("2.64d8: 09:15:00, 01/02/2026") + spaces(4);
const QString softstored =
    sixlines({QStringLiteral("Fuel: E85 tune"), QStringLiteral("SECRET launch 7k"), QStringLiteral("Injectors 550cc"),
              QString(), QString(), QStringLiteral("last line")});

class CommentsGuarded : public CommentsTest {
 protected:
  CommentsGuarded() {
    commentssave(rig.mainmaps, rig.state.guards, stamp, softstored);
    rig.mainmaps.clearchange();
  }
  // A fragment over rows first to last of the comments map, read in as a calibration opens.
  void guardrows(int first, int last) {
    putfragments(rig.mainmaps, {{0, commentsmap, allmapsingroup, first, last}});
    loadpasswordfragments(rig.mainmaps, rig.state, true);
  }
  void enterpassword() {
    rig.state.pwentered[0] = padpassword(QStringLiteral("secret"));
    refreshmatches(rig.mainmaps, rig.state);
    applymapprotection(rig.mainmaps, rig.state);
  }
  bool rowchanged(int row) const {
    for (int c = 0; c < 16; ++c)
      if (rig.mainmaps.getchange(commentsmap, row, c)) return true;
    return false;
  }
};

// What each guard shows and what a save writes: guarded rows show blanks and keep their bytes; the stamp, one value
// over rows 0 and 1, is left whole when either is guarded; a soft comment with anything but blanks in a guarded row
// is refused whole.
TEST_F(CommentsGuarded, GuardedRowsShowBlanksAndKeepTheirBytes) {
  const QString edited = sixlines({QStringLiteral("Fuel: E98 tune"), QString(), QStringLiteral("Injectors 1000cc"),
                                   QStringLiteral("new"), QString(), QStringLiteral("last line")});
  struct Case {
    int first, last;  // guarded rows
    QString soft;     // stored form
    std::optional<MapGuards::Rows> written;
  };
  const Case cases[] = {
      {3, 3, edited, 0xF7},  // every row but the guarded one
      {1, 1, edited, 0xFC},  // no stamp: neither row 0 nor row 1
      {0, 0, edited, 0xFC},
      {3, 3, sixlines({QString(), QStringLiteral("x")}), std::nullopt},  // text into the guarded row
      {7, 7, softcommentforstore(QString(90, QLatin1Char('y'))), std::nullopt},
      {2, 7, spaces(96), 0x03},  // the soft comment guarded whole
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "rows " << c.first << " to " << c.last);
    guardrows(c.first, c.last);
    const CalibrationImage before = rig.mainmaps.getimage();
    const QString all = stamp + softstored;
    QString shown = showncomment(rig.mainmaps, rig.state.guards, 0, 128);
    for (int k = 0; k < 128; ++k) {
      const bool hidden = k / 16 >= c.first && k / 16 <= c.last;
      ASSERT_EQ(shown[k], hidden ? QChar(u' ') : all[k]) << k;
    }
    EXPECT_EQ(softcommentguarded(rig.state.guards), c.first <= 2 && c.last == 7);

    EXPECT_EQ(commentssave(rig.mainmaps, rig.state.guards, QStringLiteral("2.64d8: 10:00:00, 02/02/2026"), c.soft),
              c.written);
    for (int row = 0; row < 8; ++row) {
      const bool written = c.written && (*c.written >> row & 1U) != 0;
      EXPECT_EQ(rowchanged(row), written) << row;
      const QString now = readcomment(rig.mainmaps, row, 16);
      const QString wanted = (row < 2 ? QStringLiteral("2.64d8: 10:00:00, 02/02/2026") + spaces(4) : c.soft)
                                 .mid(row < 2 ? row * 16 : (row - 2) * 16, 16);
      EXPECT_EQ(now, written ? wanted : all.mid(row * 16, 16)) << row;
    }
    rig.mainmaps.setimage(before);
    rig.mainmaps.clearchange();
  }
}

// A line break whose two characters lie on both sides of a guarded row's edge: its visible half shows as a blank,
// so that the box keeps every character in its place and what it shows can be saved as it is.
TEST_F(CommentsGuarded, ALineBreakHalfUnderAGuardShowsAsABlank) {
  for (const int guarded : {3, 2}) {
    SCOPED_TRACE(guarded);
    rig.state.guards.clear();
    commentssave(rig.mainmaps, rig.state.guards, stamp,
                 softcommentforstore(QString(15, QLatin1Char('a')) + QStringLiteral("\nbbb")));  // CR at 15, LF at 16
    guardrows(guarded, guarded);
    const QString shown = showncomment(rig.mainmaps, rig.state.guards, softcommentfirstrow, softcommentlength);
    EXPECT_FALSE(shown.contains(QLatin1Char('\r')) || shown.contains(QLatin1Char('\n')));
    const QString stored = readcomment(rig.mainmaps, softcommentfirstrow, softcommentlength);
    EXPECT_EQ(shown, guarded == 3 ? QString(15, QLatin1Char('a')) + spaces(81)
                                  : spaces(17) + QStringLiteral("bbb") + spaces(76));
    EXPECT_TRUE(commentssave(rig.mainmaps, rig.state.guards, stamp, softcommentforstore(softcommentforbox(shown))));
    EXPECT_EQ(readcomment(rig.mainmaps, guarded, 16), stored.mid((guarded - 2) * 16, 16)) << "the guarded row";
  }
}

// The window under a guard over the soft comment's second line: the line shows nothing, the others are edited and
// saved, a text that runs into it is refused and kept in the box; with the password entered all shows again.
TEST_F(CommentsGuarded, TheWindowShowsNothingOfAGuardedLineAndSavesTheRest) {
  guardrows(3, 3);
  rig.state.online = true;
  const QString secret = readcomment(rig.mainmaps, 3, 16);
  {
    frmComments window(rig.context);
    window.show();
    EXPECT_EQ(window.hardComments->text(), stamp);
    const QString shown = window.softComments->toPlainText();
    EXPECT_EQ(shown, sixlines({QStringLiteral("Fuel: E85 tune"), QString(), QStringLiteral("Injectors 550cc"),
                               QString(), QString(), QStringLiteral("last line")})
                         .trimmed());
    EXPECT_FALSE(window.softComments->isReadOnly());
    savescreenshot(&window, QStringLiteral("comments_guarded_line"));

    // A text that puts characters into the guarded line.
    const QString spilling = QStringLiteral("Fuel: E85 tune, now with a longer first line");
    window.softComments->setPlainText(spilling);
    window.mnuCommentsSave->trigger();
    EXPECT_TRUE(window.isVisible()) << "the window stays open";
    EXPECT_EQ(window.softComments->toPlainText(), spilling) << "nothing typed is lost";
    EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{protectedmaptext});
    for (int row = 0; row < 8; ++row) EXPECT_FALSE(rowchanged(row)) << row;
    EXPECT_TRUE(queuedwrites(rig.link).rows.empty());

    // Another first line of the same length, saved; the guarded line keeps its bytes and is not sent.
    window.softComments->setPlainText(QString(shown).replace(QStringLiteral("E85"), QStringLiteral("E98")));
    rig.prompts.clear();
    window.mnuCommentsSave->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{commentsonlinetext});
  }
  EXPECT_EQ(readcomment(rig.mainmaps, 2, 16), QStringLiteral("Fuel: E98 tune  "));
  EXPECT_EQ(readcomment(rig.mainmaps, 3, 16), secret);
  EXPECT_FALSE(rowchanged(3));
  std::vector<int> sent = commentrows();
  sent.erase(sent.begin() + 3);
  EXPECT_EQ(queuedwrites(rig.link).rows, sent);

  enterpassword();
  frmComments again(rig.context);
  EXPECT_EQ(again.softComments->toPlainText().mid(16, 16), secret);
}

// A guard over the stamp's second row hides it and keeps the old stamp whole; a guard over every soft line leaves
// nothing to type into.
TEST_F(CommentsGuarded, TheStampAndAWholeSoftCommentUnderAGuard) {
  guardrows(1, 7);
  frmComments window(rig.context);
  window.show();
  EXPECT_EQ(window.hardComments->text(), stamp.left(16) + spaces(16));
  EXPECT_EQ(window.softComments->toPlainText(), QString());
  EXPECT_TRUE(window.softComments->isReadOnly());
  window.mnuCommentsSave->trigger();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(readcomment(rig.mainmaps, 0, 128), stamp + softstored) << "nothing could be written";
  for (int row = 0; row < 8; ++row) EXPECT_FALSE(rowchanged(row)) << row;
}

}  // namespace
}  // namespace ostrel::test
