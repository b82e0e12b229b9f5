#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

// Text as GBK bytes (code page 936), for the few computations that work on bytes: pinyin
// initials and byte limits. Conversion goes through iconv ("GBK").

// One character of a text (one code point: one UTF-16 unit or a surrogate pair) and its GBK
// bytes. gbk is empty when GBK cannot hold the character.
struct GbkChar {
    QStringView text; // points into the text that was split
    QByteArray gbk;
};

// The text cut into its characters, each with its GBK bytes. The result refers to the text, which
// must outlive it.
QList<GbkChar> SplitGbk(const QString& text);

// The GBK bytes of a text; a character that GBK cannot hold becomes "?".
QByteArray ToGbk(const QString& text);

// The text of GBK bytes; a byte that starts no valid GBK character becomes U+FFFD.
QString FromGbk(const QByteArray& bytes);
