// Resource archives beside SQLite doing the same work: 10,000 small objects (a text each) and 100 pictures of 1 MB
// are stored, the file is reopened and listed, every object is read back, and half are deleted before packing.
// Both sides store the same deflated object streams (SQLite as blobs keyed by path in one table, in one
// transaction), so the figures compare the containers.

#include "Archives/ArchiveLayout.h"
#include "Archives/GResourceFile.h"
#include "Archives/GResourceFileServer.h"
#include "Archives/ResourceTree.h"
#include "Core/Archives/GArchiveText.h"
#include "Imaging/GDIBImage.h"
#include "Streams/mpstream.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int SmallCount = 10000;
constexpr int LargeCount = 100;

std::filesystem::path benchFile(const std::string& name) {
    return std::filesystem::temp_directory_path() / ("korvane-bench-" + name);
}

std::string smallName(int i) {
    return "Clips\\Group" + std::to_string(i % 50) + "\\text" + std::to_string(i) + ",GArchiveText";
}

std::string largeName(int i) {
    return "Pictures\\picture" + std::to_string(i) + ",GDIBImage";
}

GResourceFullName fullName(const std::string& readable) {
    GResourceFullName name;
    name.parse_readable_form(readable.c_str());
    return name;
}

// A 512 x 512 picture of 32-bit pixels: smooth shades with some noise, as photographs are.
GDIBImage makePicture(int seed) {
    GDIBImage picture(512, 512);
    std::vector<DWORD> row(512);
    unsigned noise = static_cast<unsigned>(seed) * 2654435761u;
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const DWORD shade = static_cast<DWORD>((x + y + seed) / 4 + (noise >> 29)) & 0xFF;
            row[static_cast<std::size_t>(x)] = shade | shade << 8 | (255 - shade) << 16;
        }
        picture.put_hline(row.data(), 0, y, 512);
    }
    return picture;
}

const std::vector<GDIBImage>& pictures() {
    static const std::vector<GDIBImage> made = [] {
        std::vector<GDIBImage> list;
        for (int i = 0; i < LargeCount; ++i)
            list.push_back(makePicture(i));
        return list;
    }();
    return made;
}

GArchiveText smallText(int i) {
    return GArchiveText(("clip art text number " + std::to_string(i)).c_str());
}

// The archive side

void putAll(GResourceFile& file, bool small, bool large) {
    for (int i = 0; small && i < SmallCount; ++i) {
        GArchiveText text = smallText(i);
        file.put(&text, fullName(smallName(i)), false);
    }
    for (int i = 0; large && i < LargeCount; ++i)
        file.put(const_cast<GDIBImage*>(&pictures()[static_cast<std::size_t>(i)]), fullName(largeName(i)), false);
    file.flush();
}

const std::filesystem::path& preparedArchive() {
    static const std::filesystem::path path = [] {
        const auto file = benchFile("prepared.kpk");
        std::filesystem::remove(file);
        GResourceFile archive(file.c_str(), GIO::ReadWrite);
        putAll(archive, true, true);
        return file;
    }();
    return path;
}

// Times storing everything of one size into a new file through `store(path, small, large)`.
template <class Store>
void timeStoring(benchmark::State& state, const char* name, Store store) {
    const bool small = state.range(0) == 0;
    const auto path = benchFile(name);
    if (!small)
        pictures();
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(path);
        state.ResumeTiming();
        store(path, small, !small);
    }
    std::filesystem::remove(path);
}

void ArchivePut(benchmark::State& state) {
    timeStoring(state, "put.kpk", [](const std::filesystem::path& path, bool small, bool large) {
        GResourceFile file(path.c_str(), GIO::ReadWrite);
        putAll(file, small, large);
    });
}

void ArchiveReopenAndList(benchmark::State& state) {
    const auto& path = preparedArchive();
    for (auto _ : state) {
        GResourceFile file(path.c_str(), GIO::ReadOnly);
        GSingleLock lock(file.get_server()->critical_section());
        state.counters["items"] = static_cast<double>(ResourceTree::ListItems(file.get_server()->root()).size());
    }
}

void ArchiveGet(benchmark::State& state) {
    const bool small = state.range(0) == 0;
    GResourceFile file(preparedArchive().c_str(), GIO::ReadOnly);
    for (auto _ : state)
        for (int i = 0; i < (small ? SmallCount : LargeCount); ++i)
            file.get(fullName(small ? smallName(i) : largeName(i)), false)->destroyThis();
}

void ArchivePackHalf(benchmark::State& state) {
    const auto path = benchFile("pack.kpk");
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::copy_file(preparedArchive(), path, std::filesystem::copy_options::overwrite_existing);
        GResourceFile file(path.c_str(), GIO::ReadWrite);
        for (int i = 0; i < SmallCount; i += 2)
            file.remove(fullName(smallName(i)));
        for (int i = 0; i < LargeCount; i += 2)
            file.remove(fullName(largeName(i)));
        state.ResumeTiming();
        file.pack();
    }
    std::filesystem::remove(path);
}

// The SQLite side: the same object streams, deflated at the same level, as blobs.

std::vector<BYTE> deflated(const GStreamable& object, uLongf& unpacked) {
    ompstream stream;
    stream.writePointer(&object);
    unpacked = static_cast<uLongf>(stream.length());
    uLongf size = compressBound(unpacked);
    std::vector<BYTE> bytes(size);
    compress2(bytes.data(), &size, static_cast<const Bytef*>(stream.data()), unpacked, Z_DEFAULT_COMPRESSION);
    bytes.resize(size);
    return bytes;
}

GStreamable* inflated(const void* blob, int size, sqlite3_int64 unpacked) {
    std::vector<BYTE> bytes(static_cast<std::size_t>(unpacked));
    uLongf length = static_cast<uLongf>(unpacked);
    uncompress(bytes.data(), &length, static_cast<const Bytef*>(blob), static_cast<uLong>(size));
    impstream stream(bytes.data(), length);
    return stream.readPointer<GStreamable>();
}

class Database {
public:
    explicit Database(const std::filesystem::path& path) { sqlite3_open(path.c_str(), &m_db); }
    ~Database() { sqlite3_close(m_db); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void run(const char* sql) { sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }
    sqlite3_stmt* prepare(const char* sql) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr);
        return statement;
    }

private:
    sqlite3* m_db = nullptr;
};

void sqlitePutAll(Database& db, bool small, bool large) {
    db.run("CREATE TABLE IF NOT EXISTS items (path TEXT PRIMARY KEY, unpacked INTEGER, data BLOB)");
    db.run("BEGIN");
    sqlite3_stmt* insert = db.prepare("INSERT OR REPLACE INTO items VALUES (?, ?, ?)");
    const auto store = [&](const std::string& path, const GStreamable& object) {
        uLongf unpacked = 0;
        const std::vector<BYTE> bytes = deflated(object, unpacked);
        sqlite3_bind_text(insert, 1, path.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(insert, 2, static_cast<sqlite3_int64>(unpacked));
        sqlite3_bind_blob(insert, 3, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    };
    for (int i = 0; small && i < SmallCount; ++i)
        store(smallName(i), smallText(i));
    for (int i = 0; large && i < LargeCount; ++i)
        store(largeName(i), pictures()[static_cast<std::size_t>(i)]);
    sqlite3_finalize(insert);
    db.run("COMMIT");
}

const std::filesystem::path& preparedDatabase() {
    static const std::filesystem::path path = [] {
        const auto file = benchFile("prepared.sqlite");
        std::filesystem::remove(file);
        Database db(file);
        sqlitePutAll(db, true, true);
        return file;
    }();
    return path;
}

void SqlitePut(benchmark::State& state) {
    timeStoring(state, "put.sqlite", [](const std::filesystem::path& path, bool small, bool large) {
        Database db(path);
        sqlitePutAll(db, small, large);
    });
}

void SqliteReopenAndList(benchmark::State& state) {
    const auto& path = preparedDatabase();
    for (auto _ : state) {
        Database db(path);
        sqlite3_stmt* names = db.prepare("SELECT path FROM items");
        std::vector<std::string> paths;
        while (sqlite3_step(names) == SQLITE_ROW)
            paths.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(names, 0)));
        sqlite3_finalize(names);
        state.counters["items"] = static_cast<double>(paths.size());
    }
}

void SqliteGet(benchmark::State& state) {
    const bool small = state.range(0) == 0;
    Database db(preparedDatabase());
    sqlite3_stmt* select = db.prepare("SELECT unpacked, data FROM items WHERE path = ?");
    for (auto _ : state)
        for (int i = 0; i < (small ? SmallCount : LargeCount); ++i) {
            const std::string path = small ? smallName(i) : largeName(i);
            sqlite3_bind_text(select, 1, path.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_step(select);
            inflated(sqlite3_column_blob(select, 1), sqlite3_column_bytes(select, 1), sqlite3_column_int64(select, 0))
                ->destroyThis();
            sqlite3_reset(select);
        }
    sqlite3_finalize(select);
}

void SqliteVacuumHalf(benchmark::State& state) {
    const auto path = benchFile("vacuum.sqlite");
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::copy_file(preparedDatabase(), path, std::filesystem::copy_options::overwrite_existing);
        Database db(path);
        db.run("DELETE FROM items WHERE rowid % 2 = 0");
        state.ResumeTiming();
        db.run("VACUUM");
    }
    std::filesystem::remove(path);
}

// Hostile archives: opening one must take time in proportion to its size, whatever its bytes hold.

// A header, then `mebibytes` MiB of trailer signatures, none with a valid check value.
void writeRepeatedSignatures(const std::filesystem::path& path, long mebibytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(ArchiveLayout::Header.data()), ArchiveLayout::Header.size());
    std::string piece;
    while (piece.size() < 1 << 20)
        piece.append(ArchiveLayout::Signature.begin(), ArchiveLayout::Signature.end());
    piece.resize(1 << 20);
    for (long i = 0; i < mebibytes; ++i)
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
}

// A header, a deflate stream that inflates to 50 MB of one byte (no tree), then `count` valid trailers naming it.
void writeTrailersOfOneBadTree(const std::filesystem::path& path, int count) {
    const std::string zeros(50 << 20, '\0');
    std::string packed(compressBound(zeros.size()), '\0');
    z_stream zs{};
    deflateInit2(&zs, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
    zs.avail_in = static_cast<uInt>(zeros.size());
    zs.next_out = reinterpret_cast<Bytef*>(packed.data());
    zs.avail_out = static_cast<uInt>(packed.size());
    deflate(&zs, Z_FINISH);
    packed.resize(zs.total_out);
    deflateEnd(&zs);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(ArchiveLayout::Header.data()), ArchiveLayout::Header.size());
    out.write(packed.data(), static_cast<std::streamsize>(packed.size()));
    const auto trailer = ArchiveLayout::MakeTrailer(ArchiveLayout::HeaderSize);
    for (int i = 0; i < count; ++i)
        out.write(reinterpret_cast<const char*>(trailer.data()), trailer.size());
}

void openHostile(benchmark::State& state, const std::filesystem::path& path) {
    for (auto _ : state) {
        GResourceFile file(path.c_str(), GIO::ReadOnly);
        benchmark::DoNotOptimize(file.get_server()->is_unreadable());
    }
    state.counters["MiB"] = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
    std::filesystem::remove(path);
}

void ArchiveOpenRepeatedSignatures(benchmark::State& state) {
    const auto path = benchFile("signatures.kpk");
    writeRepeatedSignatures(path, state.range(0));
    openHostile(state, path);
}

void ArchiveOpenTrailersOfOneBadTree(benchmark::State& state) {
    const auto path = benchFile("trailers.kpk");
    writeTrailersOfOneBadTree(path, static_cast<int>(state.range(0)));
    openHostile(state, path);
}

} // namespace

// Argument 0: the 10,000 small objects; 1: the 100 pictures of 1 MB.
BENCHMARK(ArchivePut)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(SqlitePut)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ArchiveReopenAndList)->Unit(benchmark::kMillisecond);
BENCHMARK(SqliteReopenAndList)->Unit(benchmark::kMillisecond);
BENCHMARK(ArchiveGet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(SqliteGet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ArchivePackHalf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(SqliteVacuumHalf)->Unit(benchmark::kMillisecond)->Iterations(3);
// Argument: MiB of signatures; trailers.
BENCHMARK(ArchiveOpenRepeatedSignatures)->Arg(32)->Arg(1024)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ArchiveOpenTrailersOfOneBadTree)->Arg(4000)->Unit(benchmark::kMillisecond)->Iterations(1);
