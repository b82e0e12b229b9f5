#pragma once

#include <QByteArray>
#include <QString>

// Pinyin initials of names, stored beside them so that staff can find a product, customer or
// supplier by typing the first letters (膨胀螺丝 -> PZLS).

// The initials of a text: each Chinese character of GB2312 becomes the upper-case initial of its
// reading ("[" for a radical without a reading); everything else stays as it is, case included
// (M8膨胀螺丝 -> M8PZLS, ab一级 -> abYJ).
// Works character by character on the GBK bytes of each character, so a character that GBK
// cannot hold, or a GBK character outside GB2312, passes through unchanged and never disturbs the
// characters after it.
QString GetPinyinInitials(const QString& text);

// The same on GBK bytes (the whole array; a NUL byte is copied like any other byte below 0xA1).
// Pairs of bytes of 0xA1 or more are looked up; a byte with a partner below 0xA1 is copied alone
// and its partner is looked at again as the next lead byte; pairs outside the two levels of
// GB2312 are copied. The result is never longer than the input.
QByteArray GetPinyinInitialsGbk(const QByteArray& gbk);
