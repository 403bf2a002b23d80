// corvalen_draw_resources: paints the program's pictures and writes them into a resources directory.
//
//   corvalen_draw_resources --font /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
//                           --serif-font /usr/share/fonts/opentype/noto/NotoSerifCJK-Regular.ttc
//                           <resources-dir>
//
// writes <resources-dir>/start_button.jpg, <resources-dir>/corvalen.ico,
// <resources-dir>/icons/<size>/corvalen.png and the two pictures of the window's picture boxes,
// <resources-dir>/vessel_drawing.gif and <resources-dir>/symbol_legend.gif. The same inputs always give the
// same bytes.

#include <cstdio>
#include <cstdlib>

#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMovie>
#include <QSaveFile>

#include "gif_file.h"
#include "ico_file.h"
#include "jpeg_file.h"
#include "palette.h"
#include "pinwheel_icon.h"
#include "png_file.h"
#include "start_button.h"
#include "symbol_legend.h"
#include "vessel_drawing.h"

namespace {

using corvalen::tools::IconImage;

// The caption's face. The font file holds every Noto Sans CJK region; the Simplified Chinese one draws the
// caption's characters in their mainland forms.
const QString kCaptionFamily = QStringLiteral("Noto Sans CJK SC");

// The face of the two picture-box pictures: a Song-style (Ming) face for the Chinese text of the legend,
// whose Latin glyphs give the serif letters of the legend and the drawing.
const QString kSongFamily = QStringLiteral("Noto Serif CJK SC");

// Black, white and 14 greys between them smooth the pictures' lines and letters finely enough, and keep the
// GIF codes 5 bits wide at first.
constexpr int kPictureGreys = 16;

// Quantisation of the start-button picture, as a percentage of the standard tables (libjpeg quality 95.5):
// fine enough for a crisp caption on the smooth gradient, and a file of about 7.5 KB.
constexpr int kStartButtonTableScale = 9;

constexpr int kDesktopIconSizes[] = {16, 32, 48, 64, 128, 256};
constexpr int kIcoDibSizes[] = {16, 32, 48};

[[noreturn]] void fail(const QString& message) {
    std::fprintf(stderr, "corvalen_draw_resources: %s\n", qPrintable(message));
    std::exit(EXIT_FAILURE);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    }
    std::printf("%8lld  %s\n", static_cast<long long>(bytes.size()),
                qPrintable(QDir::current().relativeFilePath(path)));
}

QFont loadFace(const QString& fontFile, const QString& family) {
    // Loading by path, rather than asking fontconfig for the family, keeps the picture independent of the
    // fonts installed and configured on the machine that runs the generator.
    const int id = QFontDatabase::addApplicationFont(fontFile);
    if (id < 0) {
        fail(QStringLiteral("cannot load the font file %1").arg(fontFile));
    }
    if (!QFontDatabase::applicationFontFamilies(id).contains(family)) {
        fail(QStringLiteral("%1 has no face %2").arg(fontFile, family));
    }
    QFont font(family);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferOutline));
    if (QFontInfo(font).family() != family) {
        fail(QStringLiteral("the face %1 could not be selected").arg(family));
    }
    return font;
}

// Reduces `picture` to greys, encodes it as GIF and, before writing, reads the file back with Qt's own GIF
// decoder, the one the program shows it with: it must find one frame of the picture's size whose every pixel
// is the grey that was encoded.
void writeGif(const QString& path, const QImage& picture) {
    const QImage greys = corvalen::tools::reduceToGreys(picture, kPictureGreys);
    const QByteArray bytes = corvalen::tools::encodeGif89a(greys);

    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "gif");
    const int frames = reader.imageCount();
    const QImage decoded = reader.read();
    if (frames != 1 || decoded.isNull() || decoded.size() != greys.size()) {
        fail(QStringLiteral("Qt does not read %1 back as one frame of %2 x %3 pixels: %4")
                 .arg(path)
                 .arg(greys.width())
                 .arg(greys.height())
                 .arg(reader.errorString()));
    }
    for (int y = 0; y < greys.height(); ++y) {
        for (int x = 0; x < greys.width(); ++x) {
            if ((decoded.pixel(x, y) & 0xffffffu) != (greys.pixel(x, y) & 0xffffffu)) {
                fail(QStringLiteral("Qt reads pixel (%1, %2) of %3 back wrongly").arg(x).arg(y).arg(path));
            }
        }
    }
    QBuffer movieBuffer;
    movieBuffer.setData(bytes);
    QMovie movie(&movieBuffer, "gif");
    if (!movie.isValid() || movie.frameCount() != 1) {
        fail(QStringLiteral("QMovie does not see %1 as a single frame").arg(path));
    }
    writeFile(path, bytes);
}

} // namespace

int main(int argc, char* argv[]) {
    // The generator never opens a window; the offscreen platform lets it run without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Paints Corvalen's start-button picture, program icon and picture-box pictures."));
    parser.addHelpOption();
    const QCommandLineOption fontOption(QStringLiteral("font"),
                                        QStringLiteral("Font file holding Noto Sans CJK SC."),
                                        QStringLiteral("file"));
    parser.addOption(fontOption);
    const QCommandLineOption serifFontOption(QStringLiteral("serif-font"),
                                             QStringLiteral("Font file holding Noto Serif CJK SC."),
                                             QStringLiteral("file"));
    parser.addOption(serifFontOption);
    parser.addPositionalArgument(QStringLiteral("resources-dir"), QStringLiteral("Directory to write into."));
    parser.process(app);
    if (!parser.isSet(fontOption) || !parser.isSet(serifFontOption) ||
        parser.positionalArguments().size() != 1) {
        parser.showHelp(EXIT_FAILURE);
    }
    const QDir out(parser.positionalArguments().first());
    if (!out.mkpath(QStringLiteral("."))) {
        fail(QStringLiteral("cannot create %1").arg(out.path()));
    }

    const QImage button =
        corvalen::tools::drawStartButton(loadFace(parser.value(fontOption), kCaptionFamily));
    writeFile(out.filePath(QStringLiteral("start_button.jpg")),
              corvalen::tools::encodeBaselineJpeg(button, kStartButtonTableScale));

    QList<IconImage> icoImages;
    for (IconImage::Storage storage : {IconImage::Storage::Palette256, IconImage::Storage::Bgra32}) {
        for (int size : kIcoDibSizes) {
            icoImages.push_back({corvalen::tools::drawPinwheelIcon(size), storage});
        }
    }
    icoImages.push_back({corvalen::tools::drawPinwheelIcon(256), IconImage::Storage::Png});
    writeFile(out.filePath(QStringLiteral("corvalen.ico")), corvalen::tools::encodeIco(icoImages));

    for (int size : kDesktopIconSizes) {
        const QString dir = QStringLiteral("icons/%1").arg(size);
        if (!out.mkpath(dir)) {
            fail(QStringLiteral("cannot create %1").arg(out.filePath(dir)));
        }
        writeFile(out.filePath(dir + QStringLiteral("/corvalen.png")),
                  corvalen::tools::encodePng(corvalen::tools::drawPinwheelIcon(size)));
    }

    const QFont song = loadFace(parser.value(serifFontOption), kSongFamily);
    writeGif(out.filePath(QStringLiteral("vessel_drawing.gif")), corvalen::tools::drawVesselDrawing(song));
    writeGif(out.filePath(QStringLiteral("symbol_legend.gif")), corvalen::tools::drawSymbolLegend(song));
    return EXIT_SUCCESS;
}
