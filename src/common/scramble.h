#pragma once

#include <QByteArray>
#include <QString>

// Reversible scrambling of short texts with a key, so that a value kept in a
// plain file (the server password in Config.ini) cannot be read at a glance.
// Not a cipher. Texts are scrambled as their GBK bytes; the result is upper-case
// hex pairs: a random seed pair, then one pair per byte, each chained on the last.
QString EncryptCore(const QString& plain, const QString& key);
QString DecryptCore(const QString& text, const QString& key);
QString RandomKey(int count);
QString EncryptText(const QString& plain, const QString& key);
QString DecryptText(const QString& text, const QString& key);

// The byte-level single layer with a given seed, for the two layers above.
QString EncryptBytes(const QByteArray& plain, const QByteArray& key, int seed);
QByteArray DecryptBytes(const QString& text, const QByteArray& key);
