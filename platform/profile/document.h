#pragma once

#include "platform/profile/encoding.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace profile {

// The contents of one profile file, read by the rules of the Windows profile functions: lines end at
// CRLF, LF or a lone CR; "[section]" lines open sections, "key=value" lines inside them hold values,
// lines beginning with ";" are comments. Names match without regard to case; where a section or a key
// occurs twice the first counts.
//
// Each line keeps the bytes it was read from, so an edit rewrites only the line it changes (or adds)
// and every other byte of the file is written back as it was.
class Document {
public:
    // An empty document: a new file, written as UTF-16LE with a byte-order mark and CRLF line ends,
    // the one Unicode form that Windows itself reads back. An empty file is taken the same way.
    Document();
    explicit Document(std::string_view bytes);

    // The value with its surrounding blanks and one pair of enclosing quotes removed.
    std::optional<std::u16string> value(std::u16string_view section, std::u16string_view key) const;

    // Replaces the key's value in place, or adds the key at the end of its section, or the section at
    // the end of the file. Refuses (returns false, changes nothing) names and values that would not
    // read back as written: line breaks anywhere, "]" in a section name, "=" in a key or a key that
    // would read as a comment or a section. A file of undecodable encoding takes no edit at all.
    bool setValue(std::u16string_view section, std::u16string_view key, std::u16string_view value);

    // The file's bytes in its own encoding; a GBK file whose new text needs characters GBK lacks is
    // written as GB18030. Nothing when the text cannot be encoded at all (an unpaired surrogate).
    std::optional<std::string> bytes() const;

    Encoding encoding() const { return encoding_; }

private:
    struct Line {
        std::u16string text;            // without its line end
        std::u16string end;             // "\r\n", "\n", "\r" or empty for a last line without one
        std::optional<std::string> raw; // the bytes `text` came from, until the line is edited
    };

    std::optional<std::size_t> findSection(std::u16string_view section) const;
    std::size_t sectionEnd(std::size_t header) const;
    std::optional<std::size_t> findKey(std::size_t header, std::u16string_view key) const;
    void insertLine(std::size_t at, std::u16string text);

    Encoding encoding_;
    std::vector<Line> lines_;
    std::u16string lineEnd_; // for new lines: the file's first line end, CRLF if it has none
};

} // namespace profile
