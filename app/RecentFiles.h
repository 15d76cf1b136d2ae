#pragma once

#include <QString>
#include <QStringList>

// The ships the user opened or saved last, newest first, kept in the user's settings so that
// every window, in this run or a later one, offers the same list.
namespace app::recentfiles {

inline constexpr qsizetype MaxEntries = 8;

/// The remembered paths, newest first; at most MaxEntries.
QStringList paths();
/// Puts `path` first, taking out an older entry for the same file and the oldest past
/// MaxEntries.
void add(const QString& path);

} // namespace app::recentfiles
