#include "platform/profile/encoding.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>

namespace profile {
namespace {

// The code page names glibc's iconv knows; CP936 rather than GBK because it maps 0x80 to the euro sign
// as Windows does.
const char* iconvName(Encoding encoding) {
    switch (encoding) {
    case Encoding::Gbk:
    case Encoding::Undecodable:
        return "CP936";
    case Encoding::Gb18030:
        return "GB18030";
    default:
        return "UTF-8";
    }
}

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of `in`. Strict: false at the first sequence that does not convert. Lenient: such a
    // sequence gives `replacement` and the conversion goes on after its first byte.
    bool run(std::string_view in, std::string& out, bool strict, std::string_view replacement) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        std::string buffer(in.size() * 2 + 16, '\0');
        while (inLeft > 0) {
            char* outPtr = buffer.data();
            std::size_t outLeft = buffer.size();
            const std::size_t done = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer.data(), buffer.size() - outLeft);
            if (done != std::size_t(-1) || errno == E2BIG)
                continue;
            if (strict)
                return false;
            out.append(replacement);
            ++inPtr;
            --inLeft;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return true;
    }

private:
    iconv_t cd_;
};

bool isUtf16(Encoding encoding) {
    return encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be;
}

// UTF-16 of either byte order; a lone last byte is passed over.
std::u16string fromUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const std::uint8_t first = std::uint8_t(bytes[i]), second = std::uint8_t(bytes[i + 1]);
        text += bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
    }
    return text;
}

std::string toUtf16(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t unit : text) {
        const char low = char(unit & 0xFF), high = char(unit >> 8);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

bool isValid(std::string_view bytes, Encoding encoding) {
    std::string ignored;
    return Converter("UTF-16LE", iconvName(encoding)).run(bytes, ignored, true, {});
}

} // namespace

Encoding detectEncoding(std::string_view bytes) {
    for (Encoding marked : {Encoding::Utf16Le, Encoding::Utf16Be, Encoding::Utf8Bom})
        if (bytes.starts_with(byteOrderMark(marked)))
            return marked;
    if (bytes.find('\0') != std::string_view::npos)
        return Encoding::Undecodable;
    for (Encoding plain : {Encoding::Utf8, Encoding::Gbk, Encoding::Gb18030})
        if (isValid(bytes, plain))
            return plain;
    return Encoding::Gbk;
}

std::string_view byteOrderMark(Encoding encoding) {
    switch (encoding) {
    case Encoding::Utf16Le:
        return "\xFF\xFE";
    case Encoding::Utf16Be:
        return "\xFE\xFF";
    case Encoding::Utf8Bom:
        return "\xEF\xBB\xBF";
    default:
        return {};
    }
}

std::size_t unitSize(Encoding encoding) {
    return isUtf16(encoding) ? 2 : 1;
}

bool isCharacter(std::string_view bytes, std::size_t at, char c, Encoding encoding) {
    switch (encoding) {
    case Encoding::Utf16Le:
        return bytes[at] == c && bytes[at + 1] == '\0';
    case Encoding::Utf16Be:
        return bytes[at] == '\0' && bytes[at + 1] == c;
    default:
        return bytes[at] == c;
    }
}

std::u16string decode(std::string_view bytes, Encoding encoding) {
    if (isUtf16(encoding))
        return fromUtf16(bytes, encoding == Encoding::Utf16Be);
    std::string utf16;
    Converter("UTF-16LE", iconvName(encoding)).run(bytes, utf16, false, "\xFD\xFF");
    return fromUtf16(utf16, false);
}

std::optional<std::string> encode(std::u16string_view text, Encoding encoding) {
    if (isUtf16(encoding))
        return toUtf16(text, encoding == Encoding::Utf16Be);
    std::string out;
    if (!Converter(iconvName(encoding), "UTF-16LE").run(toUtf16(text, false), out, true, {}))
        return std::nullopt;
    return out;
}

} // namespace profile
