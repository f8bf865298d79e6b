// The archive's bytes checked against a reader and a writer of its own, made from the file format alone with
// nothing but zlib: what the program writes they read, and what they write the program reads.

#include "Archives/GResourceFile.h"
#include "Core/Archives/ArchiveTesting.h"
#include "Core/Archives/GArchiveText.h"
#include "Support/FileContents.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes Prefix = {0xB1, 0xB5, 0x0F, 0xCF};
const Bytes Suffix = {0xEF, 0x80, 0x4A, 0x29};
const Bytes Signature = {0x4F, 0x62, 0x6A, 0xBF, 0x08, 0xB4, 0x52, 0x65,
                         0x73, 0x6F, 0x75, 0x72, 0x63, 0x65, 0x73, 0x00};

std::uint32_t le32(const Bytes& bytes, std::size_t at) {
    return bytes.at(at) | bytes.at(at + 1) << 8 | bytes.at(at + 2) << 16 |
           static_cast<std::uint32_t>(bytes.at(at + 3)) << 24;
}

std::uint32_t checkValue(const std::uint8_t* positionAndSignature) {
    return ~static_cast<std::uint32_t>(crc32(0xFFFFFFFFul, positionAndSignature, 20));
}

// The raw deflate stream at `at`, inflated.
Bytes inflateAt(const Bytes& file, std::size_t at) {
    z_stream zs{};
    inflateInit2(&zs, -15);
    zs.next_in = const_cast<Bytef*>(file.data() + at);
    zs.avail_in = static_cast<uInt>(file.size() - at);
    Bytes out;
    int result = Z_OK;
    while (result == Z_OK) {
        std::uint8_t piece[4096];
        zs.next_out = piece;
        zs.avail_out = sizeof piece;
        result = inflate(&zs, Z_NO_FLUSH);
        out.insert(out.end(), piece, piece + (sizeof piece - zs.avail_out));
    }
    inflateEnd(&zs);
    if (result != Z_STREAM_END)
        throw std::runtime_error("a deflate stream does not end");
    return out;
}

Bytes deflateRaw(const Bytes& data) {
    z_stream zs{};
    deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&zs, data.size()));
    zs.next_in = const_cast<Bytef*>(data.data());
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

// Reading an object stream of the archive's classes, little-endian.
class StreamReader {
public:
    explicit StreamReader(Bytes bytes) : m_bytes(std::move(bytes)) {}

    std::uint8_t byte() { return m_bytes.at(m_at++); }
    std::uint32_t dword() {
        const std::uint32_t value = le32(m_bytes, m_at);
        m_at += 4;
        return value;
    }
    std::uint32_t compact() {
        const std::uint32_t word = byte() | byte() << 8;
        return word < 0x8000 ? word : (word & 0x7FFF) << 16 | byte() | byte() << 8;
    }
    std::string text() {
        std::uint32_t n = byte() | byte() << 8;
        if (n == 0xFFFE)
            n = dword();
        const std::string value(m_bytes.begin() + static_cast<long>(m_at),
                                m_bytes.begin() + static_cast<long>(m_at + n));
        m_at += n;
        return value;
    }
    void expect(const Bytes& marker) {
        for (std::uint8_t b : marker)
            if (byte() != b)
                throw std::runtime_error("a marker is wrong");
    }
    // A pointer to a new object: its class name, with the stream at its body; empty for null.
    std::string open() {
        const std::uint8_t kind = byte();
        if (kind == 0)
            return "";
        if (kind != 2)
            throw std::runtime_error("a back-reference in a tree");
        m_starts.push_back(m_at);
        expect(Prefix);
        return text();
    }
    void close(const std::string& className) {
        expect(Suffix);
        if (dword() != m_at - m_starts.back() - 4 || text() != className)
            throw std::runtime_error("a frame's suffix is wrong");
        m_starts.pop_back();
    }

private:
    Bytes m_bytes;
    std::size_t m_at = 0;
    std::vector<std::size_t> m_starts;
};

// Reads an archive as the format describes it and lists it as ArchiveListing does (texts of GArchiveText items).
class IndependentReader {
public:
    explicit IndependentReader(Bytes file) : m_file(std::move(file)) {}

    std::string list() {
        if (Bytes(m_file.begin(), m_file.begin() + 8) != Bytes{0x46, 0x42, 0x50, 0x52, 0xFF, 0xFF, 0xFF, 0xFF})
            throw std::runtime_error("no header");
        const std::size_t trailer = m_file.size() - 24;
        if (le32(m_file, trailer) != checkValue(&m_file[trailer + 4]) ||
            Bytes(m_file.begin() + static_cast<long>(trailer) + 8, m_file.end()) != Signature)
            throw std::runtime_error("no valid trailer at the end");
        StreamReader tree(inflateAt(m_file, le32(m_file, trailer + 4)));
        if (tree.open() != "GResourceDirectory")
            throw std::runtime_error("the tree is no directory");
        std::string listing;
        directory(tree, "", listing);
        return listing;
    }

private:
    void directory(StreamReader& in, const std::string& path, std::string& listing) {
        in.byte(); // version
        const std::uint32_t types = collectionStart(in);
        for (std::uint32_t t = 0; t < types; ++t) {
            const std::string type = in.text();
            if (in.open() != "GResourceCollection")
                throw std::runtime_error("a type without items");
            const std::uint32_t items = collectionStart(in);
            for (std::uint32_t i = 0; i < items; ++i) {
                const std::string name = in.text();
                const auto position = static_cast<std::uint32_t>(-static_cast<std::int32_t>(in.dword()));
                in.byte();
                in.dword(); // stored size
                in.dword(); // unpacked size
                const bool compressed = in.byte() != 0;
                listing += path + name + "," + type + "=" + itemText(position, compressed) + "\n";
            }
            in.byte(); // duplicates
            in.close("GResourceCollection");
        }
        in.byte();
        in.text(); // the directory's own name
        if (in.open() == "GResourceDirectoryList") {
            in.byte();
            const std::uint32_t count = collectionStart(in);
            for (std::uint32_t d = 0; d < count; ++d) {
                if (in.open() != "GResourceDirectory")
                    throw std::runtime_error("a sub-directory is no directory");
                StreamReader peek = in;
                peek.byte();
                skipToName(peek);
                const std::string below = path + peek.text() + "\\";
                listing += below + "\n";
                directory(in, below, listing);
            }
            in.byte();
            in.close("GResourceDirectoryList");
        }
        in.close("GResourceDirectory");
    }

    // Skips a directory's types to reach its name (the name is written after them).
    static void skipToName(StreamReader& in) {
        const std::uint32_t types = collectionStart(in);
        for (std::uint32_t t = 0; t < types; ++t) {
            in.text();
            in.open();
            const std::uint32_t items = collectionStart(in);
            for (std::uint32_t i = 0; i < items; ++i) {
                in.text();
                for (int skip = 0; skip < 14; ++skip)
                    in.byte();
            }
            in.byte();
            in.close("GResourceCollection");
        }
        in.byte();
    }

    static std::uint32_t collectionStart(StreamReader& in) {
        const std::uint32_t count = in.compact();
        in.compact(); // limit
        in.compact(); // delta
        in.byte();    // owns its items
        return count;
    }

    std::string itemText(std::uint32_t position, bool compressed) {
        StreamReader object(compressed ? inflateAt(m_file, position) : Bytes(m_file.begin() + position, m_file.end()));
        const std::string className = object.open();
        if (className != "GArchiveText")
            return "<other>";
        const std::string text = object.text();
        object.close(className);
        return text;
    }

    Bytes m_file;
};

// Writing an archive as the format describes it.
class IndependentWriter {
public:
    IndependentWriter() : m_file{0x46, 0x42, 0x50, 0x52, 0xFF, 0xFF, 0xFF, 0xFF} {}

    // Stores a GArchiveText and returns its item entry for a collection body.
    Bytes item(const std::string& name, const std::string& text) {
        Bytes object = frame("GArchiveText", string(text));
        object.insert(object.begin(), 2);
        const Bytes stored = deflateRaw(object);
        Bytes entry = string(name);
        append(entry, dword(static_cast<std::uint32_t>(-static_cast<std::int32_t>(m_file.size()))));
        entry.push_back(0);
        append(entry, dword(static_cast<std::uint32_t>(stored.size())));
        append(entry, dword(static_cast<std::uint32_t>(object.size())));
        entry.push_back(1);
        append(m_file, stored);
        return entry;
    }

    // A directory of one type with the given item entries, and sub-directories (pointer bodies) or none.
    static Bytes directory(const std::string& name, const std::string& type, const std::vector<Bytes>& items,
                           const std::vector<Bytes>& subdirectories) {
        Bytes body{0};
        append(body, collection(1, [&](Bytes& out) {
                   append(out, string(type));
                   out.push_back(2);
                   append(out, frame("GResourceCollection",
                                     collection(static_cast<std::uint32_t>(items.size()), [&](Bytes& inner) {
                                         for (const Bytes& entry : items)
                                             append(inner, entry);
                                     })));
               }));
        append(body, string(name));
        if (subdirectories.empty()) {
            body.push_back(0);
        } else {
            Bytes list{0};
            append(list, collection(static_cast<std::uint32_t>(subdirectories.size()), [&](Bytes& out) {
                       for (const Bytes& sub : subdirectories) {
                           out.push_back(2);
                           append(out, sub);
                       }
                   }));
            body.push_back(2);
            append(body, frame("GResourceDirectoryList", list));
        }
        return frame("GResourceDirectory", body);
    }

    Bytes finish(const Bytes& root) {
        const auto treePosition = static_cast<std::uint32_t>(m_file.size());
        Bytes pointer{2};
        append(pointer, root);
        append(m_file, deflateRaw(pointer));
        Bytes trailer = dword(0);
        append(trailer, dword(treePosition));
        append(trailer, Signature);
        const Bytes check = dword(checkValue(&trailer[4]));
        std::copy(check.begin(), check.end(), trailer.begin());
        append(m_file, trailer);
        append(m_file, trailer);
        return m_file;
    }

private:
    static void append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }
    static Bytes dword(std::uint32_t value) {
        return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    }
    static Bytes string(const std::string& text) {
        Bytes out{static_cast<std::uint8_t>(text.size()), static_cast<std::uint8_t>(text.size() >> 8)};
        out.insert(out.end(), text.begin(), text.end());
        return out;
    }
    template <class Items>
    static Bytes collection(std::uint32_t count, Items items) {
        Bytes out{static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(count >> 8), 4, 0, 4, 0, 1};
        items(out);
        out.push_back(0); // no duplicates
        return out;
    }
    static Bytes frame(const std::string& className, const Bytes& body) {
        Bytes out = Prefix;
        append(out, string(className));
        append(out, body);
        append(out, Suffix);
        append(out, dword(static_cast<std::uint32_t>(out.size())));
        append(out, string(className));
        return out;
    }

    Bytes m_file;
};

Bytes fileBytes(const char* path) {
    const std::string text = readFile(path);
    return Bytes(text.begin(), text.end());
}

void put(GResourceFile& file, const char* readable, const char* text) {
    GResourceFullName name;
    name.parse_readable_form(readable);
    GArchiveText object(text);
    ASSERT_TRUE(file.put(&object, name, false));
}

} // namespace

TEST(ArchiveWireFormat, AnIndependentReaderReadsWhatTheProgramWrites) {
    {
        GResourceFile file("written.kpk", GIO::ReadWrite);
        put(file, "top,t", "at the root");
        put(file, "A\\one,t", "first");
        file.flush();
        put(file, "A\\B\\two,u", "second");
        put(file, "A\\one,t", "first again");
    }
    GResourceFile file("written.kpk", GIO::ReadOnly);
    const std::string expected = ArchiveListing(file);
    EXPECT_EQ(expected, "top,t=at the root\nA\\\nA\\one,t=first again\nA\\B\\\nA\\B\\two,u=second\n");
    EXPECT_EQ(IndependentReader(fileBytes("written.kpk")).list(), expected);
}

TEST(ArchiveWireFormat, TheProgramReadsWhatAnIndependentWriterWrites) {
    IndependentWriter writer;
    const Bytes inner = IndependentWriter::directory("D", "u", {writer.item("b", "beta")}, {});
    const Bytes root =
        IndependentWriter::directory("", "t", {writer.item("a", "alpha"), writer.item("c", "gamma")}, {inner});
    const Bytes bytes = writer.finish(root);
    WriteBytes("independent.kpk", std::string(bytes.begin(), bytes.end()));
    GResourceFile file("independent.kpk", GIO::ReadOnly);
    EXPECT_EQ(ArchiveListing(file), "a,t=alpha\nc,t=gamma\nD\\\nD\\b,u=beta\n");
    EXPECT_EQ(IndependentReader(bytes).list(), ArchiveListing(file));
}
