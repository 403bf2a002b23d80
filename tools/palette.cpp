#include "palette.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

namespace corvalen::tools {
namespace {

// Pixels on a round outline that are only about half covered would stand out as single-pixel bumps at the
// four compass points of a disc; they become transparent, and so does anything less than 5/8 covered.
constexpr int kOpaqueAlpha = 160;

struct ColourCount {
    QRgb colour;
    qint64 count;
};

using Box = std::vector<ColourCount>;

int channel(QRgb colour, int which) {
    switch (which) {
    case 0:
        return qRed(colour);
    case 1:
        return qGreen(colour);
    default:
        return qBlue(colour);
    }
}

// The channel with the widest spread in the box and that spread.
std::pair<int, int> widestChannel(const Box& box) {
    int best = 0;
    int bestSpread = -1;
    for (int which = 0; which < 3; ++which) {
        const auto [low, high] = std::minmax_element(box.begin(), box.end(), [which](auto a, auto b) {
            return channel(a.colour, which) < channel(b.colour, which);
        });
        const int spread = channel(high->colour, which) - channel(low->colour, which);
        if (spread > bestSpread) {
            best = which;
            bestSpread = spread;
        }
    }
    return {best, bestSpread};
}

QRgb meanColour(const Box& box) {
    double red = 0;
    double green = 0;
    double blue = 0;
    double total = 0;
    for (const ColourCount& entry : box) {
        red += qRed(entry.colour) * static_cast<double>(entry.count);
        green += qGreen(entry.colour) * static_cast<double>(entry.count);
        blue += qBlue(entry.colour) * static_cast<double>(entry.count);
        total += static_cast<double>(entry.count);
    }
    return qRgb(static_cast<int>(std::lround(red / total)), static_cast<int>(std::lround(green / total)),
                static_cast<int>(std::lround(blue / total)));
}

std::vector<QRgb> medianCut(Box colours, std::size_t wanted) {
    std::vector<Box> boxes;
    boxes.push_back(std::move(colours));
    while (boxes.size() < wanted) {
        // Split the box with the widest spread; ties go to the earlier box, which keeps the result
        // independent of anything but the picture.
        std::size_t chosen = 0;
        int chosenChannel = 0;
        int chosenSpread = -1;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].size() < 2) {
                continue;
            }
            const auto [which, spread] = widestChannel(boxes[i]);
            if (spread > chosenSpread) {
                chosen = i;
                chosenChannel = which;
                chosenSpread = spread;
            }
        }
        if (chosenSpread <= 0) {
            break;
        }
        Box& box = boxes[chosen];
        std::stable_sort(box.begin(), box.end(), [chosenChannel](auto a, auto b) {
            return channel(a.colour, chosenChannel) < channel(b.colour, chosenChannel);
        });
        // Cut where half of the box's pixels lie on each side, but never leave either half empty.
        qint64 total = 0;
        for (const ColourCount& entry : box) {
            total += entry.count;
        }
        qint64 running = 0;
        std::size_t cut = 1;
        for (; cut < box.size() - 1; ++cut) {
            running += box[cut - 1].count;
            if (2 * running >= total) {
                break;
            }
        }
        Box upper(box.begin() + static_cast<std::ptrdiff_t>(cut), box.end());
        box.erase(box.begin() + static_cast<std::ptrdiff_t>(cut), box.end());
        boxes.push_back(std::move(upper));
    }
    std::vector<QRgb> palette;
    for (const Box& box : boxes) {
        palette.push_back(meanColour(box));
    }
    return palette;
}

int distanceSquared(QRgb a, QRgb b) {
    const int red = qRed(a) - qRed(b);
    const int green = qGreen(a) - qGreen(b);
    const int blue = qBlue(a) - qBlue(b);
    return red * red + green * green + blue * blue;
}

} // namespace

PalettedImage reduceTo256Colours(const QImage& image) {
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    PalettedImage result;
    result.width = source.width();
    result.height = source.height();

    std::map<QRgb, qint64> histogram; // ordered, so the palette does not depend on hashing
    for (int y = 0; y < source.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            if (qAlpha(row[x]) >= kOpaqueAlpha) {
                ++histogram[row[x] | 0xff000000u];
            }
        }
    }
    Box colours;
    for (const auto& [colour, count] : histogram) {
        colours.push_back({colour, count});
    }
    const std::vector<QRgb> chosen = colours.size() <= 255
                                         ? [&] {
                                               std::vector<QRgb> exact;
                                               for (const ColourCount& entry : colours) {
                                                   exact.push_back(entry.colour);
                                               }
                                               return exact;
                                           }()
                                         : medianCut(colours, 255);

    result.palette.push_back(qRgb(0, 0, 0));
    for (QRgb colour : chosen) {
        result.palette.push_back(colour);
    }

    std::map<QRgb, uchar> nearest;
    for (int y = 0; y < source.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            if (qAlpha(row[x]) < kOpaqueAlpha) {
                result.indices.push_back(0);
                result.transparent.push_back(true);
                continue;
            }
            const QRgb colour = row[x] | 0xff000000u;
            auto found = nearest.find(colour);
            if (found == nearest.end()) {
                int bestIndex = 1;
                for (int i = 2; i < result.palette.size(); ++i) {
                    if (distanceSquared(colour, result.palette[i]) <
                        distanceSquared(colour, result.palette[bestIndex])) {
                        bestIndex = i;
                    }
                }
                found = nearest.emplace(colour, static_cast<uchar>(bestIndex)).first;
            }
            result.indices.push_back(found->second);
            result.transparent.push_back(false);
        }
    }
    return result;
}

QImage reduceToGreys(const QImage& image, int levels) {
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    QImage result(source.size(), QImage::Format_Indexed8);
    QList<QRgb> greys;
    for (int i = 0; i < levels; ++i) {
        const int value = static_cast<int>(std::lround(255.0 * i / (levels - 1)));
        greys.push_back(qRgb(value, value, value));
    }
    result.setColorTable(greys);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uchar* out = result.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            out[x] = static_cast<uchar>(std::lround(qGray(in[x]) * (levels - 1) / 255.0));
        }
    }
    return result;
}

} // namespace corvalen::tools
