#pragma once

#include <QString>

class QDateTime;
class QLocale;

namespace ostrel {

class maps;
struct EditorContext;

// The comments map (map 104): 128 Latin-1 characters, row by row. Rows 0 and 1 hold the hard comment that every
// save of the comments writes (version, time and date), rows 2 to 7 the tuner's soft comment.
inline constexpr int commentsmap = 104;
inline constexpr int hardcommentlength = 32;
inline constexpr int softcommentlength = 96;
inline constexpr int softcommentfirstrow = 2;

// "2." minor version "d" revision ": " time ", " date, padded with spaces and cut to 32 characters: the time with
// seconds and the short date, as the locale writes them.
QString hardcomment(int versionminor, int revision, const QDateTime& now, const QLocale& locale);

// The characters of the map from the first row on, as stored.
QString readcomment(const maps& mainmaps, int firstrow, int length);
// The soft comment as the box shows it: without its trailing spaces, line breaks as the box keeps them.
QString softcommentforbox(const QString& stored);
// The box's text as it is stored: line breaks as CR LF, padded with spaces and cut to 96 characters.
QString softcommentforstore(const QString& boxtext);

// Writes both comments into map 104 with changed marks (Latin-1, "?" for what has no code).
void commentssave(maps& mainmaps, const QString& hard, const QString& soft);
// "Save and exit": the hard comment made now and the box's soft comment written, a message, and while connected
// the eight rows queued for the ECU.
void savecomments(EditorContext& context, const QString& boxtext, const QDateTime& now);

inline const QString commentsonlinetext = QStringLiteral(
    "These comments will be saved to the ECU, but will be saved to file only when the file is saved at the file menu");
inline const QString commentsofflinetext =
    QStringLiteral("These comments will be saved to file only when the file is saved at the file menu");

}  // namespace ostrel
