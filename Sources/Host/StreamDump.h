#pragma once
// Prints the structure of an object stream without knowing the classes in it: frames with their class names,
// byte positions and lengths, pointers and back-references, and the bytes between them summarised. A frame's
// end is found by its suffix (marker, length and name), as a reader skips an unknown class. Malformed frames
// raise the stream exceptions.

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <unordered_map>
#include <vector>

class StreamDump {
public:
    // `base` is the file offset of the first byte, for the positions printed.
    StreamDump(const std::vector<unsigned char>& data, std::size_t base, std::ostream& out);

    // Prints the dump; returns the number of object frames found (none: the data is no object stream).
    std::size_t run();

private:
    struct Name {
        bool present = false;
        std::string text;
        std::size_t end = 0; // the first byte after the string
    };

    void sequence(std::size_t from, std::size_t to, int depth);
    std::size_t frame(std::size_t at, int depth);
    std::size_t frameEnd(std::size_t start, const Name& name, int depth) const;
    std::size_t referenceAt(std::size_t at, std::size_t to) const;
    std::optional<Name> readName(std::size_t at) const;
    Name prefixName(std::size_t frameStart) const;
    bool markerAt(std::size_t at, const unsigned char (&marker)[4]) const;
    bool newFrameAt(std::size_t at) const;
    std::size_t nextStructure(std::size_t from, std::size_t to) const;
    void bytes(std::size_t from, std::size_t to, int depth);
    void line(std::size_t at, int depth, const std::string& text);

    const std::vector<unsigned char>& m_data;
    std::size_t m_base;
    std::ostream& m_out;
    std::vector<std::string> m_objects; // class names by index, as a reader numbers them
    std::size_t m_frames = 0;
    // The end of every frame found, by its start: each is searched once, so a dump takes time in proportion to
    // the data however deeply its frames nest.
    mutable std::unordered_map<std::size_t, std::size_t> m_frameEnds;
};
