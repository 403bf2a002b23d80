#include "ui/gb2312_text.h"

#include <cerrno>
#include <iconv.h>

#include <QList>

#include <algorithm>
#include <vector>

namespace ui {
namespace {

// One iconv conversion descriptor for the length of one conversion.
class Converter {
public:
    Converter(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(descriptor_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `input`. Where iconv meets a sequence it cannot convert, `replacement` is written
    // and `skip` bytes are passed over, or the rest of the input when fewer remain.
    std::string convert(std::string_view input, std::string_view replacement, std::size_t skip) {
        std::string output;
        std::vector<char> buffer(4 * input.size() + 16);
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        while (inLeft > 0) {
            char* out = buffer.data();
            std::size_t outLeft = buffer.size();
            const std::size_t result = iconv(descriptor_, &in, &inLeft, &out, &outLeft);
            const int error = errno;
            output.append(buffer.data(), buffer.size() - outLeft);
            if (result != static_cast<std::size_t>(-1))
                break;
            if (error == E2BIG)
                continue;
            // EILSEQ (no such character) or EINVAL (the input ends inside a character).
            output.append(replacement);
            const std::size_t step = std::min(skip, inLeft);
            in += step;
            inLeft -= step;
        }
        return output;
    }

private:
    iconv_t descriptor_;
};

} // namespace

std::string toGb2312(const QString& text) {
    // UTF-32 gives every character, lone surrogates included (toUcs4 makes them U+FFFD), the same four
    // bytes, so an unconvertible character is skipped exactly.
    const QList<uint> codePoints = text.toUcs4();
    std::string utf32(codePoints.size() * 4, '\0');
    for (qsizetype i = 0; i < codePoints.size(); ++i) {
        const uint c = codePoints[i];
        utf32[4 * i + 0] = static_cast<char>(c & 0xFF);
        utf32[4 * i + 1] = static_cast<char>((c >> 8) & 0xFF);
        utf32[4 * i + 2] = static_cast<char>((c >> 16) & 0xFF);
        utf32[4 * i + 3] = static_cast<char>((c >> 24) & 0xFF);
    }
    Converter converter("GBK", "UTF-32LE");
    if (converter.valid())
        return converter.convert(utf32, "?", 4);
    // Without the system's GBK tables only ASCII, which GBK shares, can be given its bytes.
    std::string ascii;
    for (const uint c : codePoints)
        ascii.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return ascii;
}

QString fromGb2312(std::string_view text) {
    Converter converter("UTF-8", "GBK");
    if (!converter.valid()) {
        QString ascii;
        for (const char c : text)
            ascii.append(static_cast<unsigned char>(c) < 0x80 ? QChar(c) : QChar('?'));
        return ascii;
    }
    // A bad byte is passed over alone, so that a stray lead byte does not swallow the character after it.
    const std::string utf8 = converter.convert(text, "?", 1);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace ui
