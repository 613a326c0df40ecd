#pragma once

#include <QString>
#include <optional>

#include "platform/mapguards.h"

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
// The same as the window shows them: a row that a password guards shows blanks.
QString showncomment(const maps& mainmaps, const MapGuards& guards, int firstrow, int length);
// Whether every row of the soft comment is guarded, so that the box has nothing to edit.
bool softcommentguarded(const MapGuards& guards);
// The soft comment as the box shows it: without its trailing spaces, line breaks as the box keeps them.
QString softcommentforbox(const QString& stored);
// The box's text as it is stored: line breaks as CR LF, padded with spaces and cut to 96 characters.
QString softcommentforstore(const QString& boxtext);

// Writes both comments into map 104 with changed marks (Latin-1, "?" for what has no code) and gives the rows
// written. A guarded row keeps its bytes: the hard comment, one stamp over two rows, stays whole when either of
// them is guarded, and the soft comment may hold only blanks (what the box showed) where a row is guarded. A soft
// comment with anything else there is refused: nothing is written and the result is empty.
std::optional<MapGuards::Rows> commentssave(maps& mainmaps, const MapGuards& guards, const QString& hard,
                                            const QString& soft);
// "Save and exit": the hard comment made now and the box's soft comment written, a message, and while connected
// the rows written queued for the ECU. False when the soft comment was refused (with the grid's message).
bool savecomments(EditorContext& context, const QString& boxtext, const QDateTime& now);

inline const QString commentsonlinetext = QStringLiteral(
    "These comments will be saved to the ECU, but will be saved to file only when the file is saved at the file menu");
inline const QString commentsofflinetext =
    QStringLiteral("These comments will be saved to file only when the file is saved at the file menu");

}  // namespace ostrel
