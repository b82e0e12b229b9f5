// The raw engine side of the benchmark suite: SQLite's C API and nothing else (no Qt), so that
// each action of the program can be set beside the same SQL run straight on the engine.
//
// bench_raw FILE reads commands from standard input, one a line, fields separated by tabs, and
// answers each with one line "milliseconds<TAB>rows<TAB>checksum":
//   Q     sql  value...   prepare (kept for the next run of the same text), bind the values as
//                         text, step through every row and read every column as text
//   SAVE  table oddnum code...
//                         store a sales document with one line per code and move the stock,
//                         with the statements the program's save runs, in one transaction
//   LOOP  n sql value...  run a bound statement n times inside a transaction that is rolled
//                         back; a value "#" takes the run's index, "@" the code of product i
//   YEARS table           the years present in the table, one index seek per year
//   QUIT
// Statements are prepared once per text, as the program's connection keeps them.
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

sqlite3* g_db = nullptr;
std::map<std::string, sqlite3_stmt*> g_statements;
std::vector<std::string> g_codes; // product codes in code order, for LOOP's "@"

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "bench_raw: %s: %s\n", what.c_str(), sqlite3_errmsg(g_db));
    std::exit(2);
}

sqlite3_stmt* Prepared(const std::string& sql) {
    auto found = g_statements.find(sql);
    if (found != g_statements.end()) {
        sqlite3_reset(found->second);
        sqlite3_clear_bindings(found->second);
        return found->second;
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(g_db, sql.c_str(), int(sql.size()), &statement, nullptr) != SQLITE_OK)
        Fail(sql);
    g_statements[sql] = statement;
    return statement;
}

void BindText(sqlite3_stmt* statement, int index, const std::string& value) {
    if (sqlite3_bind_text(statement, index, value.c_str(), int(value.size()), SQLITE_TRANSIENT) !=
        SQLITE_OK)
        Fail("bind");
}

struct Counts {
    long long rows = 0;
    long long checksum = 0;
};

// Steps through the result and reads every column of every row as text.
void ReadAll(sqlite3_stmt* statement, Counts& counts) {
    const int columns = sqlite3_column_count(statement);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        ++counts.rows;
        for (int c = 0; c < columns; ++c) {
            const unsigned char* text = sqlite3_column_text(statement, c);
            counts.checksum += text ? sqlite3_column_bytes(statement, c) : 0;
        }
    }
    if (rc != SQLITE_DONE)
        Fail("step");
    sqlite3_reset(statement);
}

void Run(const std::string& sql, const std::vector<std::string>& values, Counts& counts) {
    sqlite3_stmt* statement = Prepared(sql);
    for (size_t i = 0; i < values.size(); ++i)
        BindText(statement, int(i + 1), values[i]);
    ReadAll(statement, counts);
}

void Exec(const char* sql) {
    if (sqlite3_exec(g_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail(sql);
}

// The statements of the program's save of a new sales document: the document's rows (none
// yet), one INSERT per line, then per line the product's stock read and written back by its
// row, and the number columns of the document's rows.
void Save(const std::string& table, const std::string& oddnum,
          const std::vector<std::string>& codes, Counts& counts) {
    Exec("BEGIN IMMEDIATE");
    Run("SELECT rowid AS harbor_rowid, * FROM " + table + " WHERE oddnum=?", {oddnum}, counts);
    const std::string insert =
        "INSERT INTO \"" + table +
        "\" (\"oddnum\",\"customer\",\"mydate\",\"receivable\",\"receipt\",\"state\","
        "\"employeename\",\"employeeid\",\"mc\",\"shortname\",\"code\",\"spec\",\"price\","
        "\"count\",\"discount\",\"total\",\"pcs\",\"remarks\") VALUES "
        "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
    for (const std::string& code : codes)
        Run(insert,
            {oddnum, "演示客户", "2026-12-31 10:00:00", "1000.00", "1000.00", "结清", "张三", "001",
             "五金工具-扳手-国标-小号", "扳手小号", code, "10个/箱", "10.0000", "1", "1.0", "10.00",
             "", ""},
            counts);
    for (const std::string& code : codes) {
        sqlite3_stmt* read =
            Prepared("SELECT rowid AS harbor_rowid, total FROM property WHERE code=?");
        BindText(read, 1, code);
        if (sqlite3_step(read) == SQLITE_ROW) {
            const sqlite3_int64 rowid = sqlite3_column_int64(read, 0);
            const double total = sqlite3_column_double(read, 1);
            sqlite3_reset(read);
            sqlite3_stmt* write = Prepared("UPDATE \"property\" SET \"total\"=? WHERE rowid=?");
            char text[64];
            std::snprintf(text, sizeof text, "%.2f", total - 1);
            BindText(write, 1, text);
            sqlite3_bind_int64(write, 2, rowid);
            if (sqlite3_step(write) != SQLITE_DONE)
                Fail("update stock");
            sqlite3_reset(write);
        } else {
            sqlite3_reset(read);
        }
    }
    Run("update " + table + " set freceivable=?,freceipt=? where oddnum=?",
        {"1000.000000", "1000.000000", oddnum}, counts);
    Exec("COMMIT");
}

// Read once, before the first LOOP is timed.
void LoadCodes() {
    if (!g_codes.empty())
        return;
    sqlite3_stmt* codes = Prepared("SELECT code FROM property ORDER BY code");
    while (sqlite3_step(codes) == SQLITE_ROW)
        g_codes.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(codes, 0)));
    sqlite3_reset(codes);
}

void Loop(int n, const std::string& sql, const std::vector<std::string>& values, Counts& counts) {
    Exec("BEGIN IMMEDIATE");
    for (int i = 0; i < n; ++i) {
        sqlite3_stmt* statement = Prepared(sql);
        for (size_t v = 0; v < values.size(); ++v) {
            if (values[v] == "#")
                BindText(statement, int(v + 1), std::to_string(i));
            else if (values[v] == "@")
                BindText(statement, int(v + 1), g_codes[size_t(i) % g_codes.size()]);
            else
                BindText(statement, int(v + 1), values[v]);
        }
        ReadAll(statement, counts);
        counts.checksum += sqlite3_changes(g_db);
    }
    Exec("ROLLBACK");
}

// Each step finds the smallest number at or after the start of the next year.
void Years(const std::string& table, Counts& counts) {
    std::string from;
    for (;;) {
        sqlite3_stmt* statement =
            Prepared("SELECT min(oddnum) FROM " + table + " WHERE oddnum >= ?");
        BindText(statement, 1, from);
        if (sqlite3_step(statement) != SQLITE_ROW)
            Fail("years");
        const unsigned char* text = sqlite3_column_text(statement, 0);
        if (!text) {
            sqlite3_reset(statement);
            break;
        }
        std::string prefix(reinterpret_cast<const char*>(text));
        sqlite3_reset(statement);
        prefix = prefix.substr(0, 4);
        ++counts.rows;
        counts.checksum += std::atoi(prefix.c_str());
        // The first text past every text that begins with the prefix.
        while (!prefix.empty() && static_cast<unsigned char>(prefix.back()) == 0xFF)
            prefix.pop_back();
        if (prefix.empty())
            break;
        prefix.back() = char(prefix.back() + 1);
        from = prefix;
    }
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_raw FILE (commands on standard input)\n");
        return 1;
    }
    if (sqlite3_open_v2(argv[1], &g_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        Fail(argv[1]);
    sqlite3_busy_timeout(g_db, 5000);
    std::string line;
    while (std::getline(std::cin, line)) {
        const std::vector<std::string> f = Split(line);
        if (f[0] == "QUIT")
            break;
        Counts counts;
        if (f[0] == "LOOP")
            LoadCodes();
        const auto start = std::chrono::steady_clock::now();
        if (f[0] == "Q" && f.size() >= 2) {
            Run(f[1], std::vector<std::string>(f.begin() + 2, f.end()), counts);
        } else if (f[0] == "SAVE" && f.size() >= 3) {
            Save(f[1], f[2], std::vector<std::string>(f.begin() + 3, f.end()), counts);
        } else if (f[0] == "LOOP" && f.size() >= 3) {
            Loop(std::atoi(f[1].c_str()), f[2], std::vector<std::string>(f.begin() + 3, f.end()),
                 counts);
        } else if (f[0] == "YEARS" && f.size() == 2) {
            Years(f[1], counts);
        } else {
            std::fprintf(stderr, "bench_raw: unknown command %s\n", line.c_str());
            return 1;
        }
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        std::printf("%.3f\t%lld\t%lld\n", ms, counts.rows, counts.checksum);
        std::fflush(stdout);
    }
    for (auto& entry : g_statements)
        sqlite3_finalize(entry.second);
    sqlite3_close(g_db);
    return 0;
}
