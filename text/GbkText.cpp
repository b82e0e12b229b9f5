#include "text/GbkText.h"

#include <QtGlobal>
#include <cerrno>
#include <iconv.h>

namespace {

// Code points in host byte order, as iconv reads and writes them here.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr const char* kUtf32 = "UTF-32LE";
#else
constexpr const char* kUtf32 = "UTF-32BE";
#endif

// An iconv conversion, opened once per thread and closed with it.
class IconvHandle {
  public:
    IconvHandle(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (IsValid())
            iconv_close(m_cd);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool IsValid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Handle() const { return m_cd; }
    void Reset() { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }

  private:
    iconv_t m_cd;
};

QByteArray EncodeCodePoint(char32_t codePoint) {
    thread_local IconvHandle encoder("GBK", kUtf32);
    if (!encoder.IsValid())
        return codePoint < 0x80 ? QByteArray(1, char(codePoint)) : QByteArray();
    char32_t in = codePoint;
    char* inPtr = reinterpret_cast<char*>(&in);
    size_t inLeft = sizeof in;
    char out[8];
    char* outPtr = out;
    size_t outLeft = sizeof out;
    const size_t converted = iconv(encoder.Handle(), &inPtr, &inLeft, &outPtr, &outLeft);
    if (converted != 0 || inLeft != 0) {
        // Not held by GBK, or only by a substitute.
        encoder.Reset();
        return QByteArray();
    }
    return QByteArray(out, outPtr - out);
}

void AppendCodePoints(QString& text, const char32_t* codePoints, qsizetype count) {
    for (qsizetype k = 0; k < count; ++k) {
        const char32_t cp = codePoints[k];
        if (QChar::requiresSurrogates(cp)) {
            text.append(QChar(QChar::highSurrogate(cp)));
            text.append(QChar(QChar::lowSurrogate(cp)));
        } else {
            text.append(QChar(char16_t(cp)));
        }
    }
}

} // namespace

QList<GbkChar> SplitGbk(const QString& text) {
    QList<GbkChar> chars;
    chars.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const char32_t cp =
            pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : char32_t(text[i].unicode());
        const qsizetype length = pair ? 2 : 1;
        chars.append({QStringView(text).mid(i, length), EncodeCodePoint(cp)});
        i += length;
    }
    return chars;
}

QByteArray ToGbk(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const GbkChar& ch : SplitGbk(text))
        bytes.append(ch.gbk.isEmpty() ? QByteArray("?") : ch.gbk);
    return bytes;
}

QString FromGbk(const QByteArray& bytes) {
    thread_local IconvHandle decoder(kUtf32, "GBK");
    QString text;
    text.reserve(bytes.size());
    if (!decoder.IsValid()) {
        for (char c : bytes)
            text.append(uchar(c) < 0x80 ? QChar(c) : QChar(QChar::ReplacementCharacter));
        return text;
    }
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    while (inLeft > 0) {
        char32_t out[64];
        char* outPtr = reinterpret_cast<char*>(out);
        size_t outLeft = sizeof out;
        const size_t converted = iconv(decoder.Handle(), &in, &inLeft, &outPtr, &outLeft);
        const int error = converted == size_t(-1) ? errno : 0;
        AppendCodePoints(text, out, (outPtr - reinterpret_cast<char*>(out)) / sizeof(char32_t));
        if (error != 0 && error != E2BIG) {
            // EILSEQ or EINVAL: this byte starts no character.
            text.append(QChar(QChar::ReplacementCharacter));
            ++in;
            --inLeft;
            decoder.Reset();
        }
    }
    return text;
}
