#include "dictionary/folded_like.h"

#include <sqlite3.h>
#include <string>
#include <string_view>

#include "base/sqlite_handle.h"
#include "dictionary/search_fold.h"

namespace {

void deletePattern(void* p) { delete static_cast<std::string*>(p); }

// The pattern as UTF-8, kept for the whole statement rather than converted for
// every row; null when SQLite would not keep it (then the caller converts it).
const std::string* keptPattern(sqlite3_context* ctx, sqlite3_value* arg) {
    if (auto* kept = static_cast<std::string*>(sqlite3_get_auxdata(ctx, 2))) return kept;
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arg));
    if (!text) return nullptr;
    sqlite3_set_auxdata(ctx, 2, new std::string(text, static_cast<std::size_t>(sqlite3_value_bytes(arg))),
                        deletePattern);
    return static_cast<std::string*>(sqlite3_get_auxdata(ctx, 2));
}

bool like(const std::string& pattern, const char* folded) {
    return sqlite3_strlike(pattern.c_str(), folded, 0) == 0;
}

// value is NUL-terminated, as SQLite hands texts over.
bool foldedMatch(const SearchFold& fold, std::string_view value, const std::string& pattern) {
    if (fold.keeps(value)) return like(pattern, value.data());
    thread_local std::string folded;
    fold.utf8(value, folded);
    return like(pattern, folded.c_str());
}

void foldedLike(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int kind = sqlite3_value_int(argv[1]);
    std::string unkept;
    const std::string* pattern = keptPattern(ctx, argv[2]);
    if (!pattern) {
        if (const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(argv[2]))) {
            unkept.assign(p, static_cast<std::size_t>(sqlite3_value_bytes(argv[2])));
            pattern = &unkept;
        }
    }
    if (!text || !pattern || kind < SearchFold::Plain || kind > kFoldForms) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    const std::string_view value(text, static_cast<std::size_t>(sqlite3_value_bytes(argv[0])));
    if (kind != kFoldForms) {
        sqlite3_result_int(ctx,
                           foldedMatch(SearchFold(static_cast<SearchFold::Kind>(kind)), value, *pattern));
        return;
    }
    const SearchFold plain(SearchFold::Plain);
    thread_local std::string form;
    std::size_t from = 0;
    while (from <= value.size()) {
        std::size_t to = value.find(';', from);
        if (to == std::string_view::npos) to = value.size();
        std::string_view part = value.substr(from, to - from);
        while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
        while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
        form.assign(part);  // its own NUL at the end
        if (!form.empty() && foldedMatch(plain, form, *pattern)) {
            sqlite3_result_int(ctx, 1);
            return;
        }
        from = to + 1;
    }
    sqlite3_result_int(ctx, 0);
}

}  // namespace

bool registerFoldedLike(QSqlDatabase& db) {
    sqlite3* h = sqliteHandle(db);
    return h && sqlite3_create_function_v2(h, "folded_like", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                           foldedLike, nullptr, nullptr, nullptr) == SQLITE_OK;
}
