#include "gif_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace corvalen::tools {
namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kCodeLimit = 1 << kMaxCodeBits; // codes are 0..4095
constexpr int kMaxSubBlock = 255;

void putU8(QByteArray& out, int value) {
    out.append(static_cast<char>(value & 0xff));
}

void putU16(QByteArray& out, int value) {
    putU8(out, value);
    putU8(out, value >> 8);
}

[[noreturn]] void fail(const char* message) {
    std::fprintf(stderr, "corvalen_draw_resources: cannot encode GIF: %s\n", message);
    std::exit(EXIT_FAILURE);
}

// Collects codes of varying width least significant bit first, and cuts the bytes into sub-blocks.
class CodeWriter {
public:
    void put(int code, int width) {
        pending_ |= static_cast<quint32>(code) << pendingBits_;
        pendingBits_ += width;
        while (pendingBits_ >= 8) {
            putU8(bytes_, static_cast<int>(pending_ & 0xff));
            pending_ >>= 8;
            pendingBits_ -= 8;
        }
    }

    // Flushes the last partial byte (its unused high bits are zero) and appends the sub-blocks and the
    // empty sub-block that ends them.
    void finish(QByteArray& out) {
        if (pendingBits_ > 0) {
            putU8(bytes_, static_cast<int>(pending_ & 0xff));
            pending_ = 0;
            pendingBits_ = 0;
        }
        for (qsizetype start = 0; start < bytes_.size(); start += kMaxSubBlock) {
            const qsizetype length = std::min<qsizetype>(kMaxSubBlock, bytes_.size() - start);
            putU8(out, static_cast<int>(length));
            out.append(bytes_.mid(start, length));
        }
        putU8(out, 0);
    }

private:
    QByteArray bytes_;
    quint32 pending_ = 0;
    int pendingBits_ = 0;
};

// The LZW code stream of `pixels`, whose values are all below 2^minCodeSize.
void putLzwData(QByteArray& out, const std::vector<int>& pixels, int minCodeSize) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    const int alphabet = clearCode;

    // The string table as a trie: child[code * alphabet + pixel] is the code of the string `code` followed
    // by `pixel`, or 0 for none (no string ever gets code 0, which is a single pixel's own code).
    std::vector<int> child(static_cast<std::size_t>(kCodeLimit) * static_cast<std::size_t>(alphabet), 0);
    int nextCode = 0;
    int width = 0;
    const auto restart = [&] {
        std::fill(child.begin(), child.end(), 0);
        nextCode = clearCode + 2;
        width = minCodeSize + 1;
    };

    CodeWriter writer;
    restart();
    writer.put(clearCode, width);
    int prefix = pixels.front();
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        const int pixel = pixels[i];
        int& extension = child[static_cast<std::size_t>(prefix) * static_cast<std::size_t>(alphabet) +
                               static_cast<std::size_t>(pixel)];
        if (extension != 0) {
            prefix = extension;
            continue;
        }
        writer.put(prefix, width);
        extension = nextCode++;
        // The decoder adds each string one code later than the encoder, so it reads the next code with one
        // bit more only once the encoder's next free code has passed 2^width.
        if (nextCode > (1 << width) && width < kMaxCodeBits) {
            ++width;
        }
        if (nextCode == kCodeLimit) {
            writer.put(clearCode, width);
            restart();
        }
        prefix = pixel;
    }
    writer.put(prefix, width);
    // After that last code the decoder adds one more string; if its next free code then reaches 2^width it
    // reads the end code one bit wider.
    if (nextCode == (1 << width) && width < kMaxCodeBits) {
        ++width;
    }
    writer.put(endCode, width);

    putU8(out, minCodeSize);
    writer.finish(out);
}

} // namespace

QByteArray encodeGif89a(const QImage& image) {
    if (image.format() != QImage::Format_Indexed8) {
        fail("the image is not 8-bit indexed");
    }
    const QList<QRgb> colours = image.colorTable();
    if (colours.isEmpty() || colours.size() > 256) {
        fail("the colour table must hold 1 to 256 colours");
    }
    const int width = image.width();
    const int height = image.height();
    if (width < 1 || height < 1 || width > 65535 || height > 65535) {
        fail("the image size does not fit a GIF file");
    }

    int tableBits = 1;
    while ((1 << tableBits) < colours.size()) {
        ++tableBits;
    }
    const int tableSize = 1 << tableBits;

    std::vector<int> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            if (row[x] >= colours.size()) {
                fail("a pixel's index lies outside the colour table");
            }
            pixels.push_back(row[x]);
        }
    }

    QByteArray out("GIF89a");
    putU16(out, width);
    putU16(out, height);
    // Global colour table present (0x80), colour resolution and table size both tableBits - 1.
    putU8(out, 0x80 | (tableBits - 1) << 4 | (tableBits - 1));
    putU8(out, 0); // background colour index
    putU8(out, 0); // pixel aspect ratio: no information
    for (int i = 0; i < tableSize; ++i) {
        const QRgb colour = i < colours.size() ? colours[i] : qRgb(0, 0, 0);
        putU8(out, qRed(colour));
        putU8(out, qGreen(colour));
        putU8(out, qBlue(colour));
    }

    putU8(out, 0x2c);
    putU16(out, 0);
    putU16(out, 0);
    putU16(out, width);
    putU16(out, height);
    putU8(out, 0);
    // A 2-colour table still needs minimum code size 2: GIF reserves code sizes 0 and 1.
    putLzwData(out, pixels, std::max(2, tableBits));

    putU8(out, 0x3b);
    return out;
}

} // namespace corvalen::tools
