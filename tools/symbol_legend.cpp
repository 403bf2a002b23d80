#include "symbol_legend.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include <QPainter>

#include "text_outline.h"

namespace corvalen::tools {
namespace {

constexpr int kWidth = 310;
constexpr int kHeight = 190;

// The longest explanation, 椭圆墙头内高度（不包括直边高度）（m）, is eighteen full-width characters and an m,
// 18.3 em; set at 14.8 pixels to the em it ends at x = 306 and so fits the picture's 310 pixels with a
// margin.
constexpr double kEmPixels = 14.8;

constexpr double kSymbolLeft = 6.0;
constexpr double kSymbolRight = 19.0; // the symbols' ink ends by column 18
constexpr double kExplanationLeft = 36.0;

// Subscripts and the raised 3, in ems of the row's size. At 0.6 em (8.9 pixels) the dot of the subscript
// i still stands apart from its stem; the subscript h and the 3 need no such room and take 0.55 em, which
// lets V_h stay narrow. Thickened by 0.016 em (0.24 pixels), the scaled-down stems are about as dark as
// those of the full-size letters.
constexpr double kIndexSize = 0.6;
constexpr double kSmallIndexSize = 0.55;
constexpr double kSubscriptRise = -0.14;
constexpr double kSuperscriptRise = 0.5;
constexpr double kIndexWeight = 0.016;
// The Song face's hairlines are thinner than a pixel at this size; a tenth of a pixel more weight keeps
// them from fading to pale grey without filling the counters of the denser characters.
constexpr double kTextWeight = 0.006;
// The subscript h of V_h moves under the V's right arm, leaving a pixel of white between them.
constexpr double kTuckUnderV = -0.1;

// The ideographs and full-width parentheses, with their added weight, reach 12.64 pixels above the
// baseline and 1.35 below it: 13.99 pixels, which fit in 14 pixel rows only when the baseline lies about
// 0.65 pixels into a row. Every row keeps that phase, so the same glyph looks the same in every row.
constexpr double kBaselinePhase = 0.65;

struct Row {
    QList<TextRun> symbol;
    QList<TextRun> explanation;
    int inkTop; // pixel rows, inclusive
    int inkBottom;
};

TextRun subscript(const QString& text, double size, double shift = 0.0) {
    return {text, size, kSubscriptRise, shift, kIndexWeight};
}

TextRun plain(const QString& text) {
    return {text, 1.0, 0.0, 0.0, kTextWeight};
}

TextRun superscript(const QString& text) {
    return {text, kSmallIndexSize, kSuperscriptRise, 0.0, kIndexWeight};
}

QList<Row> rows() {
    const QList<TextRun> cubicMetres{plain(QStringLiteral("（m")), superscript(QStringLiteral("3")),
                                     plain(QStringLiteral("）"))};
    const QList<TextRun> metres{plain(QStringLiteral("（m）"))};
    const auto explained = [](const QString& text, const QList<TextRun>& unit) {
        return QList<TextRun>{plain(text)} + unit;
    };
    return {
        {{plain(QStringLiteral("V")), subscript(QStringLiteral("h"), kSmallIndexSize, kTuckUnderV)},
         explained(QStringLiteral("对应h高度贮槽体积"), cubicMetres),
         2,
         18},
        {{plain(QStringLiteral("V"))}, explained(QStringLiteral("贮槽总体积"), cubicMetres), 37, 52},
        {{plain(QStringLiteral("h"))}, explained(QStringLiteral("液面高度"), metres), 71, 84},
        {{plain(QStringLiteral("h")), subscript(QStringLiteral("i"), kIndexSize)},
         explained(QStringLiteral("椭圆墙头内高度（不包括直边高度）"), metres),
         101,
         116},
        {{plain(QStringLiteral("r"))}, explained(QStringLiteral("贮槽内半径"), metres), 136, 149},
        {{plain(QStringLiteral("L"))}, explained(QStringLiteral("贮槽圆柱体部分长度"), metres), 168, 181},
    };
}

[[noreturn]] void fail(const char* what, const Row& row) {
    std::fprintf(stderr, "corvalen_draw_resources: the legend row at rows %d..%d: %s\n", row.inkTop,
                 row.inkBottom, what);
    std::exit(EXIT_FAILURE);
}

// Of the baselines with the common phase whose row ink lies within the row's pixel rows, the one that
// centres the ink best; nothing if none fits. `ink` is the row's ink with its baseline on y = 0.
std::optional<double> baselineFor(const QRectF& ink, const Row& row) {
    const double top = row.inkTop;
    const double bottom = row.inkBottom + 1.0;
    const double centred = (top + bottom) / 2.0 - ink.center().y();
    std::optional<double> best;
    for (int whole = static_cast<int>(std::floor(centred)) - 2; whole <= std::floor(centred) + 2; ++whole) {
        const double baseline = whole + kBaselinePhase;
        if (baseline + ink.top() < top || baseline + ink.bottom() > bottom) {
            continue;
        }
        if (!best || std::abs(baseline - centred) < std::abs(*best - centred)) {
            best = baseline;
        }
    }
    return best;
}

} // namespace

QImage drawSymbolLegend(const QFont& songFace) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Row& row : rows()) {
        TextLine symbol(songFace, kEmPixels, row.symbol);
        TextLine explanation(songFace, kEmPixels, row.explanation);
        const QRectF symbolInk = symbol.ink();
        const QRectF explanationInk = explanation.ink();
        // A symbol wider than its column is condensed to fit, by at most a tenth, as a compositor would
        // set a narrow V: V_h is the only one, V and its subscript being 1.3 pixels wider than the column.
        const double condensed = std::min(1.0, (kSymbolRight - kSymbolLeft) / symbolInk.width());
        if (condensed < 0.9) {
            fail("the symbol is too wide", row);
        }
        if (kExplanationLeft + explanationInk.width() > kWidth) {
            fail("the explanation is too long", row);
        }
        const std::optional<double> baseline = baselineFor(symbolInk.united(explanationInk), row);
        if (!baseline) {
            fail("the text does not fit between its rows", row);
        }
        symbol.transform(QTransform::fromTranslate(-symbolInk.left(), 0.0) *
                         QTransform::fromScale(condensed, 1.0) *
                         QTransform::fromTranslate(kSymbolLeft, *baseline));
        explanation.transform(QTransform::fromTranslate(kExplanationLeft - explanationInk.left(), *baseline));
        symbol.paint(painter, Qt::black);
        explanation.paint(painter, Qt::black);
    }
    return image;
}

} // namespace corvalen::tools
