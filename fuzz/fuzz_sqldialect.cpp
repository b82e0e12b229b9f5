// The dialect rewriter on any statement: quoted text comes through unchanged and in order, and
// brackets stay balanced.
#include <QStringList>

#include "FuzzCheck.h"
#include "db/SqlDialect.h"

namespace {

// The quoted values of a statement, quotes included; '' inside a value is a quote.
QStringList QuotedTexts(const QString& sql, bool* terminated) {
    QStringList texts;
    *terminated = true;
    qsizetype i = 0;
    while (i < sql.size()) {
        if (sql[i] != u'\'') {
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        bool closed = false;
        while (j < sql.size()) {
            if (sql[j] == u'\'') {
                if (j + 1 < sql.size() && sql[j + 1] == u'\'') {
                    j += 2;
                    continue;
                }
                ++j;
                closed = true;
                break;
            }
            ++j;
        }
        *terminated = *terminated && closed;
        texts.append(sql.mid(i, j - i));
        i = j;
    }
    return texts;
}

// Depth of round brackets outside quoted text: -1 when a ")" comes before its "(".
int OpenBrackets(const QString& sql) {
    int depth = 0;
    bool quoted = false;
    for (QChar c : sql) {
        if (c == u'\'')
            quoted = !quoted; // '' toggles twice
        else if (!quoted && c == u'(')
            ++depth;
        else if (!quoted && c == u')' && --depth < 0)
            return -1;
    }
    return depth;
}

void CheckRewrite(const SqlDialect& dialect, const QString& sql) {
    const QString out = dialect.Rewrite(sql);
    bool terminated = true;
    const QStringList before = QuotedTexts(sql, &terminated);
    bool outTerminated = true;
    const QStringList after = QuotedTexts(out, &outTerminated);
    // An unterminated quote runs to the end of the statement, which the engine refuses anyway.
    if (terminated) {
        FUZZ_CHECK(outTerminated);
        // Every quoted value in order; the only one added is the escape character of LIKE.
        qsizetype k = 0;
        for (const QString& text : after) {
            if (k < before.size() && text == before[k])
                ++k;
            else
                FUZZ_CHECK(text == QStringLiteral("'\\'"));
        }
        FUZZ_CHECK(k == before.size());
        if (OpenBrackets(sql) == 0)
            FUZZ_CHECK(OpenBrackets(out) == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString sql = FuzzText(data, size);
    CheckRewrite(SqlDialect(SqlDialect::Engine::Sqlite), sql);
    CheckRewrite(SqlDialect(SqlDialect::Engine::Postgres), sql);
    return 0;
}
