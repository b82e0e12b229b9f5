#include "db/SqlDialect.h"

#include <QSet>
#include <QVector>

namespace {

enum class Tok { Space, Word, Number, String, Punct };

struct Token {
    Tok type;
    QString text;
};

bool IsWordStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}
bool IsWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

QVector<Token> Tokenize(const QString& sql) {
    QVector<Token> tokens;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        qsizetype j = i + 1;
        Tok type = Tok::Punct;
        if (c.isSpace()) {
            type = Tok::Space;
            while (j < n && sql.at(j).isSpace())
                ++j;
        } else if (c == QLatin1Char('\'')) {
            type = Tok::String;
            while (j < n) {
                if (sql.at(j) == QLatin1Char('\'')) {
                    if (j + 1 < n && sql.at(j + 1) == QLatin1Char('\'')) {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
        } else if (IsWordStart(c)) {
            type = Tok::Word;
            while (j < n && IsWordChar(sql.at(j)))
                ++j;
        } else if (c.isDigit()) {
            type = Tok::Number;
            while (j < n && (sql.at(j).isDigit() || sql.at(j) == QLatin1Char('.')))
                ++j;
        } else if (c == QLatin1Char('|') && j < n && sql.at(j) == QLatin1Char('|')) {
            ++j;
        }
        tokens.append({type, sql.mid(i, j - i)});
        i = j;
    }
    return tokens;
}

bool IsWord(const Token& t, const char* word) {
    return t.type == Tok::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}
bool IsPunct(const Token& t, char c) {
    return t.type == Tok::Punct && t.text == QLatin1Char(c);
}

// Words after a derived table that show it has no alias of its own.
bool EndsTableReference(const Token& t) {
    static const QSet<QString> clauses = {"WHERE", "GROUP", "ORDER", "HAVING", "LIMIT",
                                          "UNION", "JOIN",  "INNER", "LEFT",   "RIGHT",
                                          "FULL",  "CROSS", "ON",    "EXCEPT", "INTERSECT"};
    return t.type != Tok::Word || clauses.contains(t.text.toUpper());
}

int NextSolidToken(const QVector<Token>& tokens, int i) {
    while (i < tokens.size() && tokens[i].type == Tok::Space)
        ++i;
    return i;
}

// "SELECT columns FROM table [WHERE ...]" with no order, grouping, aggregate, DISTINCT or
// second table: the rows of one table in no stated order.
bool IsPlainTableSelect(const QVector<Token>& tokens) {
    static const QSet<QString> stoppers = {"ORDER",     "GROUP",    "HAVING", "LIMIT",
                                           "UNION",     "JOIN",     "EXCEPT", "FOR",
                                           "INTERSECT", "DISTINCT", "OFFSET", "INTO"};
    static const QSet<QString> aggregates = {"SUM", "MAX", "MIN", "COUNT", "AVG"};
    const int first = NextSolidToken(tokens, 0);
    if (first >= tokens.size() || !IsWord(tokens[first], "SELECT"))
        return false;
    int depth = 0;
    int from = -1;
    for (int i = first + 1; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (IsPunct(t, '(')) {
            ++depth;
            continue;
        }
        if (IsPunct(t, ')')) {
            --depth;
            continue;
        }
        if (depth > 0)
            continue;
        if (IsPunct(t, ';'))
            return false;
        if (t.type != Tok::Word)
            continue;
        const QString word = t.text.toUpper();
        if (stoppers.contains(word))
            return false;
        if (from < 0 && aggregates.contains(word)) {
            const int next = NextSolidToken(tokens, i + 1);
            if (next < tokens.size() && IsPunct(tokens[next], '('))
                return false;
        }
        if (word == QLatin1String("FROM")) {
            if (from >= 0)
                return false;
            from = i;
            const int table = NextSolidToken(tokens, i + 1);
            if (table >= tokens.size() || tokens[table].type != Tok::Word)
                return false;
            const int after = NextSolidToken(tokens, table + 1);
            if (after < tokens.size() && !IsWord(tokens[after], "WHERE"))
                return false;
        }
    }
    return from >= 0;
}

// The number of columns of a "SELECT DISTINCT ..." without ORDER BY (0 for anything else).
int UnorderedDistinctColumns(const QVector<Token>& tokens) {
    const int first = NextSolidToken(tokens, 0);
    if (first >= tokens.size() || !IsWord(tokens[first], "SELECT"))
        return 0;
    const int distinct = NextSolidToken(tokens, first + 1);
    if (distinct >= tokens.size() || !IsWord(tokens[distinct], "DISTINCT"))
        return 0;
    int depth = 0;
    int columns = 1;
    bool inList = true;
    for (int i = distinct + 1; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (IsPunct(t, '('))
            ++depth;
        else if (IsPunct(t, ')'))
            --depth;
        if (depth > 0)
            continue;
        if (inList && IsPunct(t, ','))
            ++columns;
        if (IsWord(t, "FROM"))
            inList = false;
        if (IsWord(t, "ORDER") || IsWord(t, "UNION") || IsWord(t, "LIMIT") || IsPunct(t, ';'))
            return 0;
    }
    return inList ? 0 : columns;
}

class Rewriter {
  public:
    Rewriter(const QVector<Token>& tokens, SqlDialect::Engine engine)
        : m_tokens(tokens), m_engine(engine) {}

    QString Range(int begin, int end) {
        QString out;
        for (int i = begin; i < end; ++i)
            i = Emit(i, end, out);
        return out;
    }

  private:
    int NextSolid(int i, int end) const {
        while (i < end && m_tokens[i].type == Tok::Space)
            ++i;
        return i;
    }

    // Index of the ")" that closes the "(" at open, or end when there is none.
    int Closing(int open, int end) const {
        int depth = 0;
        for (int i = open; i < end; ++i) {
            if (IsPunct(m_tokens[i], '('))
                ++depth;
            else if (IsPunct(m_tokens[i], ')') && --depth == 0)
                return i;
        }
        return end;
    }

    // Arguments of the call whose "(" is at open, each rewritten.
    QStringList Arguments(int open, int close) {
        QStringList args;
        int depth = 0;
        int start = open + 1;
        for (int i = open + 1; i < close; ++i) {
            if (IsPunct(m_tokens[i], '('))
                ++depth;
            else if (IsPunct(m_tokens[i], ')'))
                --depth;
            else if (depth == 0 && IsPunct(m_tokens[i], ',')) {
                args.append(Range(start, i).trimmed());
                start = i + 1;
            }
        }
        args.append(Range(start, close).trimmed());
        return args;
    }

    // Emits token i (and whatever it rewrites with it); returns the last index consumed.
    int Emit(int i, int end, QString& out) {
        const Token& t = m_tokens[i];
        if (t.type == Tok::Word && (IsWord(t, "Left") || IsWord(t, "Mid"))) {
            const int open = NextSolid(i + 1, end);
            if (open < end && IsPunct(m_tokens[open], '(')) {
                const int close = Closing(open, end);
                if (close < end) {
                    const QStringList args = Arguments(open, close);
                    out += Substring(IsWord(t, "Left"), args);
                    return close;
                }
            }
        }
        if (IsPunct(t, '+')) {
            out += QLatin1String("||");
            return i;
        }
        if (t.type == Tok::String || IsPunct(t, '?')) {
            out += t.text;
            if (i + 1 < end && m_tokens[i + 1].type == Tok::Word)
                out += QLatin1Char(' ');
            return i;
        }
        if (IsWord(t, "LIKE"))
            return EmitLike(i, end, out);
        if (IsWord(t, "FROM"))
            return EmitFrom(i, end, out);
        out += t.text;
        return i;
    }

    QString Substring(bool left, const QStringList& args) const {
        if (left && args.size() == 2)
            return QStringLiteral("substr(%1, 1, %2)").arg(args[0], args[1]);
        return QStringLiteral("substr(%1)").arg(args.join(QLatin1String(", ")));
    }

    int EmitLike(int i, int end, QString& out) {
        out +=
            m_engine == SqlDialect::Engine::Postgres ? QStringLiteral("ILIKE") : m_tokens[i].text;
        const int pattern = NextSolid(i + 1, end);
        if (pattern < end && IsPunct(m_tokens[pattern], '?')) {
            // A bound pattern is made with LikeEscape: its escape character is "\".
            for (int k = i + 1; k <= pattern; ++k)
                out += m_tokens[k].text;
            out += QStringLiteral(" ESCAPE '\\'");
            // Text glued to the "?" must not run into the added quote.
            if (pattern + 1 < end && (m_tokens[pattern + 1].type == Tok::String ||
                                      m_tokens[pattern + 1].type == Tok::Word))
                out += QLatin1Char(' ');
            return pattern;
        }
        if (pattern >= end || m_tokens[pattern].type != Tok::String)
            return i;
        for (int k = i + 1; k < pattern; ++k)
            out += m_tokens[k].text;
        out += m_tokens[pattern].text;
        const QString& quoted = m_tokens[pattern].text;
        const bool closed = quoted.count(QLatin1Char('\'')) % 2 == 0; // its quote was closed
        if (closed && quoted.contains(QLatin1Char('\\')))
            out += QStringLiteral(" ESCAPE '\\'");
        if (pattern + 1 < end && m_tokens[pattern + 1].type == Tok::Word)
            out += QLatin1Char(' ');
        return pattern;
    }

    int EmitFrom(int i, int end, QString& out) {
        out += m_tokens[i].text;
        const int open = NextSolid(i + 1, end);
        if (open >= end || !IsPunct(m_tokens[open], '('))
            return i;
        const int close = Closing(open, end);
        if (close >= end)
            return i;
        for (int k = i + 1; k < open; ++k)
            out += m_tokens[k].text;
        out += QLatin1Char('(') + Range(open + 1, close) + QLatin1Char(')');
        const int after = NextSolid(close + 1, end);
        if (after >= end || EndsTableReference(m_tokens[after]))
            out += QStringLiteral(" AS derived%1").arg(++m_nDerived);
        return close;
    }

    const QVector<Token>& m_tokens;
    SqlDialect::Engine m_engine;
    int m_nDerived = 0;
};

} // namespace

QString SqlDialect::Rewrite(const QString& sql) const {
    const QVector<Token> tokens = Tokenize(sql);
    Rewriter rewriter(tokens, m_engine);
    QString text = rewriter.Range(0, tokens.size());
    if (m_engine == Engine::Postgres) {
        if (IsPlainTableSelect(tokens)) {
            text = text.trimmed() + QStringLiteral(" ORDER BY harbor_id");
        } else if (const int columns = UnorderedDistinctColumns(tokens); columns > 0) {
            // The local file hands distinct rows out in the order of their columns' index;
            // the server's hashing would give them in any order.
            QStringList positions;
            for (int i = 1; i <= columns; ++i)
                positions.append(QString::number(i));
            text = text.trimmed() + QStringLiteral(" ORDER BY ") +
                   positions.join(QStringLiteral(", "));
        }
    }
    return text;
}

QString SqlDialect::RowIdColumn() const {
    return m_engine == Engine::Postgres ? QStringLiteral("harbor_id") : QStringLiteral("rowid");
}

QString SqlDialect::ReturningRowId() const {
    return m_engine == Engine::Postgres ? QStringLiteral(" RETURNING harbor_id") : QString();
}

QString SqlDialect::SchemaText(const QString& sql) const {
    if (m_engine != Engine::Postgres)
        return sql;
    const QVector<Token> tokens = Tokenize(sql);
    QString out;
    int depth = 0;
    int lastClose = -1;
    for (int i = 0; i < tokens.size(); ++i) {
        if (IsPunct(tokens[i], '('))
            ++depth;
        else if (IsPunct(tokens[i], ')') && --depth == 0)
            lastClose = i;
    }
    const int first = NextSolidToken(tokens, 0);
    const int second = NextSolidToken(tokens, first + 1);
    const bool createTable = second < tokens.size() && IsWord(tokens[first], "CREATE") &&
                             IsWord(tokens[second], "TABLE");
    for (int i = 0; i < tokens.size(); ++i) {
        if (IsWord(tokens[i], "REAL"))
            out += QStringLiteral("DOUBLE PRECISION");
        else if (createTable && i == lastClose)
            out +=
                QStringLiteral(", harbor_id BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY)");
        else
            out += tokens[i].text;
    }
    return out;
}

bool SqlDialect::CanPrepare(const QString& sql) const {
    if (m_engine != Engine::Postgres)
        return true;
    const QVector<Token> tokens = Tokenize(sql);
    const int first = NextSolidToken(tokens, 0);
    if (first >= tokens.size())
        return false;
    for (const char* word : {"SELECT", "INSERT", "UPDATE", "DELETE", "VALUES", "WITH"}) {
        if (IsWord(tokens[first], word))
            return true;
    }
    return false;
}

int SqlDialect::Placeholders(const QString& sql) {
    int count = 0;
    for (const Token& token : Tokenize(sql)) {
        if (IsPunct(token, '?'))
            ++count;
    }
    return count;
}
