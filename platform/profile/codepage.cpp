#include "platform/profile/codepage.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>

namespace profile::codepage {
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

std::u16string fromUtf16Le(const std::string& bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = char16_t(std::uint8_t(bytes[2 * i]) | std::uint8_t(bytes[2 * i + 1]) << 8);
    return text;
}

std::string toUtf16Le(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t unit : text) {
        bytes += char(unit & 0xFF);
        bytes += char(unit >> 8);
    }
    return bytes;
}

} // namespace

std::optional<std::u16string> decode(std::string_view bytes, Encoding encoding, bool strict) {
    std::string utf16;
    if (!Converter("UTF-16LE", iconvName(encoding)).run(bytes, utf16, strict, "\xFD\xFF"))
        return std::nullopt;
    return fromUtf16Le(utf16);
}

std::optional<std::string> encode(std::u16string_view text, Encoding encoding) {
    std::string out;
    if (!Converter(iconvName(encoding), "UTF-16LE").run(toUtf16Le(text), out, true, {}))
        return std::nullopt;
    return out;
}

} // namespace profile::codepage
