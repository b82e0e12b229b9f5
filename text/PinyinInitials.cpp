#include "text/PinyinInitials.h"

#include "text/GbkText.h"
#include "text/PinyinTable.h"

namespace {

constexpr int kLowestLead = 0xA1;  // bytes below this are copied as they are
constexpr int kLevel1First = 1601; // zone/position of 啊
constexpr int kLevel1Last = 5589;  // zone/position of 座

char Level1Initial(int q) {
    for (int k = kPinyinLevel1Count - 1; k > 0; --k) {
        if (kPinyinLevel1[k].firstQ <= q)
            return kPinyinLevel1[k].letter;
    }
    return kPinyinLevel1[0].letter;
}

} // namespace

QByteArray GetPinyinInitialsGbk(const QByteArray& gbk) {
    QByteArray out;
    out.reserve(gbk.size());
    const qsizetype n = gbk.size();
    qsizetype i = 0;
    while (i < n) {
        const int a = uchar(gbk[i]);
        const int b = i + 1 < n ? uchar(gbk[i + 1]) : 0;
        if (a < kLowestLead || b < kLowestLead) {
            out.append(char(a));
            i += 1;
            continue;
        }
        const int q = a * 100 + b - 16160; // zone * 100 + position
        const int p = a * 94 + b - 20465;  // index among the level-2 characters
        if (q >= kLevel1First && q <= kLevel1Last) {
            out.append(Level1Initial(q));
        } else if (p >= 0 && p < kPinyinLevel2Count) {
            out.append(kPinyinLevel2[p]);
        } else {
            out.append(char(a));
            out.append(char(b));
        }
        i += 2;
    }
    return out;
}

QString GetPinyinInitials(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const GbkChar& ch : SplitGbk(text)) {
        const QByteArray initial = GetPinyinInitialsGbk(ch.gbk);
        // A character that is copied keeps its own text, even where GBK maps two to one.
        if (initial == ch.gbk)
            out.append(ch.text);
        else
            out.append(FromGbk(initial));
    }
    return out;
}
