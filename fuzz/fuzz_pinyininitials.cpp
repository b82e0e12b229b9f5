// Pinyin initials of any GBK bytes and of any text.
#include "FuzzCheck.h"
#include "text/GbkText.h"
#include "text/PinyinInitials.h"

namespace {

bool IsInitial(char c) {
    return (c >= 'A' && c <= 'Z') || c == '[';
}

// Whether every character is ASCII or a pair of GB2312 bytes, where both forms must agree.
bool OnlyGb2312(const QString& text) {
    for (const GbkChar& ch : SplitGbk(text)) {
        if (ch.gbk.size() == 1 && uchar(ch.gbk[0]) < 0x80)
            continue;
        if (ch.gbk.size() == 2 && uchar(ch.gbk[0]) >= 0xA1 && uchar(ch.gbk[1]) >= 0xA1)
            continue;
        return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray gbk = FuzzBytes(data, size);
    const QByteArray initials = GetPinyinInitialsGbk(gbk);
    FUZZ_CHECK(initials.size() <= gbk.size());
    bool allLow = true;
    for (char c : gbk)
        allLow = allLow && uchar(c) < 0xA1;
    if (allLow)
        FUZZ_CHECK(initials == gbk);
    // Every output byte is an initial or a byte of the input.
    for (char c : initials)
        FUZZ_CHECK(IsInitial(c) || gbk.contains(c));

    // The same bytes read as UTF-16, lone surrogates and all.
    const QString text(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    const QString fromText = GetPinyinInitials(text);
    FUZZ_CHECK(fromText.size() <= text.size());
    if (OnlyGb2312(text))
        FUZZ_CHECK(ToGbk(fromText) == GetPinyinInitialsGbk(ToGbk(text)));
    const QString utf8 = FuzzText(data, size);
    FUZZ_CHECK(GetPinyinInitials(utf8).size() <= utf8.size());
    return 0;
}
