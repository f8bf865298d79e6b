#include "StreamDump.h"

#include "Classes/GMetaClass.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/StreamFormat.h"

#include <algorithm>
#include <cstdio>
#include <iomanip>
#include <optional>

namespace {

constexpr std::size_t PreviewBytes = 16;
// A back-reference takes three bytes however long its class name is: it shows the start of the name, which its
// frame printed whole, so the dump grows in proportion to the data.
constexpr std::size_t ReferenceNameLength = 40;

std::string shortName(const std::string& name) {
    return name.size() <= ReferenceNameLength ? name : name.substr(0, ReferenceNameLength) + "...";
}

// The dump goes as deep as a reader does, and no deeper.
void checkDepth(int depth, std::size_t position) {
    if (depth >= StreamFormat::MaxDepth)
        RaiseStreamError("Objects nested too deeply. Position=%li", static_cast<long>(position));
}

std::string hexBytes(const unsigned char* p, std::size_t n) {
    std::string text;
    char digits[4];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(digits, sizeof digits, i == 0 ? "%02X" : " %02X", p[i]);
        text += digits;
    }
    return text;
}

} // namespace

StreamDump::StreamDump(const std::vector<unsigned char>& data, std::size_t base, std::ostream& out)
    : m_data(data), m_base(base), m_out(out) {}

std::size_t StreamDump::run() {
    sequence(0, m_data.size(), 0);
    return m_frames;
}

void StreamDump::line(std::size_t at, int depth, const std::string& text) {
    m_out << std::setw(8) << (m_base + at) << "  " << std::string(static_cast<std::size_t>(depth) * 2, ' ') << text
          << '\n';
}

bool StreamDump::markerAt(std::size_t at, const unsigned char (&marker)[4]) const {
    return at + 4 <= m_data.size() && std::equal(marker, marker + 4, m_data.begin() + static_cast<long>(at));
}

bool StreamDump::newFrameAt(std::size_t at) const {
    return at < m_data.size() && m_data[at] == StreamFormat::NewObject && markerAt(at + 1, StreamFormat::PrefixMarker);
}

// Where the next pointer or frame starts, or `to`.
std::size_t StreamDump::nextStructure(std::size_t from, std::size_t to) const {
    for (std::size_t at = from; at < to; ++at)
        if (newFrameAt(at) || markerAt(at, StreamFormat::PrefixMarker))
            return at;
    return to;
}

// The string at `at`; nothing when the data ends inside it.
std::optional<StreamDump::Name> StreamDump::readName(std::size_t at) const {
    auto word = [&](std::size_t p) {
        return static_cast<std::size_t>(m_data[p] | m_data[p + 1] << 8);
    };
    if (at + 2 > m_data.size())
        return std::nullopt;
    Name name;
    std::size_t length = word(at);
    std::size_t text = at + 2;
    if (length == StreamFormat::NullString) {
        name.end = text;
        return name;
    }
    if (length == StreamFormat::LongString) {
        if (at + 6 > m_data.size())
            return std::nullopt;
        length = word(at + 2) | word(at + 4) << 16;
        text = at + 6;
    }
    if (length > m_data.size() - text)
        return std::nullopt;
    name.present = true;
    name.text.assign(m_data.begin() + static_cast<long>(text), m_data.begin() + static_cast<long>(text + length));
    name.end = text + length;
    return name;
}

StreamDump::Name StreamDump::prefixName(std::size_t at) const {
    const std::optional<Name> name = readName(at + 4);
    if (!name)
        throw new InvalidPStreamPrefix_Exception(static_cast<long>(m_base + at));
    return *name;
}

// The first byte after the frame that starts at `start`: the suffix marker whose length field matches, followed
// by the same name. Nested frames are passed over whole.
std::size_t StreamDump::frameEnd(std::size_t start, const Name& name, int depth) const {
    checkDepth(depth, m_base + start);
    if (const auto known = m_frameEnds.find(start); known != m_frameEnds.end())
        return known->second;
    for (std::size_t at = name.end; at + 8 <= m_data.size(); ++at) {
        if (markerAt(at, StreamFormat::PrefixMarker)) {
            at = frameEnd(at, prefixName(at), depth + 1) - 1;
            continue;
        }
        if (!markerAt(at, StreamFormat::SuffixMarker))
            continue;
        const std::size_t length = m_data[at + 4] | m_data[at + 5] << 8 | m_data[at + 6] << 16 |
                                   static_cast<std::size_t>(m_data[at + 7]) << 24;
        if (length != at + 4 - start)
            continue;
        const std::optional<Name> closing = readName(at + 8);
        if (!closing || closing->present != name.present || closing->text != name.text)
            throw new InvalidPStreamSuffix_Exception(static_cast<long>(m_base + at), name.text.c_str());
        m_frameEnds.emplace(start, closing->end);
        return closing->end;
    }
    throw new InvalidPStreamSuffix_Exception(static_cast<long>(m_base + m_data.size()), name.text.c_str());
}

// Returns the first byte after the frame.
std::size_t StreamDump::frame(std::size_t at, int depth) {
    checkDepth(depth, m_base + at);
    const Name name = prefixName(at);
    const std::size_t end = frameEnd(at, name, depth);
    ++m_frames;
    std::string text = "frame ";
    if (name.present) {
        m_objects.push_back(name.text);
        text += name.text + " #" + std::to_string(m_objects.size());
    } else {
        text += "(not written)";
    }
    text += ", " + std::to_string(end - at) + " bytes";
    if (name.present && GMetaClass::FindByName(name.text.c_str()) == nullptr)
        text += ", class unknown here: skipped when read";
    line(at, depth, text);
    const std::size_t suffix = end - (name.end - (at + 4)) - 8;
    sequence(name.end, suffix, depth + 1);
    line(suffix, depth, "end " + (name.present ? name.text : std::string("frame")));
    return end;
}

void StreamDump::bytes(std::size_t from, std::size_t to, int depth) {
    const std::size_t n = to - from;
    std::string text = "bytes " + std::to_string(n) + ": " + hexBytes(&m_data[from], std::min(n, PreviewBytes));
    if (n > PreviewBytes)
        text += " ...";
    line(from, depth, text);
}

// The index of a back-reference at `at` to an object seen so far, or 0.
std::size_t StreamDump::referenceAt(std::size_t at, std::size_t to) const {
    if (m_data[at] != StreamFormat::BackReference || at + 3 > to)
        return 0;
    const std::size_t index = m_data[at + 1] | m_data[at + 2] << 8;
    return index <= m_objects.size() ? index : 0;
}

// At the top level a stream is taken as a run of pointers, so null pointers and back-references are shown there;
// inside a frame's body only frames can be told from the class's own data.
void StreamDump::sequence(std::size_t from, std::size_t to, int depth) {
    std::size_t at = from;
    while (at < to) {
        if (newFrameAt(at)) {
            line(at, depth, "pointer: new object");
            at = frame(at + 1, depth);
        } else if (markerAt(at, StreamFormat::PrefixMarker)) {
            at = frame(at, depth);
        } else if (depth == 0 && m_data[at] == StreamFormat::NullPointer) {
            line(at, depth, "pointer: null");
            ++at;
        } else if (const std::size_t index = depth == 0 ? referenceAt(at, to) : 0) {
            line(at, depth, "pointer: reference to #" + std::to_string(index) + " " + shortName(m_objects[index - 1]));
            at += 3;
        } else {
            const std::size_t next = std::max(nextStructure(at, to), at + 1);
            bytes(at, next, depth);
            at = next;
        }
    }
}
