#pragma once

#include <QString>

/// Splits an edit's result into head + inserted + tail, where head and tail are unchanged from `before`. The caret
/// stands at the end of what was inserted, which settles where the insertion was when the text repeats itself
/// (typing "ba" into "a|b" gives "abab": the insertion is "ba", not the trailing "ab").
void splitEdit(const QString& before, const QString& after, qsizetype caret, qsizetype& head, qsizetype& tail);
